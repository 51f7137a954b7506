#include "hostkit/frame/frame_parts.h"

#include <gtest/gtest.h>

#include <vector>

namespace kx::hostkit {
namespace {

// Every metric different, so that a swapped one shows.
constexpr FrameMetrics kMetrics = {
    /*caption*/ 19,      /*frame_x*/ 4,       /*frame_y*/ 5,
    /*small_icon_x*/ 16, /*small_icon_y*/ 14, /*menu*/ 20,
    /*size_x*/ 20,       /*size_y*/ 17};

struct Expected {
  int part;
  Rect rect;
};

void ExpectRects(const FrameParts& parts, const std::vector<Expected>& table) {
  for (const Expected& e : table) {
    const Rect& r = parts.part(e.part).rect;
    EXPECT_EQ(r, e.rect) << "part " << e.part << ": " << r.left << "," << r.top << "," << r.right
                         << "," << r.bottom;
  }
}

// The parts that do not depend on the button style (caption 19, frame 4 x 5,
// small icon 16 x 14, menu 20).
const std::vector<Expected> kFixedParts = {
    {kPartCaption, {4, 5, -5, 24}},
    {kPartIcon, {5, 7, 21, 21}},
    {kPartLeftBorder, {0, 5, 4, -6}},
    {kPartTopBorder, {0, 0, -1, 5}},
    {kPartRightBorder, {-5, 5, -1, -6}},
    {kPartBottomBorder, {0, -6, -1, -1}},
    {kPartTopLeft, {0, 0, 19, 24}},
    {kPartTopRight, {-23, 0, -1, 24}},
    {kPartBottomLeft, {0, -24, 19, -1}},
    {kPartBottomRight, {-23, -24, -1, -1}},
    {kPartDefault, {0, 0, 0, 0}},
    {5, {0, 0, 0, 0}},
    {18, {0, 0, 0, 0}},
};

TEST(FrameLayoutTest, ClassicButtonsAreSizedBySystemButtonMetrics) {
  FrameParts parts;
  parts.Layout(kMetrics, 0);
  ExpectRects(parts, kFixedParts);
  // Width size_x - 2 = 18, height size_y - 4 = 13.
  ExpectRects(parts, {{kPartMinimize, {-63, 7, -45, 20}},
                      {kPartMaximize, {-45, 7, -27, 20}},
                      {kPartRestore, {-45, 7, -27, 20}},
                      {kPartClose, {-25, 7, -7, 20}},
                      {kPartMenuStrip, {-100, 24, -5, 43}},
                      {kPartTitle, {24, 5, -67, 24}},
                      {kPartTitleShadow, {25, 6, -66, 25}}});
}

TEST(FrameLayoutTest, ThemedButtonsAreSixteenWide) {
  FrameParts parts;
  parts.Layout(kMetrics, kModeThemed);
  ExpectRects(parts, kFixedParts);
  ExpectRects(parts, {{kPartMinimize, {-57, 7, -41, 20}},
                      {kPartMaximize, {-41, 7, -25, 20}},
                      {kPartClose, {-23, 7, -7, 20}},
                      {kPartMenuStrip, {-90, 24, -5, 43}},
                      {kPartTitle, {24, 5, -61, 24}}});
}

TEST(FrameLayoutTest, SquareButtonsFollowTheCaptionHeight) {
  FrameParts parts;
  parts.Layout(kMetrics, kModeSquareButtons | kModeThemed);
  ExpectRects(parts, kFixedParts);
  // 15 x 15, columns counted in caption heights from the right border.
  ExpectRects(parts, {{kPartMinimize, {-56, 7, -41, 22}},
                      {kPartMaximize, {-39, 7, -24, 22}},
                      {kPartClose, {-22, 7, -7, 22}},
                      {kPartMenuStrip, {-87, 24, -5, 43}},
                      {kPartTitle, {24, 5, -60, 24}},
                      {kPartTitleShadow, {25, 6, -59, 25}}});
}

TEST(FrameLayoutTest, MenuStripIsHiddenOnlyWhenAsked) {
  FrameParts parts;
  parts.Layout(kMetrics, 0);
  EXPECT_TRUE(parts.shown(kPartMenuStrip));
  parts.Layout(kMetrics, kModeHideMenuStrip);
  EXPECT_FALSE(parts.shown(kPartMenuStrip));
  for (int p = 0; p < kPartCount; ++p) {
    if (p != kPartMenuStrip) {
      EXPECT_TRUE(parts.shown(p)) << p;
    }
  }
  parts.Reset();
  EXPECT_TRUE(parts.shown(kPartMenuStrip));
  EXPECT_FALSE(parts.shown(kPartCount));
}

TEST(FrameLayoutTest, MaximisedFramePaintsRestoreAndNoBorders) {
  const FramePaintPlan normal = PlanFramePaint(false);
  EXPECT_EQ(normal.band,
            (std::vector<int>{kPartCaption, kPartIcon, kPartClose, kPartMaximize, kPartMinimize}));
  EXPECT_EQ(normal.direct, (std::vector<int>{kPartLeftBorder, kPartRightBorder, kPartTopBorder,
                                             kPartBottomBorder, kPartMenuStrip}));
  const FramePaintPlan maximised = PlanFramePaint(true);
  EXPECT_EQ(maximised.band,
            (std::vector<int>{kPartCaption, kPartIcon, kPartClose, kPartRestore, kPartMinimize}));
  EXPECT_EQ(maximised.direct, std::vector<int>{kPartMenuStrip});
  // A single maximise paint request is turned into restore too.
  EXPECT_EQ(PaintedPart(kPartMaximize, true), kPartRestore);
  EXPECT_EQ(PaintedPart(kPartMaximize, false), kPartMaximize);
  EXPECT_EQ(PaintedPart(kPartClose, true), kPartClose);
}

TEST(FrameRectTest, CoordinatesCountFromTheNearOrTheFarEdge) {
  const Rect window = {100, 200, 500, 600};
  EXPECT_EQ(ResolveRect({4, 5, -5, 24}, window), (Rect{104, 205, 496, 224}));
  EXPECT_EQ(ResolveRect({0, 0, -1, -1}, window), window);
  EXPECT_EQ(ResolveRect({-23, -24, -1, -1}, window), (Rect{478, 577, 500, 600}));
  // A window moved to the origin, as painting uses it.
  EXPECT_EQ(ResolveRect({-6, 0, -1, 0}, Rect{0, 0, 300, 200}), (Rect{295, 0, 300, 0}));
  FrameParts parts;
  parts.Layout(kMetrics, 0);
  EXPECT_EQ(parts.Resolve(kPartBottomBorder, window), (Rect{100, 595, 500, 600}));
  EXPECT_EQ(parts.Resolve(kPartCount, window), Rect{});
}

TEST(FrameHitTest, EveryPartAnswersItsPointInOrder) {
  FrameParts parts;
  parts.Layout(kMetrics, 0);
  const Rect window = {100, 200, 500, 600};
  const Rect client_and_menu = {104, 224, 496, 595};
  struct Case {
    int x, y, part, code;
    const char* what;
  };
  const Case cases[] = {
      {440, 210, kPartMinimize, 8, "minimise"},
      {460, 210, kPartMaximize, 9, "maximise"},
      {480, 210, kPartClose, 20, "close, over the top-right corner"},
      {110, 210, kPartIcon, 3, "icon, over the top-left corner"},
      {300, 210, kPartCaption, 2, "caption"},
      {102, 210, kPartTopLeft, 13, "top-left corner over the left border"},
      {498, 210, kPartTopRight, 14, "top-right corner"},
      {102, 590, kPartBottomLeft, 16, "bottom-left corner"},
      {498, 590, kPartBottomRight, 17, "bottom-right corner"},
      {300, 202, kPartTopBorder, 12, "top border"},
      {300, 597, kPartBottomBorder, 15, "bottom border"},
      {101, 400, kPartLeftBorder, 10, "left border"},
      {498, 400, kPartRightBorder, 11, "right border"},
      {300, 400, 0, 0, "client area"},
      {300, 230, 0, 0, "menu bar"},
      {437, 210, kPartCaption, 2, "between title and minimise"},
      {500, 400, 0, 0, "just right of the window"},
      {50, 50, 0, 0, "far away"},
  };
  for (const Case& c : cases) {
    const int part = parts.HitPart(c.x, c.y, window, client_and_menu);
    EXPECT_EQ(part, c.part) << c.what;
    EXPECT_EQ(HitTestCode(part), c.code) << c.what;
  }
  // The menu strip and the title are drawn, never hit.
  EXPECT_EQ(HitTestCode(kPartMenuStrip), 0);
  EXPECT_EQ(HitTestCode(kPartTitle), 0);
  EXPECT_EQ(HitTestCode(kPartRestore), 9);
}

TEST(FrameLookTest, SettersCheckPartAndStateAndTouchOnlyTheirLook) {
  FrameParts parts;
  EXPECT_EQ(parts.SetLookColor(20, 0, 1), -1);
  EXPECT_EQ(parts.SetLookColor(-1, 0, 1), -1);
  EXPECT_EQ(parts.SetLookColor(1, 4, 1), -1);
  EXPECT_EQ(parts.SetLookColor(1, -1, 1), -1);
  EXPECT_EQ(parts.SetLookImage(20, 0, 1, 0), -1);
  EXPECT_EQ(parts.SetLookImage(1, 4, 1, 0), -1);

  EXPECT_EQ(parts.SetLookColor(19, 3, 0x123456), 0);
  const Look& look = parts.part(19).looks[3];
  EXPECT_EQ(look.flags, kLookColour);
  EXPECT_EQ(look.colour, 0x123456u);
  EXPECT_EQ(parts.part(19).looks[0].flags, 0u);

  // A negative image changes nothing, even its flags.
  EXPECT_EQ(parts.SetLookImage(19, 3, -1, kLookColour | kAlignRight), 0);
  EXPECT_EQ(look.flags, kLookColour);
  // An image keeps the colour unless the colour flag is given with it.
  EXPECT_EQ(parts.SetLookImage(19, 3, 2, kAlignRight), 0);
  EXPECT_EQ(look.flags, kLookColour | kLookImage | kAlignRight);
  EXPECT_EQ(look.image, 2);
  EXPECT_EQ(look.colour, 0x123456u);
  EXPECT_EQ(parts.SetLookImage(19, 3, 5, kLookColour), 0);
  EXPECT_EQ(look.flags, kLookImage | kAlignRight);
  EXPECT_EQ(look.image, 5);
  EXPECT_EQ(look.colour, 0u);
}

TEST(FrameLookTest, UnsetStatesFallBackToStateZeroThenToTheDefaultPart) {
  FrameParts parts;
  parts.SetLookColor(kPartDefault, 0, 0xDEFA17);
  parts.SetLookColor(kPartClose, 0, 0x0000AA);
  parts.SetLookColor(kPartClose, 2, 0x00BB00);
  EXPECT_EQ(parts.ChooseLook(kPartClose, 2).colour, 0x00BB00u);
  EXPECT_EQ(parts.ChooseLook(kPartClose, 3).colour, 0x0000AAu);  // hot never set
  EXPECT_EQ(parts.ChooseLook(kPartClose, 1).colour, 0x0000AAu);
  EXPECT_EQ(parts.ChooseLook(kPartCaption, 3).colour, 0xDEFA17u);  // nothing set
  EXPECT_EQ(parts.ChooseLook(kPartCaption, 0).colour, 0xDEFA17u);
  // The default part's own other states are not consulted by others.
  parts.SetLookColor(kPartDefault, 3, 0x333333);
  EXPECT_EQ(parts.ChooseLook(kPartCaption, 3).colour, 0xDEFA17u);
}

TEST(FrameLookTest, PaintStateOfANormalRequestFollowsTheWindow) {
  EXPECT_EQ(PaintState(kStateNormal, true, true), kStateActive);
  EXPECT_EQ(PaintState(kStateNormal, true, false), kStateInactive);
  EXPECT_EQ(PaintState(kStateNormal, false, true), kStateInactive);
  EXPECT_EQ(PaintState(kStatePressed, false, false), kStatePressed);
  EXPECT_EQ(PaintState(kStateActive, false, false), kStateActive);
}

TEST(FrameLookTest, BlendMixesEveryByteAndTruncates) {
  EXPECT_EQ(Blend(0x00804020, 0, 0.5), 0x00402010u);
  EXPECT_EQ(Blend(0xFF000000, 0, 0.5), 0x7F000000u);  // 127.5
  EXPECT_EQ(Blend(0x00000080, 0, 0.8), 0x00000066u);  // 102.4
  EXPECT_EQ(Blend(0x000000FF, 0x0000FF00, 0.5), 0x00007F7Fu);
  EXPECT_EQ(Blend(0x11223344, 0x55667788, 1.0), 0x11223344u);
  EXPECT_EQ(Blend(0x11223344, 0x55667788, 0.0), 0x55667788u);
}

class FakeLookSource : public DefaultLookSource {
 public:
  std::uint32_t SystemColour(int index) override {
    return 0x010101u * static_cast<unsigned>(index);
  }
  int MakeGlyph(std::uint32_t state) override {
    glyphs.push_back(state);
    if (state == refused_glyph) return -1;
    return next_resource++;
  }
  int LoadProgramIcon() override {
    ++icon_loads;
    return icon;
  }
  std::vector<std::uint32_t> glyphs;
  std::uint32_t refused_glyph = 0xFFFF;
  int next_resource = 0;
  int icon = 40;
  int icon_loads = 0;
};

TEST(FrameDefaultLooksTest, StartingLooksFollowTheSystemColoursAndGlyphs) {
  FakeLookSource source;
  FrameParts parts;
  LayOutFrame(parts, kMetrics, 0, source);
  auto colour = [&](int part, int state) { return parts.part(part).looks[state]; };

  EXPECT_EQ(colour(kPartDefault, 0).colour, 0x0F0F0Fu);
  EXPECT_EQ(colour(kPartDefault, 2).flags, 0u);
  EXPECT_EQ(colour(kPartDefault, 3).flags, kLookColour);
  EXPECT_EQ(colour(kPartCaption, 0).colour, 0x020202u);
  EXPECT_EQ(colour(kPartCaption, 1).colour, 0x030303u);
  EXPECT_EQ(colour(kPartCaption, 2).flags, 0u);
  EXPECT_EQ(colour(kPartTitle, 0).flags, 0x2000080u);
  EXPECT_EQ(colour(kPartTitle, 1).colour, 0x030303u);
  EXPECT_EQ(colour(kPartTitleShadow, 0).colour, 0x010101u);  // half of 2
  EXPECT_EQ(colour(kPartTitleShadow, 1).colour, 0x020202u);  // 0.8 of 3
  EXPECT_EQ(colour(kPartTitleShadow, 1).flags, 0x2000080u);
  EXPECT_EQ(colour(kPartMenuStrip, 0).colour, 0x040404u);
  EXPECT_EQ(colour(kPartMenuStrip, 1).flags, 0u);
  for (const int border : {kPartLeftBorder, kPartTopBorder, kPartRightBorder, kPartBottomBorder}) {
    EXPECT_EQ(colour(border, 0).colour, 0x0A0A0Au);
    EXPECT_EQ(colour(border, 1).colour, 0x0B0B0Bu);
    EXPECT_EQ(colour(border, 0).image, -1);
  }
  EXPECT_EQ(source.icon_loads, 1);
  EXPECT_EQ(colour(kPartIcon, 0).image, 40);
  EXPECT_EQ(colour(kPartIcon, 1).image, 40);
  EXPECT_EQ(colour(kPartIcon, 0).flags, kLookImage);

  // One glyph per button and state, the pressed one pushed.
  EXPECT_EQ(source.glyphs, (std::vector<std::uint32_t>{0, 0, 0x200, 0, 1, 1, 0x201, 1, 2, 2, 0x202,
                                                       2, 3, 3, 0x203, 3}));
  EXPECT_EQ(colour(kPartClose, 2).image, 2);
  EXPECT_EQ(colour(kPartRestore, 3).image, 15);
  EXPECT_EQ(colour(kPartMinimize, 1).flags, kLookImage);
  EXPECT_EQ(colour(kPartMinimize, 1).colour, 0u);
}

TEST(FrameDefaultLooksTest, WhatCannotBeMadeLeavesItsLookAndKeptLooksStay) {
  FakeLookSource source;
  source.icon = -1;
  source.refused_glyph = kGlyphClose | kGlyphPushed;
  FrameParts parts;
  parts.SetLookColor(kPartIcon, 0, 0xABCDEF);
  LayOutFrame(parts, kMetrics, 0, source);
  EXPECT_EQ(parts.part(kPartIcon).looks[0].colour, 0xABCDEFu);
  EXPECT_EQ(parts.part(kPartIcon).looks[1].flags, 0u);
  EXPECT_EQ(parts.part(kPartClose).looks[2].flags, 0u);
  // Painting the pressed close button then falls back to its state-0 glyph.
  EXPECT_EQ(parts.ChooseLook(kPartClose, 2).image, parts.part(kPartClose).looks[0].image);

  // A re-layout after a settings change keeps the host's colours.
  parts.SetLookColor(kPartCaption, 0, 0x112233);
  source.glyphs.clear();
  LayOutFrame(parts, kMetrics, kModeKeepLooks, source);
  EXPECT_EQ(parts.part(kPartCaption).looks[0].colour, 0x112233u);
  EXPECT_TRUE(source.glyphs.empty());
}

TEST(FrameDefaultLooksTest, DefaultColourReplacesAnImageAndAnImageAColour) {
  FrameParts parts;
  parts.SetLookImage(kPartCaption, 0, 3, 0);
  parts.SetDefaultColour(kPartCaption, 0, 0x445566);
  EXPECT_EQ(parts.part(kPartCaption).looks[0].flags, kLookColour);
  EXPECT_EQ(parts.part(kPartCaption).looks[0].image, -1);
  parts.SetDefaultImage(kPartCaption, 0, 8);
  EXPECT_EQ(parts.part(kPartCaption).looks[0].flags, kLookImage);
  EXPECT_EQ(parts.part(kPartCaption).looks[0].colour, 0u);
}

}  // namespace
}  // namespace kx::hostkit

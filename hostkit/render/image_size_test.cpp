#include "hostkit/render/image_size.h"

#include <gtest/gtest.h>

#include <climits>

namespace kx::hostkit {
namespace {

PaperLayout Layout(int paper, bool portrait, int dpi, int margin = 20) {
  PaperLayout layout;
  layout.paper_index = paper;
  layout.portrait = portrait;
  layout.dpi = dpi;
  layout.left = layout.right = layout.top = layout.bottom = margin;
  return layout;
}

TEST(ImageSize, PaperSizesInPixels) {
  struct Case {
    PaperLayout layout;
    int max_side;
    PixelSize expected;
  } cases[] = {
      // A4 less 20 mm margins is 257 x 170 mm.
      {Layout(4, false, 125), kLocalMaxSide, {1264, 836}},
      {Layout(4, true, 125), kLocalMaxSide, {836, 1264}},
      {Layout(4, false, 72), kLocalMaxSide, {728, 481}},
      // A2 at 2400 dpi is 52346 x 35905 raw: the long side becomes the maximum.
      {Layout(0, false, 2400), kLocalMaxSide, {5000, 5000 * 35905 / 52346}},
      {Layout(0, true, 2400), kLocalMaxSide, {5000 * 35905 / 52346, 5000}},
      {Layout(0, false, 2400), kServiceMaxSide, {10000, 10000 * 35905 / 52346}},
      // Margins that leave no paper give the smallest picture.
      {Layout(6, false, 125, 200), kLocalMaxSide, {8, 8}},
      // A paper index the table does not have is A4.
      {Layout(99, false, 125), kLocalMaxSide, {1264, 836}},
      {Layout(-1, false, 125), kLocalMaxSide, {1264, 836}},
  };
  for (const Case& c : cases) {
    const PixelSize size = LimitImageSize(RawPaperPixels(c.layout), c.max_side);
    EXPECT_EQ(size.width, c.expected.width) << c.layout.paper_index << " " << c.layout.dpi;
    EXPECT_EQ(size.height, c.expected.height) << c.layout.paper_index << " " << c.layout.dpi;
  }
}

TEST(ImageSize, ExtremeMarginsAndResolutionsStayInRange) {
  for (int dpi : {INT_MIN, -1, 0, 36, 2400, INT_MAX}) {
    for (int margin : {INT_MIN, -300, 0, 300, INT_MAX}) {
      const PixelSize size =
          LimitImageSize(RawPaperPixels(Layout(0, true, dpi, margin)), kLocalMaxSide);
      EXPECT_GE(size.width, kMinSide) << dpi << " " << margin;
      EXPECT_LE(size.width, kLocalMaxSide) << dpi << " " << margin;
      EXPECT_GE(size.height, kMinSide) << dpi << " " << margin;
      EXPECT_LE(size.height, kLocalMaxSide) << dpi << " " << margin;
    }
  }
}

TEST(ImageSize, LimitsKeepTheRatioThenClamp) {
  struct Case {
    PixelSize raw;
    PixelSize expected;
  } cases[] = {
      {{3, 600}, {8, 600}},  // a typed width of 3 is raised to 8
      {{640, -5}, {640, 8}},
      {{20000, 100}, {5000, 25}},
      {{100, 20000}, {25, 5000}},
      {{20000, 10}, {5000, 8}},      // scaled to 2, then raised
      {{6000, 6000}, {5000, 5000}},  // equal sides: the height counts as larger
      {{INT_MAX, INT_MAX - 1}, {5000, 4999}},
      {{5000, 5000}, {5000, 5000}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LimitImageSize(c.raw, kLocalMaxSide), c.expected)
        << c.raw.width << "x" << c.raw.height;
  }
}

TEST(ImageSize, SizePresets) {
  const PixelSize typed{321, 123};
  struct Case {
    int preset;
    PixelSize perspective;
    int max_side;
    PixelSize expected;
    const char* text;
  } cases[] = {
      {0, {800, 600}, kLocalMaxSide, {5000, 3750}, "縦横比固定で最大"},
      {0, {600, 800}, kLocalMaxSide, {3750, 5000}, "縦横比固定で最大"},
      {0, {800, 600}, kServiceMaxSide, {10000, 7500}, "縦横比固定で最大"},
      {1, {800, 600}, kLocalMaxSide, {800, 600}, "パース図と同じサイズ"},
      {2, {801, 601}, kLocalMaxSide, {400, 300}, "パース図の50％"},
      {3, {800, 600}, kLocalMaxSide, {200, 150}, "パース図の25％"},
      {4, {800, 600}, kLocalMaxSide, {5000, 5000}, "最大（5000×5000）"},
      {4, {800, 600}, kServiceMaxSide, {10000, 10000}, "最大（10000×10000）"},
      {5, {800, 600}, kLocalMaxSide, {1024, 768}, "大（1024×768）"},
      {6, {800, 600}, kLocalMaxSide, {800, 600}, "中（800×600）"},
      {7, {800, 600}, kLocalMaxSide, {640, 480}, "小（640×480）"},
      {8, {800, 600}, kLocalMaxSide, typed, "数値指定..."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PresetSize(c.preset, c.perspective, typed, c.max_side), c.expected) << c.preset;
    EXPECT_EQ(PresetText(c.preset, c.max_side), c.text) << c.preset;
    EXPECT_EQ(PresetKeepsRatio(c.preset), c.preset <= 3) << c.preset;
  }
  // A perspective side of zero (which the host must not pass) divides by nothing.
  EXPECT_EQ(ClampSides(PresetSize(0, {0, 0}, typed, kLocalMaxSide), kLocalMaxSide),
            (PixelSize{5000, 8}));
}

TEST(ImageSize, SameRatioTyping) {
  EXPECT_EQ(SameRatioSide(1000, 800, 600, 1), 750);        // width typed
  EXPECT_EQ(SameRatioSide(300, 600, 800, 1), 400);         // height typed
  EXPECT_EQ(SameRatioSide(INT_MAX, 1, 1000, 1), INT_MAX);  // no overflow
  EXPECT_EQ(SameRatioSide(100, 0, 600, 77), 77);
}

TEST(ImageSize, ResolutionItems) {
  EXPECT_EQ(ResolutionItemFor(125), 0);
  EXPECT_EQ(ResolutionItemFor(72), 1);
  EXPECT_EQ(ResolutionItemFor(200), 2);
  EXPECT_EQ(ResolutionItemFor(300), kResolutionTyped);
}

}  // namespace
}  // namespace kx::hostkit

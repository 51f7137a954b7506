#include "hostkit/frame/frame_parts.h"

namespace kx::hostkit {
namespace {

std::int32_t ResolveCoordinate(std::int32_t value, std::int32_t near_edge,
                               std::int32_t far_edge) noexcept {
  return value < 0 ? value + far_edge + 1 : value + near_edge;
}

// The order in which overlapping parts claim a point: buttons over the
// caption, corners over the borders.
constexpr int kHitOrder[] = {kPartMinimize,    kPartMaximize,  kPartClose,        kPartIcon,
                             kPartCaption,     kPartTopLeft,   kPartTopRight,     kPartBottomLeft,
                             kPartBottomRight, kPartTopBorder, kPartBottomBorder, kPartLeftBorder,
                             kPartRightBorder};

}  // namespace

Rect ResolveRect(const Rect& coded, const Rect& window) noexcept {
  return Rect{ResolveCoordinate(coded.left, window.left, window.right),
              ResolveCoordinate(coded.top, window.top, window.bottom),
              ResolveCoordinate(coded.right, window.left, window.right),
              ResolveCoordinate(coded.bottom, window.top, window.bottom)};
}

int HitTestCode(int part) noexcept {
  switch (part) {
    case kPartCaption:
      return 2;  // HTCAPTION
    case kPartIcon:
      return 3;  // HTSYSMENU
    case kPartLeftBorder:
      return 10;  // HTLEFT
    case kPartTopBorder:
      return 12;  // HTTOP
    case kPartRightBorder:
      return 11;  // HTRIGHT
    case kPartBottomBorder:
      return 15;  // HTBOTTOM
    case kPartClose:
      return 20;  // HTCLOSE
    case kPartMinimize:
      return 8;  // HTMINBUTTON
    case kPartMaximize:
    case kPartRestore:
      return 9;  // HTMAXBUTTON
    case kPartTopLeft:
      return 13;  // HTTOPLEFT
    case kPartTopRight:
      return 14;  // HTTOPRIGHT
    case kPartBottomLeft:
      return 16;  // HTBOTTOMLEFT
    case kPartBottomRight:
      return 17;  // HTBOTTOMRIGHT
    default:
      return 0;
  }
}

std::uint32_t Blend(std::uint32_t a, std::uint32_t b, double x) noexcept {
  std::uint32_t mixed = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double byte_a = (a >> shift) & 0xFF, byte_b = (b >> shift) & 0xFF;
    double value = x * byte_a + (1.0 - x) * byte_b;
    // Out-of-range weights must not wrap into a neighbouring byte.
    if (!(value >= 0.0)) value = 0.0;
    if (value > 255.0) value = 255.0;
    mixed |= static_cast<std::uint32_t>(value) << shift;
  }
  return mixed;
}

int PaintState(int state, bool enabled, bool active) noexcept {
  if (state != kStateNormal) return state;
  return enabled && active ? kStateActive : kStateInactive;
}

int PaintedPart(int part, bool maximised) noexcept {
  return part == kPartMaximize && maximised ? kPartRestore : part;
}

void FrameParts::Reset() noexcept {
  for (PartRecord& part : parts_) part = PartRecord{};
}

void FrameParts::Layout(const FrameMetrics& m, std::uint32_t mode) noexcept {
  const int c = m.caption, fx = m.frame_x, fy = m.frame_y;
  const int t = c + fy;
  const int far_x = -fx - 1;  // the inner edge of the right border, counted from the right

  int w = 0, h = 0, close_left = 0, max_left = 0, min_left = 0;
  if (mode & kModeSquareButtons) {
    w = h = c - 4;
    close_left = far_x - c + 2;
    max_left = far_x - 2 * c + 4;
    min_left = far_x + 6 - 3 * c;
  } else {
    h = m.size_y - 4;
    w = (mode & kModeThemed) ? 16 : m.size_x - 2;
    close_left = far_x - w - 2;
    max_left = close_left - w - 2;
    min_left = far_x - 3 * w - 4;
  }
  const int icon_top = fy + (c - m.small_icon_y) / 2;
  auto place = [this](int part, int left, int top, int right, int bottom) {
    parts_[static_cast<unsigned>(part)].rect = Rect{left, top, right, bottom};
  };
  place(kPartCaption, fx, fy, far_x, t);
  place(kPartIcon, fx + 1, icon_top, fx + m.small_icon_x + 1, icon_top + m.small_icon_y);
  place(kPartMinimize, min_left, fy + 2, min_left + w, fy + 2 + h);
  place(kPartMaximize, max_left, fy + 2, max_left + w, fy + 2 + h);
  place(kPartRestore, max_left, fy + 2, max_left + w, fy + 2 + h);
  place(kPartClose, close_left, fy + 2, close_left + w, fy + 2 + h);
  place(kPartMenuStrip, min_left - 2 * w - 1, t, far_x, t + m.menu - 1);
  place(kPartTitle, m.small_icon_x + fx + 4, fy, min_left - 4, t);
  place(kPartTitleShadow, m.small_icon_x + fx + 5, fy + 1, min_left - 3, t + 1);
  place(kPartLeftBorder, 0, fy, fx, -fy - 1);
  place(kPartTopBorder, 0, 0, -1, fy);
  place(kPartRightBorder, -fx - 1, fy, -1, -fy - 1);
  place(kPartBottomBorder, 0, -fy - 1, -1, -1);
  place(kPartTopLeft, 0, 0, c, t);
  place(kPartTopRight, -c - fx, 0, -1, t);
  place(kPartBottomLeft, 0, -t, c, -1);
  place(kPartBottomRight, -c - fx, -t, -1, -1);
  if (mode & kModeHideMenuStrip) parts_[kPartMenuStrip].flags &= ~kPartShown;
}

Rect FrameParts::Resolve(int index, const Rect& window) const noexcept {
  if (!Valid(index)) return Rect{};
  return ResolveRect(part(index).rect, window);
}

int FrameParts::HitPart(std::int32_t x, std::int32_t y, const Rect& window,
                        const Rect& client_and_menu) const noexcept {
  if (client_and_menu.Contains(x, y)) return 0;
  for (const int index : kHitOrder) {
    if (Resolve(index, window).Contains(x, y)) return index;
  }
  return 0;
}

int FrameParts::SetLookColor(int index, int state, std::uint32_t colour) noexcept {
  if (!Valid(index) || !ValidState(state)) return -1;
  Look& look = parts_[static_cast<unsigned>(index)].looks[static_cast<unsigned>(state)];
  look.flags |= kLookColour;
  look.colour = colour;
  return 0;
}

int FrameParts::SetLookImage(int index, int state, std::int32_t image,
                             std::uint32_t flags) noexcept {
  if (!Valid(index) || !ValidState(state)) return -1;
  if (image < 0) return 0;
  Look& look = parts_[static_cast<unsigned>(index)].looks[static_cast<unsigned>(state)];
  look.image = image;
  look.flags |= flags | kLookImage;
  if (flags & kLookColour) {
    look.flags &= ~kLookColour;
    look.colour = 0;
  }
  return 0;
}

const Look& FrameParts::ChooseLook(int index, int state) const noexcept {
  if (Valid(index)) {
    const PartRecord& record = part(index);
    if (ValidState(state) && record.looks[static_cast<unsigned>(state)].flags != 0) {
      return record.looks[static_cast<unsigned>(state)];
    }
    if (record.looks[0].flags != 0) return record.looks[0];
  }
  return part(kPartDefault).looks[0];
}

void FrameParts::SetDefaultColour(int index, int state, std::uint32_t colour, std::uint32_t align) {
  Look& look = parts_[static_cast<unsigned>(index)].looks[static_cast<unsigned>(state)];
  look.flags = (look.flags & ~kLookImage) | kLookColour | align;
  look.image = -1;
  look.colour = colour;
}

void FrameParts::SetDefaultImage(int index, int state, std::int32_t image) {
  Look& look = parts_[static_cast<unsigned>(index)].looks[static_cast<unsigned>(state)];
  look.flags = (look.flags & ~kLookColour) | kLookImage;
  look.image = image;
  look.colour = 0;
}

void ApplyDefaultLooks(FrameParts& parts, DefaultLookSource& source) {
  const std::uint32_t btn_face = source.SystemColour(kColorBtnFace);
  for (const int state : {kStateActive, kStateInactive, kStateHot}) {
    parts.SetDefaultColour(kPartDefault, state, btn_face);
  }
  const std::uint32_t active = source.SystemColour(kColorActiveCaption);
  const std::uint32_t inactive = source.SystemColour(kColorInactiveCaption);
  parts.SetDefaultColour(kPartCaption, kStateActive, active);
  parts.SetDefaultColour(kPartCaption, kStateInactive, inactive);
  parts.SetDefaultColour(kPartTitle, kStateActive, active, kAlignVCenter);
  parts.SetDefaultColour(kPartTitle, kStateInactive, inactive, kAlignVCenter);
  parts.SetDefaultColour(kPartTitleShadow, kStateActive, Blend(active, 0, 0.5), kAlignVCenter);
  parts.SetDefaultColour(kPartTitleShadow, kStateInactive, Blend(inactive, 0, 0.8), kAlignVCenter);

  const int icon = source.LoadProgramIcon();
  if (icon >= 0) {
    parts.SetDefaultImage(kPartIcon, kStateActive, icon);
    parts.SetDefaultImage(kPartIcon, kStateInactive, icon);
  }

  struct Button {
    int part;
    std::uint32_t glyph;
  };
  for (const Button b :
       {Button{kPartClose, kGlyphClose}, Button{kPartMinimize, kGlyphMinimize},
        Button{kPartMaximize, kGlyphMaximize}, Button{kPartRestore, kGlyphRestore}}) {
    const std::uint32_t glyphs[kStateCount] = {b.glyph, b.glyph, b.glyph | kGlyphPushed, b.glyph};
    for (int state = 0; state < kStateCount; ++state) {
      const int image = source.MakeGlyph(glyphs[state]);
      if (image >= 0) parts.SetDefaultImage(b.part, state, image);
    }
  }

  parts.SetDefaultColour(kPartMenuStrip, kStateActive, source.SystemColour(kColorMenu));
  const std::uint32_t border_active = source.SystemColour(kColorActiveBorder);
  const std::uint32_t border_inactive = source.SystemColour(kColorInactiveBorder);
  for (const int part : {kPartLeftBorder, kPartTopBorder, kPartRightBorder, kPartBottomBorder}) {
    parts.SetDefaultColour(part, kStateActive, border_active);
    parts.SetDefaultColour(part, kStateInactive, border_inactive);
  }
}

void LayOutFrame(FrameParts& parts, const FrameMetrics& metrics, std::uint32_t mode,
                 DefaultLookSource& source) {
  parts.Layout(metrics, mode);
  if (!(mode & kModeKeepLooks)) ApplyDefaultLooks(parts, source);
}

FramePaintPlan PlanFramePaint(bool maximised) {
  FramePaintPlan plan;
  plan.band = {kPartCaption, kPartIcon, kPartClose, maximised ? kPartRestore : kPartMaximize,
               kPartMinimize};
  if (!maximised) {
    plan.direct = {kPartLeftBorder, kPartRightBorder, kPartTopBorder, kPartBottomBorder};
  }
  plan.direct.push_back(kPartMenuStrip);
  return plan;
}

}  // namespace kx::hostkit

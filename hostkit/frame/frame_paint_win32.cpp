// How a frame paints its parts and title, and the images, icons, fonts and
// glyphs its looks draw with.
#include <windows.h>

#include <memory>
#include <utility>

#include "hostkit/frame/window_frame_win32.h"

namespace kx::hostkit {
namespace {

RECT ToRect(const Rect& r) noexcept { return RECT{r.left, r.top, r.right, r.bottom}; }
Rect FromRect(const RECT& r) noexcept { return Rect{r.left, r.top, r.right, r.bottom}; }

// A memory context, deleted when it goes.
struct MemoryDcTraits {
  using value_type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC dc) noexcept { DeleteDC(dc); }
};
using UniqueMemoryDc = win::UniqueResource<MemoryDcTraits>;

UINT TextFormat(std::uint32_t flags) noexcept {
  UINT format = DT_SINGLELINE | DT_END_ELLIPSIS;
  if (flags & kAlignRight) format |= DT_RIGHT;
  if (flags & kAlignBottom) format |= DT_BOTTOM;
  if (flags & kAlignCenter) format |= DT_CENTER;
  if (flags & kAlignVCenter) format |= DT_VCENTER;
  return format;
}

}  // namespace

void QNDWidgetSystemControl::PaintWidget(HDC dc, const RECT& rect) {
  if (type_ == DFC_CAPTION && !symbol_font_) {
    PaintGlyphWithLines(dc, rect);
    return;
  }
  RECT area = rect;  // the system may adjust it
  DrawFrameControl(dc, &area, type_, state_);
}

void QNDWidgetSystemControl::PaintGlyphWithLines(HDC dc, const RECT& rect) {
  // Without its symbol font the system draws other characters (plain
  // digits, seen under a Japanese locale) in place of the glyphs. The
  // button is the system's; the glyph is drawn here with lines and boxes.
  RECT area = rect;
  DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (state_ & ~0xFFu));
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const int size = (width < height ? width : height) * 5 / 9;
  if (size < 4) return;
  const int shift = (state_ & DFCS_PUSHED) ? 1 : 0;
  const int left = rect.left + (width - size) / 2 + shift;
  const int top = rect.top + (height - size) / 2 + shift;
  const COLORREF ink = GetSysColor((state_ & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  win::UniqueBrush brush(CreateSolidBrush(ink));
  if (!brush) return;
  auto fill = [&](int x, int y, int w, int h) {
    const RECT bar = {x, y, x + w, y + h};
    FillRect(dc, &bar, brush.get());
  };
  auto box = [&](int x, int y, int w, int h) {  // a window outline with a thick top
    fill(x, y, w, 2);
    fill(x, y + h - 1, w, 1);
    fill(x, y, 1, h);
    fill(x + w - 1, y, 1, h);
  };
  switch (state_ & 0xFF) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i < size; ++i) {  // two strokes two pixels wide
        fill(left + i, top + i, 2, 1);
        fill(left + size - 2 - i, top + i, 2, 1);
      }
      break;
    case DFCS_CAPTIONMIN:
      fill(left, top + size - 2, size * 2 / 3, 2);
      break;
    case DFCS_CAPTIONMAX:
      box(left, top, size, size);
      break;
    case DFCS_CAPTIONRESTORE: {
      const int small = size * 3 / 4;
      box(left + size - small, top, small, small);
      const RECT front = {left, top + size - small, left + small, top + size};
      FillRect(dc, &front, GetSysColorBrush(COLOR_BTNFACE));
      box(left, top + size - small, small, small);
      break;
    }
    default:
      break;
  }
}

int QNDWindowFrame::LoadImageResource(const char* path, std::uint32_t kind, int width, int height) {
  if (path == nullptr) return -1;
  auto resource = std::make_unique<Resource>();
  resource->kind = kind;
  if (kind == Resource::kBitmap) {
    resource->bitmap.reset(
        static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    BITMAP info = {};
    if (!resource->bitmap || !GetObjectA(resource->bitmap.get(), sizeof info, &info)) return -1;
    resource->width = info.bmWidth;
    resource->height = info.bmHeight;
  } else if (kind == Resource::kIcon) {
    resource->icon.reset(
        static_cast<HICON>(LoadImageA(nullptr, path, IMAGE_ICON, width, height, LR_LOADFROMFILE)));
    if (!resource->icon) return -1;
    resource->width = width;
    resource->height = height;
  } else {
    return -1;
  }
  return resources_.Add(std::move(resource));
}

int QNDWindowFrame::LoadIconResource(int resource_id, int width, int height) {
  auto resource = std::make_unique<Resource>();
  resource->kind = Resource::kIcon;
  resource->icon.reset(
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource_id),
                                    IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
  if (!resource->icon) return -1;
  resource->width = width;
  resource->height = height;
  return resources_.Add(std::move(resource));
}

int QNDWindowFrame::CreateFontResource(const LOGFONTA& description) {
  auto resource = std::make_unique<Resource>();
  resource->kind = Resource::kFont;
  resource->font.reset(CreateFontIndirectA(&description));
  if (!resource->font) return -1;
  resource->width = description.lfWidth;
  resource->height = description.lfHeight;
  return resources_.Add(std::move(resource));
}

int QNDWindowFrame::reg_sys_ctrl(UINT type, UINT state) {
  auto resource = std::make_unique<Resource>();
  resource->kind = Resource::kWidget;
  resource->widget =
      std::make_unique<QNDWidgetSystemControl>(type, state, system_.SymbolFontPresent());
  return resources_.Add(std::move(resource));
}

void QNDWindowFrame::ReleaseResources() noexcept {
  resources_.Clear();
  caption_font_.reset();
  if ((mode_ & kModeThemed) && window_ != nullptr) GiveVisualStylesBack();
  fixed_dc_ = nullptr;
}

void QNDWindowFrame::PaintPart(HDC dc, int part, int state, const RECT& window_rect) {
  state = PaintState(state, IsWindowEnabled(window_) != FALSE, Active());
  part = PaintedPart(part, Maximised());
  if (!parts_.shown(part)) return;
  const RECT rect = ToRect(parts_.Resolve(part, FromRect(window_rect)));
  const Look& look = parts_.ChooseLook(part, state);

  if (look.flags & kLookColour) {
    win::UniqueBrush brush(CreateSolidBrush(look.colour));
    if (brush) FillRect(dc, &rect, brush.get());
  }
  if (!(look.flags & kLookImage)) return;
  const Resource* resource = resources_.Find(look.image);
  if (resource == nullptr) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  switch (resource->kind) {
    case Resource::kBitmap: {
      UniqueMemoryDc memory(CreateCompatibleDC(dc));
      if (!memory) return;
      const HGDIOBJ previous = SelectObject(memory.get(), resource->bitmap.get());
      const int mode = SetStretchBltMode(dc, HALFTONE);
      POINT origin;
      SetBrushOrgEx(dc, 0, 0, &origin);  // halftone needs the brush origin set afresh
      StretchBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, resource->width,
                 resource->height, SRCCOPY);
      SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
      if (mode) SetStretchBltMode(dc, mode);
      SelectObject(memory.get(), previous);
      break;
    }
    case Resource::kIcon:
      DrawIconEx(dc, rect.left, rect.top, resource->icon.get(), width, height, 0, nullptr,
                 DI_NORMAL);
      break;
    case Resource::kWidget:
      resource->widget->PaintWidget(dc, rect);
      break;
    default:  // a font draws nothing on its own
      break;
  }
}

void QNDWindowFrame::PaintText(HDC dc, int part, int state, const RECT& window_rect,
                               const char* text) {
  if (!parts_.shown(part) || text == nullptr || text[0] == '\0') return;
  RECT rect = ToRect(parts_.Resolve(part, FromRect(window_rect)));
  const Look& look = parts_.ChooseLook(part, state);
  COLORREF colour = RGB(0, 0, 0);
  if (look.flags & kLookColour) {
    if (look.colour == kNoText) return;
    colour = look.colour;
  }
  HGDIOBJ font =
      caption_font_ ? static_cast<HGDIOBJ>(caption_font_.get()) : GetStockObject(SYSTEM_FONT);
  if (const Resource* resource = resources_.Find(look.image)) {
    if (resource->kind == Resource::kFont) font = resource->font.get();
  }
  const HGDIOBJ previous_font = SelectObject(dc, font);
  const COLORREF previous_colour = SetTextColor(dc, colour);
  const int previous_mode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &rect, TextFormat(look.flags));
  SetBkMode(dc, previous_mode);
  SetTextColor(dc, previous_colour);
  SelectObject(dc, previous_font);
}

void QNDWindowFrame::PaintFrame(HWND window, HDC dc) {
  if (window == nullptr || dc == nullptr || !IsWindowVisible(window) || IsIconic(window)) return;
  const bool maximised = Maximised();
  const int state = Active() ? kStateActive : kStateInactive;
  const FramePaintPlan plan = PlanFramePaint(maximised);

  saved_state_ = SaveDC(dc);
  const RECT window_rect = WindowRectAtOrigin();
  const RECT band = ToRect(parts_.Resolve(kPartCaption, FromRect(window_rect)));
  const int band_width = band.right - band.left, band_height = band.bottom - band.top;

  // The caption band is composed off-screen and shown in one copy, so that
  // the caption never flickers through its parts.
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  win::UniqueBitmap canvas(band_width > 0 && band_height > 0
                               ? CreateCompatibleBitmap(dc, band_width, band_height)
                               : nullptr);
  if (memory && canvas) {
    const HGDIOBJ previous = SelectObject(memory.get(), canvas.get());
    SetWindowOrgEx(memory.get(), band.left, band.top, nullptr);
    for (const int part : plan.band) PaintPart(memory.get(), part, state, window_rect);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    PaintText(memory.get(), kPartTitleShadow, state, window_rect, title);
    PaintText(memory.get(), kPartTitle, state, window_rect, title);
    BitBlt(dc, band.left, band.top, band_width, band_height, memory.get(), band.left, band.top,
           SRCCOPY);
    SelectObject(memory.get(), previous);
  }
  for (const int part : plan.direct) PaintPart(dc, part, state, window_rect);
  RestoreDC(dc, saved_state_);
}

}  // namespace kx::hostkit

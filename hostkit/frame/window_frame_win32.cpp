// The frame's construction, layout and message handling. Painting and
// resources are in frame_paint_win32.cpp.
#include <windows.h>
// windows.h first
#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "hostkit/frame/window_frame_win32.h"

namespace kx::hostkit {
namespace {

// WM_NCUAHDRAWCAPTION: the system asks to draw its themed caption, which
// would cover the custom one.
constexpr UINT kDrawThemedCaption = 0xAE;

// The record size every system version accepts: built for Windows XP, the
// record has no padded border width, which Vista added.
constexpr UINT kNonClientMetricsBytes = sizeof(NONCLIENTMETRICSA);
static_assert(kNonClientMetricsBytes == 340, "the classic non-client metrics record");

bool IsButton(int part) noexcept { return part >= kPartClose && part <= kPartRestore; }

// The frames that switched each window's visual styles off. Several frames
// may be stacked on one window: the styles come back with the last of them.
std::vector<std::pair<HWND, const void*>>& StyleHolders() {
  static auto* const holders = new std::vector<std::pair<HWND, const void*>>();
  return *holders;
}

// A copy of `region` moved by dx, dy; null when none can be made.
UniqueRegion CopyRegion(HRGN region, int dx, int dy) {
  UniqueRegion copy(CreateRectRgn(0, 0, 0, 0));
  if (!copy || CombineRgn(copy.get(), region, nullptr, RGN_COPY) == ERROR) return {};
  if ((dx != 0 || dy != 0) && OffsetRgn(copy.get(), dx, dy) == ERROR) return {};
  return copy;
}

}  // namespace

UINT FrameRedrawMessage() noexcept {
  static const UINT message = RegisterWindowMessageA("DomirelDesignerCustomFrameClass_Redraw");
  return message;
}

// Starting looks from the system's colours, glyphs and the host's icon.
class QNDWindowFrame::LookSource : public DefaultLookSource {
 public:
  explicit LookSource(QNDWindowFrame& frame) : frame_(frame) {}
  std::uint32_t SystemColour(int index) override { return GetSysColor(index); }
  int MakeGlyph(std::uint32_t state) override { return frame_.reg_sys_ctrl(DFC_CAPTION, state); }
  int LoadProgramIcon() override {
    return frame_.LoadIconResource(1, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  }

 private:
  QNDWindowFrame& frame_;
};

QNDWindowFrame::QNDWindowFrame(HWND window, std::uint32_t mode, HDC fixed_dc, FrameSystem& system)
    : system_(system) {
  ReleaseResources();
  if (window == nullptr) return;
  const bool themed = system_.VisualStylesActive();
  if (mode & kModeFixedDc) fixed_dc_ = fixed_dc;
  parts_.Reset();
  if (themed) {
    system_.SwitchVisualStylesOff(window);
    StyleHolders().emplace_back(window, this);
  }
  mode_ = (mode & kModeKept) | (themed ? kModeThemed : 0);
  window_ = window;
  LayoutParts(mode_);
}

QNDWindowFrame::~QNDWindowFrame() { ReleaseResources(); }

void QNDWindowFrame::LayoutParts(std::uint32_t mode) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = kNonClientMetricsBytes;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsBytes, &metrics, 0)) {
    if (HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont)) caption_font_.reset(font);
  }
  FrameMetrics m;
  m.caption = GetSystemMetrics(SM_CYCAPTION);
  m.frame_x = GetSystemMetrics(SM_CXFRAME);
  m.frame_y = GetSystemMetrics(SM_CYFRAME);
  m.small_icon_x = GetSystemMetrics(SM_CXSMICON);
  m.small_icon_y = GetSystemMetrics(SM_CYSMICON);
  m.menu = GetSystemMetrics(SM_CYMENU);
  m.size_x = GetSystemMetrics(SM_CXSIZE);
  m.size_y = GetSystemMetrics(SM_CYSIZE);
  LookSource source(*this);
  LayOutFrame(parts_, m, mode, source);
}

void QNDWindowFrame::GiveVisualStylesBack() noexcept {
  std::vector<std::pair<HWND, const void*>>& holders = StyleHolders();
  const auto mine =
      std::find(holders.begin(), holders.end(), std::pair<HWND, const void*>(window_, this));
  if (mine == holders.end()) return;
  holders.erase(mine);
  const bool others = std::any_of(holders.begin(), holders.end(),
                                  [this](const auto& holder) { return holder.first == window_; });
  if (!others) system_.GiveVisualStylesBack(window_);
}

void QNDWindowFrame::OnSettingChange() {
  if (mode_ & kModeThemed) system_.SwitchVisualStylesOff(window_);
  LayoutParts(mode_ | kModeKeepLooks);
}

void QNDWindowFrame::Redraw(std::int32_t, std::int32_t) { RepaintFrame(); }

int QNDWindowFrame::HitPart(POINT screen) const {
  RECT window = {}, client = {};
  if (!GetWindowRect(window_, &window) || !GetClientRect(window_, &client)) return 0;
  POINT corner = {0, 0};
  ClientToScreen(window_, &corner);
  // The menu bar is the system's to handle, whether or not there is one.
  const Rect client_and_menu = {corner.x, corner.y - GetSystemMetrics(SM_CYMENU),
                                corner.x + client.right, corner.y + client.bottom};
  return parts_.HitPart(screen.x, screen.y,
                        Rect{window.left, window.top, window.right, window.bottom},
                        client_and_menu);
}

bool QNDWindowFrame::Maximised() const {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  return GetWindowPlacement(window_, &placement) && placement.showCmd == SW_SHOWMAXIMIZED;
}

bool QNDWindowFrame::Active() const { return GetActiveWindow() == window_; }

RECT QNDWindowFrame::WindowRectAtOrigin() const {
  RECT rect = {};
  GetWindowRect(window_, &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  return rect;
}

HDC QNDWindowFrame::TakeDc() { return fixed_dc_ ? fixed_dc_ : GetWindowDC(window_); }

void QNDWindowFrame::GiveBackDc(HDC dc) {
  if (dc != nullptr && dc != fixed_dc_) ReleaseDC(window_, dc);
}

void QNDWindowFrame::RepaintPart(int part, int state) {
  if (HDC dc = TakeDc()) {
    const RECT rect = WindowRectAtOrigin();
    PaintPart(dc, part, state, rect);
    GiveBackDc(dc);
  }
}

void QNDWindowFrame::RepaintFrame() {
  if (HDC dc = TakeDc()) {
    PaintFrame(window_, dc);
    GiveBackDc(dc);
  }
}

HDC QNDWindowFrame::TakeNonClientDc(HRGN update) {
  if (update == nullptr) {
    return system_.GetDCEx(window_, nullptr, DCX_WINDOW | DCX_CLIPSIBLINGS);
  }
  // The context takes over the region it is given, so it gets a copy: the
  // update region belongs to the system.
  UniqueRegion clip = CopyRegion(update, 0, 0);
  if (!clip) return nullptr;
  HDC dc = system_.GetDCEx(window_, clip.get(), DCX_WINDOW | DCX_CLIPSIBLINGS | DCX_INTERSECTRGN);
  if (dc != nullptr) clip.release();  // the context's now; a refused one stays ours
  return dc;
}

void QNDWindowFrame::PaintNonClient(HRGN update) {
  if (fixed_dc_ != nullptr) {
    PaintFrame(window_, fixed_dc_);
    return;
  }
  if (HDC dc = TakeNonClientDc(update)) {
    PaintFrame(window_, dc);
    GiveBackDc(dc);
    return;
  }
  // Windows refuses the context above for the region of a WM_NCPAINT, which
  // lies in screen coordinates. The window's whole context limited to that
  // region, moved to the window's own coordinates, paints the same.
  HDC dc = GetWindowDC(window_);
  if (dc == nullptr) return;
  const int saved = SaveDC(dc);
  RECT window = {};
  if (update != nullptr && GetWindowRect(window_, &window)) {
    const UniqueRegion clip = CopyRegion(update, -window.left, -window.top);
    if (clip) SelectClipRgn(dc, clip.get());  // the context keeps a copy
  }
  PaintFrame(window_, dc);
  RestoreDC(dc, saved);
  ReleaseDC(window_, dc);
}

int QNDWindowFrame::ProcessMessage(WindowId window, std::uint32_t message, MessageWord wparam,
                                   MessageLong lparam, MessageResult* result) {
  if (window_ == nullptr || window != GetWindow()) return 0;
  const UINT redraw = FrameRedrawMessage();
  if (redraw != 0 && message == redraw) {
    RepaintFrame();
    *result = 0;
    return 0;
  }
  const WPARAM wp = static_cast<WPARAM>(wparam);
  const LPARAM lp = static_cast<LPARAM>(lparam);
  switch (message) {
    case WM_SETTINGCHANGE:
      OnSettingChange();
      return PassOn(message, wparam, lparam, result);

    case WM_STYLECHANGED:
    case WM_NCACTIVATE:
    // The system draws its own caption with a new title straight away,
    // not through WM_NCPAINT: the frame is painted over it again.
    case WM_SETTEXT: {
      const std::weak_ptr<int> alive = life_;
      const int status = PassOn(message, wparam, lparam, result);
      if (alive.expired()) return status;
      RepaintFrame();
      return status;
    }

    case WM_NCHITTEST: {
      const int code = HitTestCode(HitPart(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
      if (code == 0) return PassOn(message, wparam, lparam, result);
      *result = code;
      return 0;
    }

    case WM_NCPAINT: {
      // The system paints the menu bar only: the client area extended up
      // by the menu height, without the strip the frame paints itself.
      RECT client = {};
      GetClientRect(window_, &client);
      MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
      client.top -= GetSystemMetrics(SM_CYMENU);
      const UniqueRegion menu(CreateRectRgnIndirect(&client));
      if (menu && parts_.shown(kPartMenuStrip)) {
        RECT window_rect = {};
        GetWindowRect(window_, &window_rect);
        const Rect strip = parts_.Resolve(
            kPartMenuStrip,
            Rect{window_rect.left, window_rect.top, window_rect.right, window_rect.bottom});
        const UniqueRegion strip_region(
            CreateRectRgn(strip.left, strip.top, strip.right, strip.bottom));
        if (strip_region) CombineRgn(menu.get(), menu.get(), strip_region.get(), RGN_DIFF);
      }
      if (menu) {
        const std::weak_ptr<int> alive = life_;
        PassOn(message, reinterpret_cast<MessageWord>(menu.get()), lparam, result);
        if (alive.expired()) return 0;
      }
      // 1 stands for the whole window, not a region.
      PaintNonClient(wp > 1 ? reinterpret_cast<HRGN>(wp) : nullptr);
      *result = 0;
      return 0;
    }

    case WM_NCMOUSEMOVE: {
      const int hit = HitPart(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      for (const int button : {kPartMinimize, kPartMaximize, kPartClose}) {
        RepaintPart(button, hit == button ? kStateHot : kStateNormal);
      }
      if (IsButton(hit)) {
        *result = 0;
        return 0;
      }
      if (hit != 0 && redraw != 0) PostMessageA(window_, redraw, 0, 0);
      return PassOn(message, wparam, lparam, result);
    }

    case WM_ACTIVATE:
      if (redraw != 0) PostMessageA(window_, redraw, 0, 0);
      return PassOn(message, wparam, lparam, result);

    // The second press of a double click comes as a double click: on a
    // button it is a press like the first, not the system's to track with
    // its own buttons.
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: {
      const int hit = HitPart(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (!IsButton(hit)) return PassOn(message, wparam, lparam, result);
      RepaintPart(hit, kStatePressed);
      pressed_ = hit;
      SetCapture(window_);
      *result = 0;
      return 0;
    }

    case kDrawThemedCaption:
      *result = 0;
      return 0;

    case WM_MOUSEMOVE:
      if (pressed_ >= 0) {
        POINT point = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(window_, &point);
        RepaintPart(pressed_, HitPart(point) == pressed_ ? kStatePressed : kStateActive);
      }
      return PassOn(message, wparam, lparam, result);

    case WM_CAPTURECHANGED:
      // Another window took the mouse while a button was held down: that
      // press is over, and a later release is not the frame's.
      if (pressed_ >= 0 && reinterpret_cast<HWND>(lp) != window_) {
        RepaintPart(std::exchange(pressed_, -1), kStateNormal);
      }
      return PassOn(message, wparam, lparam, result);

    case WM_LBUTTONUP: {
      // A release that ends no press of a frame button is the host's (its
      // own drag in the window, holding its own capture): left alone.
      if (pressed_ < 0) return PassOn(message, wparam, lparam, result);
      const HWND window = window_;
      const int pressed = std::exchange(pressed_, -1);
      POINT point = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(window_, &point);
      const int hit = HitPart(point);
      if (hit == 0) {
        PassOn(message, wparam, lparam, result);
      } else {
        if (IsButton(hit)) {
          RepaintPart(hit, kStateActive);
        } else {
          // A caption or border part painted alone would cover the title
          // and buttons drawn over it: the whole frame is painted instead.
          RepaintFrame();
        }
        if (hit == pressed) {
          WPARAM command = 0;
          if (hit == kPartClose) command = SC_CLOSE;
          if (hit == kPartMinimize) command = SC_MINIMIZE;
          if (hit == kPartMaximize || hit == kPartRestore) {
            command = Maximised() ? SC_RESTORE : SC_MAXIMIZE;
          }
          if (command != 0) PostMessageA(window_, WM_SYSCOMMAND, command, 0);
        }
        *result = 0;
      }
      // The capture is the frame's, taken when the button went down; the
      // frame may be gone by now (deleted by the host on the way).
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    }

    default:
      return PassOn(message, wparam, lparam, result);
  }
}

}  // namespace kx::hostkit

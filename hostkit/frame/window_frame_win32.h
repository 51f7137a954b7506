// QNDWindowFrame: the decorator that draws a window's caption, buttons and
// borders itself, in the looks the host chooses, and answers the system's
// questions about them (hit tests, button clicks) so that the window keeps
// working as an ordinary framed window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "hostkit/frame/decorator.h"
#include "hostkit/frame/frame_parts.h"
#include "hostkit/frame/frame_system_win32.h"
#include "hostkit/frame/kxc_items.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

using UniqueRegion = win::UniqueResource<win::GdiObjectTraits<HRGN>>;

// Something a look can draw into a rectangle.
class QNDWidget {
 public:
  virtual ~QNDWidget() = default;
  virtual void PaintWidget(HDC dc, const RECT& rect) = 0;
};

// A frame control as the system draws it. A caption glyph needs the
// system's symbol font; without it (`symbol_font` false) the glyph is drawn
// with lines on the system's button.
class QNDWidgetSystemControl : public QNDWidget {
 public:
  QNDWidgetSystemControl(UINT type, UINT state, bool symbol_font) noexcept
      : type_(type), state_(state), symbol_font_(symbol_font) {}
  void PaintWidget(HDC dc, const RECT& rect) override;

 private:
  void PaintGlyphWithLines(HDC dc, const RECT& rect);

  UINT type_;
  UINT state_;
  bool symbol_font_;
};

class QNDWindowFrame : public QNDWindowDecorator {
 public:
  // An image, icon, font or widget of the frame; looks name it by its index.
  struct Resource {
    static constexpr std::uint32_t kBitmap = 0x1000001;
    static constexpr std::uint32_t kIcon = 0x1000002;
    static constexpr std::uint32_t kFont = 0x1000003;
    static constexpr std::uint32_t kWidget = 0x4000000;

    std::uint32_t kind = 0;
    int width = 0, height = 0;
    win::UniqueBitmap bitmap;
    win::UniqueIcon icon;
    win::UniqueFont font;
    std::unique_ptr<QNDWidget> widget;
  };

  // With kModeFixedDc in `mode`, everything is painted into `fixed_dc`
  // instead of the window's own context. A null window makes a frame that
  // decorates nothing.
  QNDWindowFrame(HWND window, std::uint32_t mode, HDC fixed_dc,
                 FrameSystem& system = RealFrameSystem());
  ~QNDWindowFrame() override;
  QNDWindowFrame(const QNDWindowFrame&) = delete;
  QNDWindowFrame& operator=(const QNDWindowFrame&) = delete;

  int ProcessMessage(WindowId window, std::uint32_t message, MessageWord wparam, MessageLong lparam,
                     MessageResult* result) override;
  WindowId GetWindow() const override { return reinterpret_cast<WindowId>(window_); }
  // Paints the whole frame now; the values are not used.
  void Redraw(std::int32_t value1, std::int32_t value2) override;
  // The system's metrics changed: everything is placed again, looks kept.
  virtual void OnSettingChange();

  // Looks (see FrameParts); nothing is repainted until the next paint.
  int SetLookColor(int part, int state, std::uint32_t colour) noexcept {
    return parts_.SetLookColor(part, state, colour);
  }
  int SetLookImage(int part, int state, std::int32_t image, std::uint32_t flags) noexcept {
    return parts_.SetLookImage(part, state, image, flags);
  }
  const FrameParts& parts() const noexcept { return parts_; }
  std::uint32_t mode() const noexcept { return mode_; }
  int pressed_part() const noexcept { return pressed_; }

  // New resources; each returns its index, or -1 when nothing could be made.
  int LoadImageResource(const char* path, std::uint32_t kind, int width, int height);
  int LoadIconResource(int resource_id, int width, int height);
  int CreateFontResource(const LOGFONTA& description);
  int reg_sys_ctrl(UINT type, UINT state);
  // Deletes every resource and the caption font, gives back the visual
  // styles it switched off (once no other frame on the window keeps them
  // off) and forgets the fixed context.
  void ReleaseResources() noexcept;

  // Painting, in window coordinates of `window_rect` (the window moved to 0,0).
  void PaintFrame(HWND window, HDC dc);
  void PaintPart(HDC dc, int part, int state, const RECT& window_rect);
  void PaintText(HDC dc, int part, int state, const RECT& window_rect, const char* text);

 private:
  class LookSource;

  void LayoutParts(std::uint32_t mode);
  // Gives the window its visual styles back unless another frame on it
  // keeps them off.
  void GiveVisualStylesBack() noexcept;
  int HitPart(POINT screen) const;
  bool Maximised() const;
  bool Active() const;
  RECT WindowRectAtOrigin() const;
  HDC TakeDc();
  void GiveBackDc(HDC dc);
  void RepaintPart(int part, int state);
  void RepaintFrame();
  // The frame's painting for a WM_NCPAINT of `update` (screen
  // coordinates; null for the whole frame).
  void PaintNonClient(HRGN update);
  HDC TakeNonClientDc(HRGN update);
  int PassOn(std::uint32_t message, MessageWord wparam, MessageLong lparam, MessageResult* result) {
    return QNDWindowDecorator::PassOn(GetWindow(), message, wparam, lparam, result);
  }

  FrameSystem& system_;
  HWND window_ = nullptr;
  std::uint32_t mode_ = 0;
  FrameParts parts_;
  Kxc_Items<Resource> resources_;
  int pressed_ = -1;
  HDC fixed_dc_ = nullptr;
  int saved_state_ = 0;
  win::UniqueFont caption_font_;
  // Expires with the frame: the host may delete the frame from inside the
  // window procedure that a message was passed on to.
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

// The message that makes a decorated window repaint its frame when posted
// to it; 0 if the system has none to give.
UINT FrameRedrawMessage() noexcept;

}  // namespace kx::hostkit

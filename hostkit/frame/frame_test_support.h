// What the Windows tests of the window frame share: the frame exports of
// Hostkit.dll as the host resolves them, a decorated test window, and the
// screen read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"

namespace kx::hostkit::test {

struct FrameExports {
  win::LoadedModule dll;
  decltype(&QNDFrameCreate) create = nullptr;
  decltype(&QNDFrameCreateEx) create_ex = nullptr;
  decltype(&QNDFrameDelete) remove = nullptr;
  decltype(&QNDFrameDraw) draw = nullptr;
  decltype(&QNDFrameSetColor) set_color = nullptr;
  decltype(&QNDFrameSetImage) set_image = nullptr;
  decltype(&QNDFrameLoadImage) load_image = nullptr;
  decltype(&QNDFrameProc) proc = nullptr;
  bool complete() const noexcept;
};

// Hostkit.dll from the installed programs' folder, loaded once.
FrameExports& Exports();

// The message the frame repaints on.
UINT RedrawMessage();

// The test window's own procedure answers this message with ~lParam: an
// answer that fills the whole LRESULT.
inline constexpr UINT kInvertingMessage = WM_APP + 7;

// A top-level window with a caption, sizing border and (unless asked
// otherwise) a menu bar, shown and active; destroyed with the object.
class TestWindow {
 public:
  explicit TestWindow(const char* title = "枠", bool menu = true, int x = 120, int y = 100,
                      int width = 480, int height = 320);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND get() const noexcept { return window_; }
  RECT Frame() const;  // window rectangle on the screen
  WNDPROC OwnProcedure() const noexcept { return own_procedure_; }
  WNDPROC CurrentProcedure() const;

 private:
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  WNDPROC own_procedure_ = nullptr;
};

// Dispatches what is queued for the thread, for about `milliseconds`.
void Pump(int milliseconds = 60);

// The WM_SYSCOMMAND commands posted to the window, taken off its queue.
std::vector<WPARAM> TakePostedCommands(HWND window);

// The window's hit-test answer at a screen point.
LRESULT HitTestAt(HWND window, int x, int y);

// The middle of the span of the caption row (screen coordinates) that
// answers `code`, found by asking the window point by point.
std::optional<POINT> FindCaptionPart(HWND window, LRESULT code);

// Paints the whole window black, then has the system ask for the left half
// of the caption band only (a WM_NCPAINT with that region, now).
void RepaintLeftHalfOfCaptionOnBlack(HWND window);

// A part of the screen read back as 0x00BBGGRR values.
class ScreenImage {
 public:
  static ScreenImage Capture(const RECT& area);
  // Relative to the wanted area; CLR_INVALID for what lay off the screen.
  COLORREF At(int x, int y) const;
  int width() const noexcept { return width_; }
  int height() const noexcept { return height_; }
  // How many pixels of the rectangle (relative) have exactly this colour.
  int Count(const RECT& rect, COLORREF colour) const;
  // Saves a 24-bit BMP into the folder named by KX_FRAME_SHOTS, if set.
  void SaveIfAsked(const std::string& name) const;

 private:
  int width_ = 0, height_ = 0;
  int left_ = 0, top_ = 0;             // where the captured pixels start in the wanted area
  std::vector<std::uint32_t> pixels_;  // top-down rows, 0x00RRGGBB
};

// The area as the screen shows it once `ready` holds for it, with what is
// queued for the thread dispatched meanwhile (the system may show a window's
// painting only later); after `bound_ms` the last picture, whatever it shows.
ScreenImage CaptureWhen(const RECT& area, const std::function<bool(const ScreenImage&)>& ready,
                        int bound_ms = 60000);

// A 24-bit BMP file of `width` x `height` whose left half is `left` and
// right half is `right`, written to a temporary path that is returned.
std::string WriteTwoColourBitmap(int width, int height, COLORREF left, COLORREF right);

}  // namespace kx::hostkit::test

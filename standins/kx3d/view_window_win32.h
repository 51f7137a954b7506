// The caller's window while the engine shows its pictures in it: the
// window is subclassed so that it repaints the last picture itself whenever
// it is uncovered, not only when the caller asks for a redraw.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "standins/kx3d/engine.h"

namespace kx::kx3d {

class Win32ViewWindow final : public ViewWindow {
 public:
  // Null when `window` is not a window of this thread.
  static std::unique_ptr<Win32ViewWindow> Attach(HWND window) noexcept;
  ~Win32ViewWindow() override;
  Win32ViewWindow(const Win32ViewWindow&) = delete;
  Win32ViewWindow& operator=(const Win32ViewWindow&) = delete;

  bool ClientSize(int* width, int* height) noexcept override;
  void Show(const FrameImage& frame) noexcept override;

 private:
  explicit Win32ViewWindow(HWND window) noexcept : window_(window) {}
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self) noexcept;
  void Paint(HDC dc) noexcept;

  HWND window_;
  bool attached_ = false;
  int width_ = 0, height_ = 0;
  std::vector<std::uint8_t> rows_;  // the picture as a top-down DIB: rows padded to 4 bytes
};

}  // namespace kx::kx3d

// A window laid out like the viewer's 3D view: a top-level window holding
// an owner-drawn static control of 320 x 320 pixels that the engine draws
// into.
#pragma once

#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace kx::kx3d {

inline constexpr int kSampleSize = 320;

class SampleWindow {
 public:
  // At (x, y) on the screen; shown.
  explicit SampleWindow(int x = 0, int y = 0) noexcept;
  explicit operator bool() const noexcept { return static_cast<bool>(view_); }
  HWND frame() const noexcept { return frame_.get(); }
  HWND view() const noexcept { return view_; }
  // Handles what is waiting in this thread's queue (paints above all).
  static void PumpMessages() noexcept;

 private:
  kx::win::UniqueWindow frame_;
  HWND view_ = nullptr;  // destroyed with the frame
};

}  // namespace kx::kx3d

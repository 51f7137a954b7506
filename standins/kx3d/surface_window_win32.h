// The engine's own drawing surface: a hidden top-level window of the engine
// library's window class, sized to the view. The graphics libraries draw
// into it; the finished pictures are shown in the caller's window by
// Win32ViewWindow. (Drawing with OpenGL or Direct3D into a child window of
// the caller does not reach the screen under Wine, and a picture read back
// from an own surface is the same on every platform.)
#pragma once

#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace kx::kx3d {

// The module of the engine library (the DLL this code is linked into).
HMODULE EngineModule() noexcept;

class SurfaceWindow {
 public:
  // A hidden window of width x height client pixels; empty on failure.
  static SurfaceWindow Create(int width, int height) noexcept;

  SurfaceWindow() noexcept = default;
  SurfaceWindow(SurfaceWindow&&) noexcept = default;
  SurfaceWindow& operator=(SurfaceWindow&&) noexcept;
  ~SurfaceWindow();

  HWND get() const noexcept { return window_.get(); }
  explicit operator bool() const noexcept { return static_cast<bool>(window_); }
  [[nodiscard]] bool Resize(int width, int height) noexcept;

 private:
  void Release() noexcept;
  kx::win::UniqueWindow window_;
};

}  // namespace kx::kx3d

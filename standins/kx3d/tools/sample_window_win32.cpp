#include "standins/kx3d/tools/sample_window_win32.h"

namespace kx::kx3d {

SampleWindow::SampleWindow(int x, int y) noexcept {
  // A borderless popup: its client area is exactly the view.
  frame_.reset(CreateWindowExA(0, "Static", "KX3D sample", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                               x, y, kSampleSize, kSampleSize, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr));
  if (!frame_) return;
  view_ = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, kSampleSize,
                          kSampleSize, frame_.get(), nullptr, GetModuleHandleA(nullptr), nullptr);
  PumpMessages();
}

void SampleWindow::PumpMessages() noexcept {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace kx::kx3d

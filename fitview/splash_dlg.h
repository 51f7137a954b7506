// The start-up notice: a small modeless dialog shown while the viewer starts
// the engine and loads the model.
#pragma once

#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace kx {

class CSplashDlg {
 public:
  CSplashDlg() = default;
  CSplashDlg(const CSplashDlg&) = delete;
  CSplashDlg& operator=(const CSplashDlg&) = delete;

  // Creates the notice owned by `owner`, centred on the screen, topmost,
  // and paints it at once. False when it cannot be created.
  bool Show(HINSTANCE instance, HWND owner) noexcept;
  void Destroy() noexcept { window_.reset(); }
  bool IsShown() const noexcept { return static_cast<bool>(window_); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  win::UniqueWindow window_;
};

}  // namespace kx

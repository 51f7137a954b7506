#include "fitview/splash_dlg.h"

#include "fitview/resource.h"
#include "fitview/viewer_layout.h"

namespace kx {

bool CSplashDlg::Show(HINSTANCE instance, HWND owner) noexcept {
  window_.reset(CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_SPLASH), owner, &DialogProc, 0));
  if (!window_) return false;
  RECT rect;
  GetWindowRect(window_.get(), &rect);
  const WindowPlace place =
      CentreOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(window_.get(), nullptr, place.x, place.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(window_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(window_.get(), SW_SHOW);
  UpdateWindow(window_.get());
  return true;
}

INT_PTR CALLBACK CSplashDlg::DialogProc(HWND, UINT, WPARAM, LPARAM) {
  // The notice only informs: it takes no focus and handles nothing itself.
  return FALSE;
}

}  // namespace kx

#include "fitview/fitview_dlg.h"

#include "common/exchange_contract.h"
#include "fitview/resource.h"
#include "fitview/view_picture_win32.h"

namespace kx {
namespace {

HWND HwndOf(WindowId window) { return reinterpret_cast<HWND>(window); }

constexpr UINT_PTR kDrawBoundTimer = 1;

ScreenRect ToScreenRect(const RECT& r) { return ScreenRect{r.left, r.top, r.right, r.bottom}; }

win::UniqueIcon LoadProgramIcon(HINSTANCE instance, int size_metric) {
  const int size = GetSystemMetrics(size_metric);
  return win::UniqueIcon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_FITVIEW), IMAGE_ICON, size, size, 0)));
}

}  // namespace

CFitviewDlg::CFitviewDlg(HINSTANCE instance, KxIf& engine, LogWriter& log, std::string title,
                         std::string request_path)
    : instance_(instance), controller_(*this, engine, profiles_, files_, log, std::move(title)) {
  controller_.SetRequestPath(std::move(request_path));
  big_icon_ = LoadProgramIcon(instance, SM_CXICON);
  small_icon_ = LoadProgramIcon(instance, SM_CXSMICON);
}

INT_PTR CFitviewDlg::DoModal() noexcept {
  return DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_FITVIEW), nullptr, &DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CFitviewDlg::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CFitviewDlg*>(lparam);
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    self->window_ = window;
  }
  auto* self = reinterpret_cast<CFitviewDlg*>(GetWindowLongPtrA(window, DWLP_USER));
  return self ? self->HandleMessage(message, wparam, lparam) : FALSE;
}

INT_PTR CFitviewDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      // The engine view is fitted after the dialog's own size handling, which
      // a dialog procedure cannot follow: a subclass of the window does. A
      // plain one: the common controls' subclass helpers are there only for
      // programs that ask for their version 6, which this one does not.
      dialog_window_proc_ = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SizeSubclass)));
      controller_.Start();
      return TRUE;
    case WM_SHOWWINDOW:
      // Shown by ShowWindow, not as an owner or a parent being restored.
      if (wparam && lparam == 0) controller_.OnShown();
      return FALSE;
    case WM_PAINT:
      controller_.OnPaint(IsIconic(window_) != FALSE);
      return TRUE;
    case WM_COMMAND:
      // Enter and Escape, or the close box: the user closes the viewer.
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        ::EndDialog(window_, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    case exchange::kViewerClose:
      controller_.OnCloseRequest(reinterpret_cast<WindowId>(reinterpret_cast<HWND>(wparam)));
      return TRUE;
    case exchange::kViewerReady:
      controller_.OnReady();
      return TRUE;
    case WM_TIMER:
      if (wparam != kDrawBoundTimer) return FALSE;
      controller_.OnDrawBound();
      return TRUE;
    case WM_DESTROY:
      controller_.OnDestroy();
      splash_.Destroy();
      return FALSE;
    default:
      return FALSE;
  }
}

LRESULT CALLBACK CFitviewDlg::SizeSubclass(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  auto* self = reinterpret_cast<CFitviewDlg*>(GetWindowLongPtrA(window, DWLP_USER));
  const WNDPROC previous = self->dialog_window_proc_;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  const LRESULT result = CallWindowProcA(previous, window, message, wparam, lparam);
  if (message == WM_SIZE) self->controller_.OnSize();
  return result;
}

void CFitviewDlg::ShowStartupNotice() { splash_.Show(instance_, window_); }

void CFitviewDlg::RemoveStartupNotice() {
  splash_.Destroy();
  UpdateWindow(window_);
}

void CFitviewDlg::SetIconsAndTitle(const std::string& title) {
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
  SetWindowTextA(window_, title.c_str());
}

WindowId CFitviewDlg::ViewControl() {
  return reinterpret_cast<WindowId>(GetDlgItem(window_, kControlView));
}

ViewerGeometry CFitviewDlg::Measure(WindowId checker) {
  ViewerGeometry geometry;
  RECT rect;
  HWND checker_window = HwndOf(checker);
  if (checker_window && !IsWindow(checker_window)) checker_window = nullptr;
  // The viewer goes to the checker's monitor (a minimised checker's is the
  // one it was on), or to the one it was created on.
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(
          MonitorFromWindow(checker_window ? checker_window : window_, MONITOR_DEFAULTTONEAREST),
          &monitor)) {
    geometry.work_area = ToScreenRect(monitor.rcWork);
  } else if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0)) {
    geometry.work_area = ToScreenRect(rect);
  } else {
    geometry.work_area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  GetWindowRect(window_, &rect);
  geometry.outer = ToScreenRect(rect);
  GetClientRect(window_, &rect);
  geometry.client_width = rect.right - rect.left;
  geometry.client_height = rect.bottom - rect.top;
  // A minimised checker has no place on the screen to sit below.
  if (checker_window && !IsIconic(checker_window) && GetWindowRect(checker_window, &rect)) {
    geometry.checker = ToScreenRect(rect);
  }
  return geometry;
}

void CFitviewDlg::ApplyLayout(const WindowPlace& place) {
  for (const ControlPlace& c : kViewerControls) {
    const HWND control = GetDlgItem(window_, c.id);
    if (c.label) {
      SetWindowPos(control, HWND_TOP, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
      SetWindowPos(control, nullptr, c.x, c.y, c.width, c.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  SetWindowPos(window_, HWND_TOP, place.x, place.y, place.width, place.height, 0);
}

bool CFitviewDlg::ShowSamplePicture(const std::string& path) {
  win::UniqueBitmap picture(static_cast<HBITMAP>(LoadImageA(
      nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  if (!picture) return false;
  SendDlgItemMessageA(window_, kControlSamplePicture, STM_SETIMAGE, IMAGE_BITMAP,
                      reinterpret_cast<LPARAM>(picture.get()));
  sample_ = std::move(picture);
  return true;
}

void CFitviewDlg::FreeSamplePicture() {
  if (window_) {
    SendDlgItemMessageA(window_, kControlSamplePicture, STM_SETIMAGE, IMAGE_BITMAP, 0);
  }
  sample_.reset();
}

void CFitviewDlg::EndDialog(int result) { ::EndDialog(window_, result); }

void CFitviewDlg::PostReady() { PostMessageA(window_, exchange::kViewerReady, 0, 0); }

void CFitviewDlg::PostNotify(WindowId to, int kind, std::int32_t detail) {
  PostMessageA(HwndOf(to), exchange::kViewerNotify, static_cast<WPARAM>(kind),
               static_cast<LPARAM>(detail));
}

void CFitviewDlg::SendClosing(WindowId to) {
  SendMessageA(HwndOf(to), exchange::kViewerClosing, 0, 0);
}

void CFitviewDlg::PaintIcon() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window_, &paint);
  SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window_, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, big_icon_.get());
  EndPaint(window_, &paint);
}

void CFitviewDlg::PaintDialog() {
  PAINTSTRUCT paint;
  BeginPaint(window_, &paint);
  EndPaint(window_, &paint);
}

void CFitviewDlg::InvalidateLabels() {
  InvalidateRect(GetDlgItem(window_, kControlSampleLabel), nullptr, TRUE);
  InvalidateRect(GetDlgItem(window_, kControlViewLabel), nullptr, TRUE);
}

void CFitviewDlg::PaintSample() { UpdateWindow(GetDlgItem(window_, kControlSamplePicture)); }

void CFitviewDlg::FinishPainting() {
  RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

RgbPicture CFitviewDlg::ReadView() { return PrintClientArea(GetDlgItem(window_, kControlView)); }

RgbPicture CFitviewDlg::ReadSample() { return BitmapPixels(sample_.get()); }

void CFitviewDlg::StartDrawBound(unsigned ms) { SetTimer(window_, kDrawBoundTimer, ms, nullptr); }

void CFitviewDlg::StopDrawBound() { KillTimer(window_, kDrawBoundTimer); }

}  // namespace kx

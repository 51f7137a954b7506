// The viewer's main window (dialog 102): the sample picture and the engine's
// 3D view side by side. Window messages go to ViewerController; this class
// carries out what it asks.
#pragma once

#include <windows.h>

#include <string>

#include "common/file_system_win32.h"
#include "common/profile_store_win32.h"
#include "fitview/splash_dlg.h"
#include "fitview/viewer_controller.h"
#include "platform/win32/unique_resource.h"

namespace kx {

class CFitviewDlg final : public ViewerWindow {
 public:
  CFitviewDlg(HINSTANCE instance, KxIf& engine, LogWriter& log, std::string title,
              std::string request_path);
  CFitviewDlg(const CFitviewDlg&) = delete;
  CFitviewDlg& operator=(const CFitviewDlg&) = delete;

  // Runs the dialog; returns its end result.
  INT_PTR DoModal() noexcept;

  // ViewerWindow
  void ShowStartupNotice() override;
  void RemoveStartupNotice() override;
  void SetIconsAndTitle(const std::string& title) override;
  WindowId ViewControl() override;
  ViewerGeometry Measure(WindowId checker) override;
  void ApplyLayout(const WindowPlace& place) override;
  bool ShowSamplePicture(const std::string& path) override;
  void FreeSamplePicture() override;
  void EndDialog(int result) override;
  void PostReady() override;
  void PostNotify(WindowId to, int kind, std::int32_t detail) override;
  void SendClosing(WindowId to) override;
  void PaintIcon() override;
  void PaintDialog() override;
  void InvalidateLabels() override;
  void PaintSample() override;
  void FinishPainting() override;
  RgbPicture ReadView() override;
  RgbPicture ReadSample() override;
  void StartDrawBound(unsigned ms) override;
  void StopDrawBound() override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK SizeSubclass(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  WNDPROC dialog_window_proc_ = nullptr;  // the dialog window's own, below SizeSubclass
  Win32ProfileStore profiles_;
  Win32FileSystem files_;
  ViewerController controller_;
  CSplashDlg splash_;
  win::UniqueIcon big_icon_;
  win::UniqueIcon small_icon_;
  win::UniqueBitmap sample_;
};

}  // namespace kx

// The wizard dialog (template 102): the Win32 side of the wizard. It shows
// what the wizard's logic decides and runs the viewer for it.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <memory>

#include "fitcheck/ui/auto_run.h"
#include "fitcheck/ui/close_watch.h"
#include "fitcheck/ui/hyperlink.h"
#include "fitcheck/ui/wizard.h"
#include "platform/win32/unique_resource.h"

namespace kx {

class FitcheckServices;

class CFitcheckDlg final : public WizardView, public ViewerPlatform, public AutoPlatform {
 public:
  // `automatic`: an unattended run (Fitcheck /auto).
  explicit CFitcheckDlg(bool automatic = false);
  ~CFitcheckDlg() override;

  // After an unattended run: its exit code and its report.
  int AutoExitCode() const;
  std::string AutoReport(const AutoReportContext& context) const;

  // Runs the dialog modally; returns its end result.
  INT_PTR DoModal();

  // WizardView
  std::string LoadText(int string_id) override;
  void SetText(int control_id, const std::string& text) override;
  void ShowControl(int control_id, bool shown) override;
  void EnableControl(int control_id, bool enabled) override;
  bool IsChecked(int control_id) override;
  void SetChecked(int control_id, bool checked) override;
  void SetPicture(int bitmap_id) override;
  void SetProgress(int position) override;
  void PlaceMainText(bool at_title_edge) override;
  void GrowInstructionUpward(int pixels) override;
  MessageAnswer ShowMessage(const std::string& text, MessageStyle style, bool placed) override;
  ScreenRect WorkArea() override;
  ScreenRect WindowRect() override;
  void MoveWindowTo(int x, int y) override;
  void EndDialog(int result) override;
  std::int32_t WindowValue() override;

  // ViewerPlatform
  bool StartViewerWorker(const std::string& command_line, unsigned test) override;
  bool FindViewerWindow(const std::string& title) override;
  void PostCloseToViewer() override;
  void StartCloseWatch() override;
  void StopCloseWatch() override;
  bool EndLeftViewer(const std::string& title) override;
  void EndCurrentViewer(const std::string& title) override;
  void NotifySelf(int kind, int detail) override;

  // AutoPlatform
  std::uint32_t NowMs() override;
  void StartBoundTimer(unsigned ms) override;
  void StopBoundTimer() override;

 private:
  void ScheduleAutoStep();
  void RunAutoStep();
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  BOOL OnInitDialog();
  void OnCommand(int id, int code);
  HBRUSH OnCtlColorStatic(HDC dc, HWND control);
  void OnPaint();
  void OnViewerStarted(unsigned test, HANDLE process);
  void OnDestroy();
  void InstallDirectX();
  RECT ControlRect(int control_id);
  void RepaintBeneath(HWND control);
  void FitToText(int control_id);
  void FitInstallButton();
  static DWORD WINAPI ViewerWorker(void* argument);
  static void CALLBACK CloseWatchTick(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

  HWND window_ = nullptr;
  std::unique_ptr<FitcheckServices> services_;
  std::unique_ptr<Wizard> wizard_;
  CDirXLink link_;
  win::UniqueIcon icon_big_, icon_small_;
  std::array<win::UniqueBitmap, 4> pictures_;  // 146..149
  bool large_fonts_ = false;
  int main_text_left_ = 0, title_left_ = 0, instruction_bottom_ = 0, picture_top_ = 0;
  std::map<int, RECT> text_templates_;  // template places of the texts that fit their height
  int instruction_min_height_ = 0;

  // The viewer run.
  HWND viewer_window_ = nullptr;
  win::UniqueHandle worker_;
  win::UniqueHandle viewer_process_;   // the viewer of the current test
  win::UniqueHandle watched_process_;  // the viewer the close watch terminates
  CloseWatchTicks close_watch_;

  // The unattended run.
  const bool automatic_;
  std::unique_ptr<AutoRun> auto_run_;
  bool auto_step_posted_ = false;
};

}  // namespace kx

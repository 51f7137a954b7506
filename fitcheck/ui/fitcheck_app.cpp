// CFitcheckApp: one wizard at a time. A second start brings the running
// wizard to the front and ends. With /auto the wizard runs unattended and
// the exit code (and a report, when asked) tells how it ended.
#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/log_writer_win32.h"
#include "common/product_settings_win32.h"
#include "fitcheck/ui/auto_report_win32.h"
#include "fitcheck/ui/fitcheck_dlg.h"
#include "fitcheck/ui/resource.h"
#include "platform/win32/unique_resource.h"

namespace kx {
namespace {

constexpr char kUsage[] =
    "Fitcheck [/auto [/report:<ファイル>]]\r\r"
    "/auto\r"
    "    質問せずに動作チェックを行い、合格した設定を保存します。\r"
    "/report:<ファイル>\r"
    "    結果を UTF-8 の JSON で書き出します。\r\r"
    "終了コード:\r"
    "    0  設定を保存した\r"
    "    1  合格した設定がない\r"
    "    2  動作環境を満たさない\r"
    "    3  チェックを実行できない\r"
    "    87  コマンドラインの誤り";

std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
  return arguments;
}

class CFitcheckApp {
 public:
  int Run() {
    const FitcheckCommand command = ParseFitcheckCommand(Arguments());
    const bool automatic = command.mode == FitcheckCommand::Mode::kAuto;
    if (command.mode == FitcheckCommand::Mode::kUsage ||
        (command.mode == FitcheckCommand::Mode::kBad && !command.automatic)) {
      char caption[256] = {};
      LoadStringA(GetModuleHandleA(nullptr), IDS_WIZARD_CAPTION, caption, sizeof caption);
      MessageBoxA(nullptr, kUsage, caption, MB_OK | MB_ICONINFORMATION);
    }
    if (command.mode == FitcheckCommand::Mode::kUsage) return 0;
    if (command.mode == FitcheckCommand::Mode::kBad) return kAutoExitBadCommand;

    win::UniqueHandle lock(CreateMutexA(
        nullptr, TRUE, ApplicationNameOf(Win32ProcessPaths().ExecutablePath()).c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      if (automatic) {
        if (!command.report_path.empty()) {
          const AutoReportContext context{KX_FITCHECK_VERSION, UtcTimeText(), AnsiToUtf8};
          (void)WriteReportFile(command.report_path,
                                AutoRun::ReportWithoutRun(context, "another Fitcheck is running",
                                                          kAutoExitCouldNotRun));
        }
        return kAutoExitCouldNotRun;
      }
      char caption[256] = {};
      LoadStringA(GetModuleHandleA(nullptr), IDS_WIZARD_CAPTION, caption, sizeof caption);
      if (HWND running = FindWindowA(nullptr, caption)) SetForegroundWindow(running);
      return 0;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    CFitcheckDlg dialog(automatic);
    const INT_PTR ended = dialog.DoModal();
    int exit_code = 0;
    if (automatic) {
      exit_code = ended == -1 ? kAutoExitCouldNotRun : dialog.AutoExitCode();
      if (!command.report_path.empty()) {
        const AutoReportContext context{KX_FITCHECK_VERSION, UtcTimeText(), AnsiToUtf8};
        if (!WriteReportFile(command.report_path, dialog.AutoReport(context))) {
          exit_code = kAutoExitCouldNotRun;
        }
      }
    }
    if (lock) ReleaseMutex(lock.get());
    return exit_code;
  }
};

}  // namespace
}  // namespace kx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The settings and the log exist before the wizard does.
  kx::ProcessSettings();
  kx::ProcessLog();
  return kx::CFitcheckApp().Run();
}

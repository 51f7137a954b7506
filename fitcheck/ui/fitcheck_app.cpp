// CFitcheckApp: one wizard at a time. A second start brings the running
// wizard to the front and ends.
#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <string>

#include "common/log_writer_win32.h"
#include "common/product_settings_win32.h"
#include "fitcheck/ui/fitcheck_dlg.h"
#include "fitcheck/ui/resource.h"
#include "platform/win32/unique_resource.h"

namespace kx {
namespace {

class CFitcheckApp {
 public:
  int Run() {
    win::UniqueHandle lock(CreateMutexA(
        nullptr, TRUE, ApplicationNameOf(Win32ProcessPaths().ExecutablePath()).c_str()));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      char caption[256] = {};
      LoadStringA(GetModuleHandleA(nullptr), IDS_WIZARD_CAPTION, caption, sizeof caption);
      if (HWND running = FindWindowA(nullptr, caption)) SetForegroundWindow(running);
      return 0;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    CFitcheckDlg dialog;
    dialog.DoModal();
    if (lock) ReleaseMutex(lock.get());
    return 0;
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

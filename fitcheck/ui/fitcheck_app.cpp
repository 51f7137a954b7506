// CFitcheckApp: one wizard at a time. A second start brings the running
// wizard to the front and ends.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/log_writer_win32.h"
#include "common/product_settings_win32.h"
#include "fitcheck/ui/fitcheck_dlg.h"
#include "fitcheck/ui/resource.h"
#include "platform/win32/unique_resource.h"

namespace kx {
namespace {

// The executable's base name, which names the instance lock.
std::string ApplicationName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

class CFitcheckApp {
 public:
  int Run() {
    win::UniqueHandle lock(CreateMutexA(nullptr, TRUE, ApplicationName().c_str()));
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

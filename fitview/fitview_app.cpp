#include "fitview/fitview_app.h"

#include <cstdlib>

#include "common/file_system_win32.h"
#include "common/log_writer_win32.h"
#include "common/product_settings_win32.h"
#include "common/profile_store_win32.h"
#include "fitview/fitview_dlg.h"
#include "fitview/kx_engine_win32.h"
#include "platform/win32/full_path.h"
#include "platform/win32/unique_resource.h"

namespace kx {
namespace {

// A named mutex created owned; released and closed at exit.
class InstanceLock {
 public:
  explicit InstanceLock(const char* name) noexcept
      : mutex_(CreateMutexA(nullptr, TRUE, name)),
        already_running_(GetLastError() == ERROR_ALREADY_EXISTS) {}
  ~InstanceLock() {
    if (mutex_ && !already_running_) ReleaseMutex(mutex_.get());
  }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool AlreadyRunning() const noexcept { return already_running_; }

 private:
  win::UniqueHandle mutex_;
  bool already_running_;
};

}  // namespace

int CFitviewApp::Run(HINSTANCE instance, const std::string& request_path) noexcept {
  Win32ProfileStore profiles;
  Win32FileSystem files;
  const std::string executable = Win32ProcessPaths().ExecutablePath();
  const std::string title = ReadViewerTitle(profiles, files, ModuleFolderOf(executable));

  // The lock is named after the application, the executable's base name.
  const InstanceLock lock(ApplicationNameOf(executable).c_str());
  if (lock.AlreadyRunning()) {
    // Only one viewer at a time: show the one that runs.
    if (const HWND running = FindWindowA(nullptr, title.c_str())) SetForegroundWindow(running);
    return 0;
  }

  CFitviewDlg dialog(instance, ProcessEngineSession(), ProcessLog(), title, request_path);
  dialog.DoModal();
  return 0;
}

}  // namespace kx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The C runtime's argument parsing: quotes group blanks.
  // The request is read through the private-profile functions, which read
  // a path that is not full from the Windows folder.
  const std::string request_path = kx::win::FullPath(__argc > 1 ? __argv[1] : "");
  return kx::CFitviewApp().Run(instance, request_path);
}

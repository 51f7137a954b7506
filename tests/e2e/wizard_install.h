// A private installation of the checker for one end-to-end test: the built
// programs, the stand-in engine and the data copied into a temporary folder
// whose name holds a blank, with a settings file that gives the run its own
// registry key and log folder. Everything is removed afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/unique_resource.h"
#include "tests/win/temp_folder.h"

namespace kx::test {

class WizardInstall {
 public:
  explicit WizardInstall(const std::string& name = "Domirel Test");
  ~WizardInstall();
  WizardInstall(const WizardInstall&) = delete;
  WizardInstall& operator=(const WizardInstall&) = delete;

  // Ends with a backslash.
  const std::string& Folder() const { return folder_.path(); }
  void RemoveFile(const std::string& relative_path);

  // Starts Fitcheck.exe with `arguments` (not waiting for it); false when it
  // cannot be started.
  [[nodiscard]] bool Start(const std::string& arguments = "");
  // The first Fitcheck's exit code once it has ended.
  DWORD ExitCode() const;
  // Starts one more Fitcheck.exe (with `arguments`) and waits for it to end;
  // its exit code.
  DWORD StartAnotherAndWait(DWORD timeout_ms, const std::string& arguments = "");
  // Waits for the first Fitcheck to end; false on time-out.
  [[nodiscard]] bool WaitForExit(DWORD timeout_ms);

  // Under HKEY_CURRENT_USER: this run's product key + "Environment".
  const std::string& EnvironmentKey() const { return environment_key_; }
  // A DWORD value; none (0xFFFFFFFF and false) when missing or of another type.
  bool ReadDword(const std::string& name, DWORD& value) const;
  // A value's type and bytes (terminator included for strings).
  bool ReadValue(const std::string& name, DWORD& type, std::string& bytes) const;
  // Every value name of the Environment key.
  std::vector<std::string> ValueNames() const;

  // The messages of the wizard's log (time stamps removed), and the viewer's.
  std::vector<std::string> WizardLog() const;
  std::vector<std::string> ViewerLog() const;

 private:
  std::vector<std::string> ReadLog(const std::string& prefix) const;

  TempFolder folder_;
  std::string product_key_;
  std::string environment_key_;
  std::string log_folder_;
  win::UniqueHandle process_;
};

}  // namespace kx::test

#include "tests/e2e/wizard_install.h"

#include "tests/win/process.h"
#include "tests/win/registry_value.h"

namespace kx::test {
namespace {

// What the installer puts beside Fitcheck.exe.
const char* const kInstalledFiles[] = {
    "Fitcheck.exe", "Fitview.exe", "Hostkit.dll", "KX3D.dll", "kx3dcol.dll", "glspec.ini",
    "data\\test.q3d", "data\\testA.bmp", "data\\testB.bmp", "data\\testC.bmp", "data\\testD.bmp",
    "data\\testE.bmp", "data\\testF.bmp", "data\\testG.bmp", "data\\testH.bmp", "data\\testI.bmp",
    "data\\testJ.bmp",
};

std::string LocalAppData() {
  char folder[MAX_PATH] = {};
  GetEnvironmentVariableA("LOCALAPPDATA", folder, MAX_PATH);
  return folder;
}

}  // namespace

WizardInstall::WizardInstall(const std::string& name) : folder_(name) {
  const std::string run = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  product_key_ = "Software\\KxWizardTest " + run + "\\";
  environment_key_ = product_key_ + "Environment";
  log_folder_ = LocalAppData() + "\\Halvane\\KxWizardTest" + run + "\\";

  const std::string bin = TestProgramFolder() + "..\\bin\\";
  CreateDirectoryA((folder_ / "data").c_str(), nullptr);
  for (const char* file : kInstalledFiles) CopyFileA((bin + file).c_str(), (folder_ / file).c_str(), FALSE);
  TempFolder::WriteFile(folder_ / "KxEnvSettings.ini",
                        "[Settings]\r\nRegPath=" + product_key_ + "\r\nLogPath=KxWizardTest" + run + "\r\n");
}

WizardInstall::~WizardInstall() {
  if (process_) {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
  // A viewer left behind by a failed test would hold the installation.
  if (HWND viewer = FindWindowA(nullptr, "ドミレルデザイナー動作チェック")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(viewer, &pid);
    win::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (process) {
      TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), 5000);
    }
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, product_key_.c_str());
  TempFolder::RemoveTree(log_folder_);
}

void WizardInstall::RemoveFile(const std::string& relative_path) {
  DeleteFileA((folder_ / relative_path).c_str());
}

bool WizardInstall::Start(const std::string& arguments) {
  std::string command_line = "\"" + (folder_ / "Fitcheck.exe") + "\"";
  if (!arguments.empty()) command_line += " " + arguments;
  process_ = StartProcess(command_line, folder_.path());
  return static_cast<bool>(process_);
}

DWORD WizardInstall::StartAnotherAndWait(DWORD timeout_ms, const std::string& arguments) {
  std::string command_line = "\"" + (folder_ / "Fitcheck.exe") + "\"";
  if (!arguments.empty()) command_line += " " + arguments;
  const win::UniqueHandle process = StartProcess(command_line, folder_.path());
  if (!process) return 0xFFFFFFFF;
  DWORD code = 0xFFFFFFFE;
  if (WaitForSingleObject(process.get(), timeout_ms) == WAIT_OBJECT_0) GetExitCodeProcess(process.get(), &code);
  return code;
}

DWORD WizardInstall::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool WizardInstall::WaitForExit(DWORD timeout_ms) {
  return process_ && WaitForSingleObject(process_.get(), timeout_ms) == WAIT_OBJECT_0;
}

bool WizardInstall::ReadValue(const std::string& name, DWORD& type, std::string& bytes) const {
  const RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, environment_key_, name);
  if (value.status != RegistryValue::kRead) return false;
  type = value.type;
  bytes = value.bytes;
  return true;
}

bool WizardInstall::ReadDword(const std::string& name, DWORD& value) const {
  value = 0xFFFFFFFF;
  return ReadRegistryValue(HKEY_CURRENT_USER, environment_key_, name).AsDword(value);
}

std::vector<std::string> WizardInstall::ValueNames() const {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, environment_key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return names;
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD size = sizeof name;
    if (RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  RegCloseKey(key);
  return names;
}

std::vector<std::string> WizardInstall::ReadLog(const std::string& prefix) const {
  std::vector<std::string> lines;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((log_folder_ + prefix + "*.log").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return lines;
  const std::string bytes = TempFolder::ReadFile(log_folder_ + data.cFileName);
  FindClose(find);
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    // "HH:MM:SS.mmm, " is 14 bytes.
    lines.push_back(end - start >= 14 ? bytes.substr(start + 14, end - start - 14) : "<short line>");
  }
  return lines;
}

std::vector<std::string> WizardInstall::WizardLog() const { return ReadLog("envchk_"); }
std::vector<std::string> WizardInstall::ViewerLog() const { return ReadLog("env3dk_"); }

}  // namespace kx::test

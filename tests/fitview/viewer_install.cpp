#include "tests/fitview/viewer_install.h"

#include <windows.h>

namespace kx::test {

std::string ViewerInstall::BuildBinFolder() {
  // Test programs live in <build>\testbin, the product in <build>\bin.
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.find_last_of('\\'));
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "bin\\";
}

ViewerInstall::ViewerInstall(const std::string& engine) {
  const std::string bin = BuildBinFolder();
  CreateDirectoryA((folder_ / "data").c_str(), nullptr);
  CreateDirectoryA((folder_ / "~Fitcheck").c_str(), nullptr);
  bool ok = CopyFileA((bin + "Fitview.exe").c_str(), viewer().c_str(), FALSE) &&
            CopyFileA((bin + engine).c_str(), this->engine().c_str(), FALSE) &&
            CopyFileA((bin + "data\\test.q3d").c_str(), data("test.q3d").c_str(), FALSE);
  for (char entry = 'A'; entry <= 'J'; ++entry) {
    const std::string name = std::string("test") + entry + ".bmp";
    ok = CopyFileA((bin + "data\\" + name).c_str(), data(name).c_str(), FALSE) && ok;
  }
  copied_all = ok;
}

std::string ViewerInstall::ResultValue(const std::string& key) const {
  if (!TempFolder::Exists(result())) return "absent";
  char value[64] = {};
  GetPrivateProfileStringA("Fitcheck", key.c_str(), "absent", value, sizeof(value),
                           result().c_str());
  return value;
}

std::vector<std::string> ViewerInstall::LogMessages() const {
  const std::string bytes = TempFolder::ReadFile(log());
  std::vector<std::string> messages;
  for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    // "HH:MM:SS.mmm, " before every message.
    messages.push_back(end - start >= 14 ? bytes.substr(start + 14, end - start - 14) : "?");
  }
  return messages;
}

void ViewerInstall::SetViewerTitle(const std::string& title) const {
  WritePrivateProfileStringA("Settings", "ViewerTitle", title.c_str(),
                             (folder_ / "KxEnvSettings.ini").c_str());
}

void ViewerInstall::SetEngineFailure(const std::string& step, int call) const {
  // The stand-in's own switch, read from beside the engine library.
  const std::string file = folder_ / "kx3d_standin.ini";
  WritePrivateProfileStringA("Failure", "Step", step.c_str(), file.c_str());
  WritePrivateProfileStringA("Failure", "Call", std::to_string(call).c_str(), file.c_str());
}

}  // namespace kx::test

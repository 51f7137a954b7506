// The wizard's logic over fakes of everything around it, for unit tests.
#pragma once

#include <memory>

#include "fitcheck/ui/wizard.h"
#include "tests/fakes/fake_graphics.h"
#include "tests/fakes/fake_system_info.h"
#include "tests/fakes/fake_wizard_view.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_log.h"
#include "tests/fakes/memory_registry.h"

namespace kx::test {

class RecordingModuleFiles final : public ModuleFiles {
 public:
  std::vector<std::string> copies;
  bool ResetAttributes(const std::string&) override { return true; }
  bool Copy(const std::string& from, const std::string& to) override {
    copies.push_back(from + ">" + to);
    return true;
  }
};

class RecordingFolderTree final : public FolderTree {
 public:
  std::vector<std::string> listed;
  std::vector<FolderEntry> List(const std::string& folder) override {
    listed.push_back(folder);
    return {{"KxEnvCheck.ini"}, {"KxEnvResult.ini"}};
  }
  bool RemoveFile(const std::string&) override { return true; }
  bool RemoveFolder(const std::string&) override { return true; }
  bool ClearReadOnly(const std::string&) override { return true; }
};

inline constexpr const char* kHarnessEnvironmentKey = "Software\\HALVANE\\3D Domirel Designer ZT 3\\Environment";

class WizardHarness {
 public:
  // The machine and the settings may be changed before Start().
  FakeSystemInfo system;
  FakeGraphics graphics;
  MemoryLog log;
  MemoryProfileStore profiles;
  MemoryFileSystem files;
  MemoryRegistry registry;
  RecordingModuleFiles module_files;
  RecordingFolderTree folders;
  FakeWizardView view;
  FakeViewerPlatform viewer;
  std::string version_code = "3";

  std::unique_ptr<CKxEnv> env;
  std::unique_ptr<CheckerExchange> exchange;
  std::unique_ptr<ResultStore> results;
  std::unique_ptr<Wizard> wizard;

  const std::string result_file = "C:\\Temp\\~Fitcheck\\KxEnvResult.ini";

  WizardHarness() {
    system.version = FakeSystemInfo::Windows7();
    graphics.spec = FakeGraphics::Capable();
    for (char c = 'A'; c <= 'J'; ++c) files.AddFile(std::string("C:\\App\\data\\test") + c + ".bmp");
    files.AddFile("C:\\App\\data\\test.q3d");
  }

  Wizard& Start() {
    env = std::make_unique<CKxEnv>(KxEnvServices{system, graphics, log.writer}, "ZT", version_code,
                                   "C:\\App\\");
    exchange = std::make_unique<CheckerExchange>(profiles, files, log.writer, "C:\\Temp\\", "C:\\App\\",
                                                 "C:\\Logs\\");
    results = std::make_unique<ResultStore>(registry, module_files, graphics, log.writer,
                                            kHarnessEnvironmentKey,
                                            "Software\\HALVANE\\3D Domirel Designer ZT 3\\Directories");
    wizard = std::make_unique<Wizard>(
        WizardServices{view, viewer, *env, *exchange, *results, folders, log.writer},
        WizardSettings{"3D ドミレルデザイナー", "ドミレルデザイナー動作チェック", "C:\\App\\", "C:\\Logs\\"});
    viewer.notify_self = [this](int kind, int detail) { wizard->OnViewerNotify(kind, detail); };
    log.writer.Close();  // the wizard opens its own log
    wizard->OnInitDialog();
    return *wizard;
  }

  // The viewer of the current test as the platform reports it: its start and
  // end through the worker of the test started last, its view by the viewer.
  void ViewerStarts() { wizard->OnViewerStarted(viewer.last_test); }
  void ViewShown() { wizard->OnViewerNotify(2, 0); }
  void ViewerEnds(std::int32_t exit_code = 0) {
    wizard->OnWorkerReport(viewer.last_test, 3, exit_code);
  }
  void ViewerCannotStart() { wizard->OnWorkerReport(viewer.last_test, 4, 2); }
  void ResultCode(const std::string& code) {
    files.AddFile(result_file);
    profiles.Set(result_file, "Fitcheck", "ResultCode", code);
  }
  // Next from the start page to the first announced test on a good machine.
  void ToFirstTest() {
    Start();
    wizard->OnNext();  // environment
    wizard->OnNext();  // graphics
  }
  std::uint32_t EnvCheckResult() {
    const auto* v = registry.FindValue(RegistryRoot::kCurrentUser, kHarnessEnvironmentKey, "EnvCheckResult");
    return v ? v->dword : 0xFFFFFFFF;
  }
  // The log's messages (the wizard's own file).
  std::vector<std::string> Logged() {
    std::vector<std::string> lines;
    for (const auto& file : log.storage.files) {
      if (file.first.rfind("C:\\Logs\\envchk_", 0) != 0) continue;
      std::size_t start = 0;
      for (std::size_t end; (end = file.second.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(file.second.substr(start + 14, end - start - 14));
      }
    }
    return lines;
  }
};

}  // namespace kx::test

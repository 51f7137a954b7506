// The unattended run under Wine: `Fitcheck /auto /report:...` with the real
// Fitview and the stand-in engine, no one at the keyboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "fitcheck/ui/auto_run.h"
#include "tests/driver/dialog_driver.h"
#include "tests/e2e/wizard_install.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::test {
namespace {

using Strings = std::vector<std::string>;

// Ten viewers at most, each a few seconds under Wine; a viewer that never
// gives its verdict costs the run's bound of 120 s and the close watch's 4 s.
constexpr DWORD kRunTimeout = 300000;

class AutoEndToEnd : public ::testing::Test {
 protected:
  WizardInstall install;

  std::string Report() const { return install.Folder() + "out dir\\r.json"; }
  void RunToEnd(const std::string& arguments, DWORD expected_exit) {
    CreateDirectoryA((install.Folder() + "out dir").c_str(), nullptr);
    ASSERT_TRUE(install.Start(arguments));
    ASSERT_TRUE(install.WaitForExit(kRunTimeout)) << "the unattended run did not end";
    EXPECT_EQ(install.ExitCode(), expected_exit);
  }
  DWORD Dword(const char* name) {
    DWORD value = 0;
    EXPECT_TRUE(install.ReadDword(name, value)) << name;
    return value;
  }
  bool Logged(const std::string& line) {
    const Strings log = install.WizardLog();
    return std::find(log.begin(), log.end(), line) != log.end();
  }
  // The stand-in engine of this installation draws without `effects`.
  void DrawWithout(const std::string& effects) {
    TempFolder::WriteFile(install.Folder() + "kx3d_standin.ini",
                          "[Failure]\r\nDrawWithout=" + effects + "\r\n");
  }
};

TEST_F(AutoEndToEnd, StoresWhatTheInteractiveRunStoresAndReportsIt) {
  RunToEnd("/auto \"/report:" + Report() + "\"", 0);
  // Configuration A, as a user's Yes to the first test stores it.
  EXPECT_EQ(Dword("EnvCheckResult"), 0u);
  EXPECT_EQ(Dword("GraphicLibrary"), 3u);
  EXPECT_EQ(Dword("ShadowMapResolutionLv"), 3u);
  EXPECT_EQ(Dword("ShadingMethod"), 1u);
  EXPECT_EQ(Dword("PerspectiveViewAntialiasLv"), 1u);
  EXPECT_EQ(Dword("ReusePixelFormat"), 0u);
  EXPECT_EQ(Dword("AntiAliasAcceptable"), 1u);
  EXPECT_TRUE(Logged("３Ｄ表示の自動判定により、はい"));
  EXPECT_FALSE(TempFolder::Exists(Report() + ".tmp"));

  const std::string json = TempFolder::ReadFile(Report());
  ASSERT_FALSE(json.empty()) << "no report";
  for (const char* field :
       {"\"schema_version\": 1", "\"fitcheck_version\": \"", "\"utc_time\": \"",
        "\"operating_system\": \"Windows 7", "\"memory\": \"", "\"screen\": \"",
        "\"chip\": \"unknown\"", "\"video_memory_mb\": ", "\"anti_alias_acceptable\": 1",
        "\"shadow_map_acceptable\": 1", "\"phong_shading_acceptable\": 1",
        "\"result_code\": 0, \"likeness\": ", "\"likeness_verdict\": 0, \"ms_to_verdict\": ",
        "\"final_page\": 9", "\"env_check_result\": 0", "\"GraphicLibrary\": 3",
        "\"VideoMemory\": \"", "\"exit_code\": 0"}) {
    EXPECT_NE(json.find(field), std::string::npos) << field << "\n" << json;
  }
  // The configuration's description came over from code page 932: "設定内容" in
  // UTF-8 (the literals of this file are Shift-JIS).
  const char utf8[] = "\"configuration\": \"\xE8\xA8\xAD\xE5\xAE\x9A\xE5\x86\x85\xE5\xAE\xB9(";
  EXPECT_NE(json.find(utf8), std::string::npos) << json;
}

TEST_F(AutoEndToEnd, ConfigurationsThatDrawWrongAreRejectedByTheMeasure) {
  DrawWithout("Shadows");
  RunToEnd("-AUTO", 0);
  // A and B have shadows the engine leaves out; C (anti-aliasing, Phong) draws right.
  EXPECT_EQ(Dword("GraphicLibrary"), 3u);
  EXPECT_EQ(Dword("ShadowMapResolutionLv"), 0u);
  EXPECT_EQ(Dword("ShadingMethod"), 1u);
  EXPECT_EQ(Dword("PerspectiveViewAntialiasLv"), 1u);
  const Strings log = install.WizardLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示の自動判定: 似ていない (2)"), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示の自動判定により、いいえ"), 2);
}

class StubbornAutoEndToEnd : public AutoEndToEnd {};

TEST_F(StubbornAutoEndToEnd, AViewerWithoutAVerdictIsEndedAfterTheBound) {
  // A viewer that reports its view but never a verdict, and never closes.
  ASSERT_TRUE(CopyFileA((TestProgramFolder() + "stubborn_viewer.exe").c_str(),
                        (install.Folder() + "Fitview.exe").c_str(), FALSE));
  ASSERT_TRUE(install.Start("/auto"));
  const ULONGLONG started = GetTickCount64();
  // The second configuration is announced once the first viewer is gone.
  ASSERT_TRUE(WaitUntil(
      [&] {
        const Strings log = install.WizardLog();
        return std::any_of(log.begin(), log.end(), [](const std::string& l) {
          return l.rfind("テストパターン2設定", 0) == 0;
        });
      },
      kRunTimeout, 1000));
  const ULONGLONG elapsed = GetTickCount64() - started;
  EXPECT_GE(elapsed, kAutoVerdictBoundMs);
  std::printf("second configuration after %llu ms\n", elapsed);
  EXPECT_TRUE(Logged("３Ｄ表示の自動判定が時間内に届かないため、３Ｄ表示モジュールを終了"));
  EXPECT_TRUE(Logged("３Ｄ表示ＮＧ。別の設定でテスト 2"));
}

TEST_F(AutoEndToEnd, BadCommandLineShowsNothingAndExitsWith87) {
  RunToEnd("/auto /nonsense", 87);
  DWORD value = 0;
  EXPECT_FALSE(install.ReadDword("EnvCheckResult", value)) << "the wizard ran";
}

TEST_F(AutoEndToEnd, AnotherFitcheckRunningExitsWith3AndSaysSo) {
  ASSERT_TRUE(install.Start());  // an interactive wizard, left on its start page
  ASSERT_TRUE(
      WaitUntil([] { return FindVisibleWindow("動作チェックウィザード") != nullptr; }, 60000));
  CreateDirectoryA((install.Folder() + "out dir").c_str(), nullptr);
  EXPECT_EQ(install.StartAnotherAndWait(60000, "/auto \"/report:" + Report() + "\""), 3u);
  const std::string json = TempFolder::ReadFile(Report());
  EXPECT_NE(json.find("\"not_run\": \"another Fitcheck is running\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"exit_code\": 3"), std::string::npos) << json;
}

TEST_F(AutoEndToEnd, MissingTestFilesExitWith3) {
  install.RemoveFile("data\\test.q3d");
  RunToEnd("/auto", 3);
  EXPECT_EQ(Dword("EnvCheckResult"), 3u);
}

}  // namespace
}  // namespace kx::test

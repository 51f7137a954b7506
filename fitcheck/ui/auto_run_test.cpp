// The unattended run over the wizard's logic with fakes: the steps it takes,
// the verdicts that decide each 3D test, the bound, the exit codes and the
// report.
#include "fitcheck/ui/auto_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fakes/wizard_harness.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;
using Mode = FitcheckCommand::Mode;

TEST(FitcheckCommandTest, OptionsAndBadCommandLines) {
  struct Case {
    Strings arguments;
    Mode mode;
    std::string report;
  };
  const Case cases[] = {
      {{}, Mode::kInteractive, ""},
      {{"/auto"}, Mode::kAuto, ""},
      {{"-AUTO"}, Mode::kAuto, ""},
      {{"/Auto", "/REPORT:C:\\Out Dir\\r.json"}, Mode::kAuto, "C:\\Out Dir\\r.json"},
      {{"-report:r.json", "-auto"}, Mode::kAuto, "r.json"},
      {{"/?"}, Mode::kUsage, ""},
      {{"/report:r.json"}, Mode::kBad, ""},  // a report only of an unattended run
      {{"/auto", "/report:"}, Mode::kBad, ""},
      {{"/auto", "/report:a", "/report:b"}, Mode::kBad, ""},
      {{"/auto", "extra"}, Mode::kBad, ""},
      {{"/automatic"}, Mode::kBad, ""},
      {{"auto"}, Mode::kBad, ""},
      {{"/"}, Mode::kBad, ""},
  };
  for (const Case& c : cases) {
    const FitcheckCommand command = ParseFitcheckCommand(c.arguments);
    EXPECT_EQ(command.mode, c.mode) << ::testing::PrintToString(c.arguments);
    EXPECT_EQ(command.report_path, c.report) << ::testing::PrintToString(c.arguments);
  }
  // A bad command line of an unattended run shows nothing.
  EXPECT_TRUE(ParseFitcheckCommand({"/auto", "/x"}).automatic);
  EXPECT_FALSE(ParseFitcheckCommand({"/x"}).automatic);
}

class FakeAutoPlatform final : public AutoPlatform {
 public:
  std::uint32_t now = 1000;
  Strings calls;
  std::uint32_t NowMs() override { return now; }
  void StartBoundTimer(unsigned ms) override { calls.push_back("bound " + std::to_string(ms)); }
  void StopBoundTimer() override { calls.push_back("bound off"); }
};

class AutoRunTest : public ::testing::Test {
 protected:
  test::WizardHarness h;
  FakeAutoPlatform platform;
  AutoRun run{platform, h.profiles};

  void Start() {
    h.Start();
    h.wizard->SetAutomation(&run);
    Steps();
  }
  // Takes the steps the dialog would take after each event.
  void Steps() {
    for (AutoStep step; (step = run.Step(*h.wizard)) != AutoStep::kNone;) {
      if (step == AutoStep::kNext) {
        h.wizard->OnNext();
      } else {
        h.wizard->OnCancelButton();
        return;
      }
      if (h.view.end_result != -1) return;
    }
  }
  // The viewer of the current test starts, shows its view and reports
  // `verdict`; then it ends once asked to close.
  void RunTest(int verdict) {
    h.ViewerStarts();
    h.ResultCode("0");
    h.profiles.Set(h.result_file, "Fitcheck", "Likeness", verdict == 0 ? "1e-08" : "0.0003");
    platform.now += 1500;
    h.ViewShown();
    h.wizard->OnViewerNotify(5, verdict);
    Steps();
    h.ViewerEnds();
    Steps();
  }
  std::uint32_t Stored(const char* name) {
    const auto* v =
        h.registry.FindValue(RegistryRoot::kCurrentUser, test::kHarnessEnvironmentKey, name);
    return v ? v->dword : 0xFFFFFFFF;
  }
  bool Logged(const std::string& line) {
    const Strings log = h.Logged();
    return std::find(log.begin(), log.end(), line) != log.end();
  }
};

TEST_F(AutoRunTest, AlikeCountsAsYesAndStores) {
  Start();
  ASSERT_EQ(h.wizard->Page(), 7);
  ASSERT_TRUE(h.wizard->TestUnderWay());
  RunTest(0);
  EXPECT_EQ(h.wizard->Page(), 9);
  EXPECT_EQ(h.view.end_result, 2);  // ended by itself, as 終了 ends it
  EXPECT_TRUE(h.view.messages.empty()) << "no question, no message box";
  EXPECT_EQ(Stored("GraphicLibrary"), 3u);  // configuration A
  EXPECT_EQ(Stored("ShadowMapResolutionLv"), 3u);
  EXPECT_EQ(run.ExitCode(h.wizard->Page()), kAutoExitStored);
  ASSERT_EQ(run.Tests().size(), 1u);
  EXPECT_EQ(run.Tests()[0].ms_to_verdict, 1500u);
  EXPECT_EQ(run.Tests()[0].result_code, 0);
  EXPECT_EQ(run.Tests()[0].likeness, 1e-8);
  EXPECT_TRUE(Logged("３Ｄ表示の自動判定: 似ている (0)"));
  EXPECT_TRUE(Logged("３Ｄ表示の自動判定により、はい"));
  h.wizard->OnDestroy();
  EXPECT_EQ(h.EnvCheckResult(), 0u);
}

TEST_F(AutoRunTest, UnlikeAndUnsureGoOnToTheNextConfiguration) {
  Start();
  RunTest(2);
  EXPECT_EQ(h.wizard->Page(), 7);
  EXPECT_EQ(h.viewer.command_lines.size(), 2u);  // the next test started by itself
  RunTest(1);
  RunTest(0);
  EXPECT_EQ(h.wizard->Page(), 9);
  EXPECT_EQ(run.Tests().size(), 3u);
  EXPECT_EQ(Stored("ShadingMethod"), 1u);  // configuration C: Phong, no shadows
  EXPECT_EQ(Stored("ShadowMapResolutionLv"), 0u);
  EXPECT_TRUE(h.view.messages.empty());
  // What a message box would have said is in the log.
  EXPECT_TRUE(Logged("メッセージ（自動実行のため表示せず）: 別の設定でテストします。"));
}

TEST_F(AutoRunTest, NoVerdictWithinTheBoundClosesTheViewerAndGoesOn) {
  Start();
  EXPECT_EQ(platform.calls.front(), "bound " + std::to_string(kAutoVerdictBoundMs));
  h.ViewerStarts();
  h.ViewShown();
  h.viewer.calls.clear();
  h.wizard->OnVerdictBound();
  EXPECT_EQ(h.viewer.calls,
            (Strings{"find ドミレルデザイナー動作チェック", "post close", "watch on"}));
  h.ViewerEnds();  // closed, or terminated on the watch's fourth tick
  Steps();
  EXPECT_EQ(h.wizard->Page(), 7);
  EXPECT_EQ(h.viewer.command_lines.size(), 2u);
  EXPECT_FALSE(run.Tests()[0].verdict.has_value());
  // A verdict that comes after the bound decides nothing.
  h.wizard->OnViewerNotify(5, 0);
  EXPECT_EQ(h.wizard->Page(), 7);
}

TEST_F(AutoRunTest, WarningsArePassedAsNextPassesThem) {
  h.system.memory_bytes = 999ull << 20;
  h.system.bottom = 575;
  Start();
  EXPECT_EQ(h.wizard->Page(), 7);
  EXPECT_TRUE(h.view.messages.empty());
}

TEST_F(AutoRunTest, ExitCodes) {
  {
    test::WizardHarness other;
    other.system.version.minor = 2;  // an operating system that is not acceptable
    AutoRun r(platform, other.profiles);
    other.Start();
    other.wizard->SetAutomation(&r);
    for (AutoStep s; (s = r.Step(*other.wizard)) == AutoStep::kNext;) other.wizard->OnNext();
    EXPECT_EQ(other.wizard->Page(), 1);
    EXPECT_EQ(r.ExitCode(1), kAutoExitUnsuitable);
  }
  {
    test::WizardHarness other;
    other.system.libraries.clear();  // no DirectX
    AutoRun r(platform, other.profiles);
    other.Start();
    other.wizard->SetAutomation(&r);
    for (AutoStep s; (s = r.Step(*other.wizard)) == AutoStep::kNext;) other.wizard->OnNext();
    EXPECT_EQ(other.wizard->Page(), 5);
    EXPECT_EQ(r.ExitCode(5), kAutoExitUnsuitable);
  }
  {
    test::WizardHarness other;
    other.files.files.erase("C:\\App\\data\\test.q3d");
    AutoRun r(platform, other.profiles);
    other.Start();
    other.wizard->SetAutomation(&r);
    for (AutoStep s;
         other.view.end_result == -1 && (s = r.Step(*other.wizard)) == AutoStep::kNext;) {
      other.wizard->OnNext();
    }
    EXPECT_EQ(other.view.end_result, 2);
    EXPECT_TRUE(other.view.messages.empty());
    EXPECT_EQ(r.ExitCode(other.wizard->Page()), kAutoExitCouldNotRun);
  }
  // Every configuration unlike: none passed.
  Start();
  for (int i = 0; i < 10 && h.wizard->Page() == 7; ++i) RunTest(2);
  EXPECT_EQ(h.wizard->Page(), 8);
  EXPECT_EQ(h.view.end_result, 2);
  EXPECT_EQ(run.ExitCode(8), kAutoExitNonePassed);
  EXPECT_EQ(Stored("GraphicLibrary"), 0xFFFFFFFFu);
}

TEST_F(AutoRunTest, ReportHoldsTheRun) {
  Start();
  RunTest(2);
  RunTest(0);
  const AutoReportContext context{"1.2.3", "2026-12-09T12:00:00Z",
                                  [](const std::string& ansi) { return "<" + ansi + ">"; }};
  const std::string report = run.Report(context, *h.env, 9, 0);
  for (const char* field :
       {"\"schema_version\": 1", "\"fitcheck_version\": \"1.2.3\"",
        "\"utc_time\": \"2026-12-09T12:00:00Z\"", "\"operating_system\": \"<", "\"memory\": \"<",
        "\"screen\": \"<", "\"chip\": \"<", "\"video_memory_mb\": ", "\"anti_alias_acceptable\": ",
        "\"likeness\": 0.0003, \"likeness_verdict\": 2, \"ms_to_verdict\": 1500}",
        "\"likeness\": 1e-08, \"likeness_verdict\": 0", "\"final_page\": 9",
        "\"env_check_result\": 0", "\"GraphicLibrary\": 3", "\"ChipType\": \"<",
        "\"exit_code\": 0"}) {
    EXPECT_NE(report.find(field), std::string::npos) << field << "\n" << report;
  }
  const std::string not_run = AutoRun::ReportWithoutRun(context, "another Fitcheck is running", 3);
  EXPECT_NE(not_run.find("\"not_run\": \"another Fitcheck is running\""), std::string::npos);
  EXPECT_NE(not_run.find("\"exit_code\": 3\n}"), std::string::npos);
  // Texts are escaped for JSON.
  const AutoReportContext quoting{"1", "t", [](const std::string&) { return "a\"b\\c\r"; }};
  EXPECT_NE(run.Report(quoting, *h.env, 9, 0).find("\"a\\\"b\\\\c\\r\""), std::string::npos);
}

// Started without arguments the wizard asks as before; the measure, which
// arrives while the question is open, is only logged.
TEST(WizardLikenessTest, InteractiveRunLogsTheMeasureAndAYesToAnUnlikeView) {
  test::WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("0");
  h.view.during = [&](const test::FakeWizardView::Shown&) { h.wizard->OnViewerNotify(5, 2); };
  h.ViewShown();
  ASSERT_EQ(h.view.messages.size(), 1u);
  EXPECT_EQ(h.view.messages[0].text, TEXT_3D_QUESTION);
  h.ViewerEnds();
  EXPECT_EQ(h.wizard->Page(), 9);  // the user's yes decides
  const Strings log = h.Logged();
  const auto at = [&](const std::string& line) {
    return std::find(log.begin(), log.end(), line) - log.begin();
  };
  EXPECT_LT(at("３Ｄ表示の自動判定: 似ていない (2)"), at("サンプルのように表示されましたか？はい"));
  EXPECT_EQ(at("３Ｄ表示の自動判定は「似ていない」でしたが、はいと回答されました"),
            at("サンプルのように表示されましたか？はい") + 1);
}

}  // namespace
}  // namespace kx

// The unattended run: `Fitcheck /auto [/report:<path>]`. The wizard runs its
// pages as Next would, shows no question and no message box, takes each 3D
// test's verdict from the viewer's own measure, stores the first
// configuration that passes as "終了" would, ends by itself and tells the
// caller by its exit code and, when asked, a report.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/profile_store.h"
#include "fitcheck/core/kx_env.h"
#include "fitcheck/ui/wizard.h"

namespace kx {

// What the command line asks for.
struct FitcheckCommand {
  enum class Mode { kInteractive, kAuto, kUsage, kBad };
  Mode mode = Mode::kInteractive;
  bool automatic = false;   // "auto" was given, even on a bad command line
  std::string report_path;  // empty: no report
};
// `arguments` without the program's own name. Options begin with "/" or
// "-" and are case-insensitive: "auto", "report:<path>" (only with "auto"),
// "?"; anything else is a bad command line.
FitcheckCommand ParseFitcheckCommand(const std::vector<std::string>& arguments);

// Exit codes of the unattended run.
inline constexpr int kAutoExitStored = 0;       // a configuration was stored
inline constexpr int kAutoExitNonePassed = 1;   // no configuration passed
inline constexpr int kAutoExitUnsuitable = 2;   // operating system or DirectX
inline constexpr int kAutoExitCouldNotRun = 3;  // files missing, another Fitcheck, a failure
inline constexpr int kAutoExitBadCommand = 87;

// From a test's start to the viewer's verdict. The viewer itself reports a
// view that is not drawn 90 s after it has shown its window; this leaves
// its start-up 30 s more before the test counts as failed.
inline constexpr unsigned kAutoVerdictBoundMs = 120000;

// The platform of the unattended run: a clock and the verdict bound's timer.
class AutoPlatform {
 public:
  virtual ~AutoPlatform() = default;
  // Milliseconds of a running clock (it may wrap).
  virtual std::uint32_t NowMs() = 0;
  virtual void StartBoundTimer(unsigned ms) = 0;
  virtual void StopBoundTimer() = 0;
};

// What the unattended run does next on the wizard.
enum class AutoStep { kNone, kNext, kFinish };

// Everything the report says that does not come from the run itself.
struct AutoReportContext {
  std::string fitcheck_version;
  std::string utc_time;  // ISO 8601, "Z"
  // Text of the ANSI code page to UTF-8.
  std::function<std::string(const std::string&)> to_utf8;
};

class AutoRun final : public WizardAutomation {
 public:
  AutoRun(AutoPlatform& platform, ProfileStore& profiles);

  // The next step for a wizard whose event has just been handled.
  AutoStep Step(const Wizard& wizard);

  // The exit code for a wizard that ended on `final_page`.
  int ExitCode(int final_page) const;

  // The report as UTF-8 JSON.
  std::string Report(const AutoReportContext& context, CKxEnv& env, int final_page,
                     int exit_code) const;
  // The report of a run that could not start (`reason`, ASCII): no machine,
  // no tests, no outcome.
  static std::string ReportWithoutRun(const AutoReportContext& context, const std::string& reason,
                                      int exit_code);

  // WizardAutomation
  void TestStarting(const KxGLOption& option, const std::string& result_file) override;
  void LikenessArrived(int verdict) override;
  void TestDecided() override;
  void SettingsStored(const KxGLOption& option, bool stored) override;
  void StartVerdictBound() override;
  void StopVerdictBound() override;

  struct Test {
    KxGLOption option;
    std::string result_file;
    std::uint32_t started_ms = 0;
    std::optional<int> verdict;
    std::optional<std::uint32_t> ms_to_verdict;
    std::optional<std::int32_t> result_code;  // as the viewer left it
    std::optional<double> likeness;
  };
  const std::vector<Test>& Tests() const { return tests_; }

 private:
  AutoPlatform& platform_;
  ProfileStore& profiles_;
  std::vector<Test> tests_;
  bool finished_ = false;
  std::optional<KxGLOption> stored_;
  bool store_failed_ = false;
};

}  // namespace kx

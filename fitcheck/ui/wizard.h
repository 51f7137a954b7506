// The wizard's decisions: its pages and their texts, the environment and
// graphics checks, the announcement of each configuration, the viewer run
// and its notifications, cancelling and the end. It drives the dialog
// through WizardView and the viewer through ViewerPlatform.
#pragma once

#include <cstdint>
#include <string>

#include "common/log_writer.h"
#include "fitcheck/core/checker_exchange.h"
#include "fitcheck/core/folder_cleanup.h"
#include "fitcheck/core/kx_env.h"
#include "fitcheck/core/result_store.h"
#include "fitcheck/ui/wizard_automation.h"
#include "fitcheck/ui/wizard_view.h"

namespace kx {

struct WizardSettings {
  std::string product;        // inserted into the start page's texts
  std::string viewer_title;   // the viewer's window is found by it
  std::string module_folder;  // the checker's folder, ending in a backslash
  std::string log_folder;     // ending in a backslash
};

struct WizardServices {
  WizardView& view;
  ViewerPlatform& viewer;
  CKxEnv& env;
  CheckerExchange& exchange;
  ResultStore& results;
  FolderTree& folders;
  LogWriter& log;
};

// Where the wizard goes on the screen: centred, a third of the free height
// above it, leaving 360 pixels below for the viewer. `placed` means the
// window had to be pushed to the top and message boxes need a placed owner.
struct WizardPlacement {
  int x = 0;
  int y = 0;
  bool placed = false;
};
WizardPlacement PlaceWizard(const ScreenRect& work_area, const ScreenRect& window);

class Wizard {
 public:
  Wizard(const WizardServices& services, WizardSettings settings);

  // The dialog's events.
  void OnInitDialog();
  void OnNext();
  void OnCancelButton();
  void OnSwitchLabelClicked();
  void OnViewerNotify(int kind, std::int32_t detail);
  void OnViewerClosing();
  // The worker thread of test number `test` (counted by the wizard from 1)
  // reports synchronously: the viewer process was started (true when that
  // test is the current one), or notification `kind` (its end, with the
  // process's exit code as `detail`, or a failed start). Reports of an
  // earlier test's worker are ignored.
  bool OnViewerStarted(unsigned test);
  void OnWorkerReport(unsigned test, int kind, std::int32_t detail);
  void OnDestroy();
  // An unattended run: no question and no message box (their texts are
  // logged), each 3D test decided by the viewer's measure.
  void SetAutomation(WizardAutomation* automation) { automation_ = automation; }
  // The start-to-verdict bound of an unattended run has passed.
  void OnVerdictBound();
  // A viewer was started and its test is not decided yet.
  bool TestUnderWay() const { return test_number_ != 0 && !test_decided_; }
  // Until the current test's worker has reported its viewer's end, Next
  // starts nothing.
  bool ViewerMayRun() const { return viewer_may_run_; }
  // "EnvCheckResult" for a wizard that ends on `page`.
  static std::int32_t EnvCheckResultFor(int page);

  int Page() const { return page_; }
  bool ConfirmCancel() const { return confirm_cancel_; }
  bool MessageBoxPlaced() const { return message_box_placed_; }
  int Progress() const { return progress_; }
  int ViewerRunState() const { return viewer_run_state_; }
  const KxGLOption& CurrentOption() const { return current_option_; }

  // Sets the texts and controls of page `n`.
  void ShowPage(int n);

 private:
  std::string Text(int id) { return view_.LoadText(id); }
  void SetText(int control, const std::string& text);
  MessageAnswer Message(int string_id, MessageStyle style);
  void RefreshTexts();
  void CheckEnvironment(bool strict);
  void CheckGraphics();
  bool Announce();
  bool StartTest();
  bool AdvanceToNextOption();
  void OnViewShown();
  void OnViewerEnded();
  void OnLikeness(int verdict);
  void Judge();
  void CloseViewerAfterJudgement();
  void DecideTest();
  void Succeed();

  WizardView& view_;
  ViewerPlatform& viewer_;
  CKxEnv& env_;
  CheckerExchange& exchange_;
  ResultStore& results_;
  FolderTree& folders_;
  LogWriter& log_;
  WizardSettings settings_;

  // The five data-exchange texts: 1001, 1005, 1006, 1007, 1035.
  std::string title_, main_text_, second_text_, instruction_, verdict_;
  int page_ = 0;
  bool confirm_cancel_ = true;
  bool message_box_placed_ = false;
  bool instruction_grown_ = false;
  int progress_ = 0;
  int progress_base_ = 0;
  int progress_step_ = 0;
  int announced_ = 0;

  // The viewer run.
  KxGLOption current_option_;
  int viewer_run_state_ = 0;  // 0 none yet, 1 started, 2 view reported and found
  bool user_accepted_ = false;
  bool question_open_ = false;
  bool viewer_closing_ = false;
  // The outcome of the current test has been acted on; a later report of
  // the same viewer's end is not acted on again.
  bool test_decided_ = false;
  unsigned test_number_ = 0;  // of the test whose worker was started last
  // From the start of a test until its worker reports that the viewer's
  // process has ended (or could not be started), a viewer of the current
  // test may be alive, holding the viewer's single-instance lock: Next
  // starts nothing then, or the new viewer would find the lock and exit.
  bool viewer_may_run_ = false;
  std::int32_t viewer_exit_code_ = 0;  // of the current test's viewer, once ended

  // The viewer's measure of the current test.
  WizardAutomation* automation_ = nullptr;
  bool likeness_arrived_ = false;
  int likeness_verdict_ = 0;
  bool judged_ = false;  // an unattended run has decided yes or no
};

}  // namespace kx

#include "fitcheck/ui/wizard.h"

#include "common/exchange_contract.h"
#include "common/text.h"
#include "fitcheck/ui/resource.h"

namespace kx {

namespace {
constexpr int kViewerRoom = 360;  // pixels left below the wizard for the viewer
constexpr int kTopMargin = 5;
// The viewer's likeness verdicts (WM_VIEWER_NOTIFY kind 5).
constexpr int kLikenessAlike = 0;
constexpr int kLikenessUnlike = 2;
}  // namespace

WizardPlacement PlaceWizard(const ScreenRect& work, const ScreenRect& window) {
  WizardPlacement p;
  p.x = work.left + (work.width() - window.width()) / 2;
  p.y = work.top + (work.height() - window.height() - kViewerRoom) / 3;
  if (p.y < kTopMargin) {
    p.y = kTopMargin;
    p.placed = true;
  }
  return p;
}

Wizard::Wizard(const WizardServices& services, WizardSettings settings)
    : view_(services.view),
      viewer_(services.viewer),
      env_(services.env),
      exchange_(services.exchange),
      results_(services.results),
      folders_(services.folders),
      log_(services.log),
      settings_(std::move(settings)) {}

void Wizard::SetText(int control, const std::string& text) {
  switch (control) {
    case IDC_PAGE_TITLE: title_ = text; break;
    case IDC_MAIN_TEXT: main_text_ = text; break;
    case IDC_SECOND_TEXT: second_text_ = text; break;
    case IDC_INSTRUCTION: instruction_ = text; break;
    case IDC_VERDICT_TEXT: verdict_ = text; break;
    default: break;
  }
  view_.SetText(control, text);
}

void Wizard::RefreshTexts() {
  view_.SetText(IDC_PAGE_TITLE, title_);
  view_.SetText(IDC_MAIN_TEXT, main_text_);
  view_.SetText(IDC_SECOND_TEXT, second_text_);
  view_.SetText(IDC_INSTRUCTION, instruction_);
  view_.SetText(IDC_VERDICT_TEXT, verdict_);
}

MessageAnswer Wizard::Message(int string_id, MessageStyle style) {
  if (automation_) {
    // Nobody is there to read it: the log has it for whoever looks later.
    log_.Log("メッセージ（自動実行のため表示せず）: " + Text(string_id));
    return MessageAnswer::kOk;
  }
  return view_.ShowMessage(Text(string_id), style, message_box_placed_);
}

void Wizard::OnInitDialog() {
  if (!log_.IsOpen() && log_.Open(settings_.log_folder + "envchk_<DATE>.log", LogWriter::kAppend)) {
    log_.Log(kLogSeparator);
  }
  log_.Log("動作チェックウィザード開始");
  (void)results_.WriteEnvCheckResult(kEnvCheckRunning);

  const WizardPlacement placement = PlaceWizard(view_.WorkArea(), view_.WindowRect());
  view_.MoveWindowTo(placement.x, placement.y);
  message_box_placed_ = placement.placed;

  ShowPage(0);
  log_.Log("チェックイメージロード終了");
  view_.SetProgress(progress_ = 0);
  log_.Log("プログレスバー初期化終了");
  log_.Log("初期化処理終了");
}

void Wizard::ShowPage(int n) {
  const int previous = page_;
  const auto finish_page = [&] { view_.SetText(IDC_CANCEL_BUTTON, Text(IDS_FINISH)); };
  const auto progress = [&](int position) { view_.SetProgress(progress_ = position); };
  view_.PlaceMainText(n == 0 || n == 7);
  switch (n) {
    case 0:
      SetText(IDC_PAGE_TITLE, Format(Text(IDS_PAGE_TITLE).c_str(), settings_.product.c_str()));
      SetText(IDC_MAIN_TEXT, Format(Text(IDS_START_TEXT).c_str(), settings_.product.c_str()));
      SetText(IDC_SECOND_TEXT, "");
      SetText(IDC_VERDICT_TEXT, "");
      SetText(IDC_INSTRUCTION, Text(IDS_CLICK_NEXT));
      view_.SetPicture(IDB_PAGE_START);
      view_.ShowControl(IDC_NEXT, true);
      confirm_cancel_ = true;
      for (int id : {IDC_INSTALL_DIRECTX, IDC_SWITCH_SETTINGS, IDC_SWITCH_LABEL, IDC_DIRECTX_LINK}) {
        view_.ShowControl(id, false);
      }
      break;
    case 1:
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_END));
      SetText(IDC_VERDICT_TEXT, Text(IDS_OS_NOT_SUPPORTED));
      SetText(IDC_INSTRUCTION, "");
      view_.SetPicture(IDB_PAGE_PROBLEM);
      view_.ShowControl(IDC_NEXT, false);
      progress(100);
      confirm_cancel_ = false;
      log_.Log(verdict_);
      finish_page();
      break;
    case 2:
    case 3:
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_ENVIRONMENT));
      SetText(IDC_VERDICT_TEXT, Text(n == 2 ? IDS_MEMORY_LOW : IDS_SCREEN_SMALL));
      SetText(IDC_INSTRUCTION, Text(n == 2 ? IDS_NEXT_TO_SCREEN : IDS_NEXT_TO_GRAPHICS));
      view_.SetPicture(IDB_PAGE_WARNING);
      progress(n == 2 ? 14 : 23);
      confirm_cancel_ = false;
      log_.Log(verdict_);
      break;
    case 4:
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_ENVIRONMENT));
      SetText(IDC_VERDICT_TEXT, Text(previous == 2 ? IDS_ENVIRONMENT_OK_MEMORY : IDS_ENVIRONMENT_OK));
      SetText(IDC_INSTRUCTION, Text(IDS_NEXT_TO_GRAPHICS));
      view_.SetPicture(previous == 2 ? IDB_PAGE_WARNING : IDB_PAGE_OK);
      view_.ShowControl(IDC_NEXT, true);
      progress(23);
      confirm_cancel_ = true;
      log_.Log(verdict_);
      break;
    case 5:
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_END));
      SetText(IDC_MAIN_TEXT, Text(IDS_NO_DIRECTX));
      SetText(IDC_SECOND_TEXT, "");
      SetText(IDC_VERDICT_TEXT, Text(IDS_DIRECTX_SITE));
      SetText(IDC_INSTRUCTION, Text(IDS_DIRECTX_DISC));
      view_.SetPicture(IDB_PAGE_PROBLEM);
      view_.ShowControl(IDC_NEXT, false);
      progress(100);
      confirm_cancel_ = false;
      view_.ShowControl(IDC_INSTALL_DIRECTX, true);
      view_.ShowControl(IDC_DIRECTX_LINK, true);
      finish_page();
      break;
    case 6:  // defined, never shown
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_END));
      break;
    case 7:
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_TEST));
      SetText(IDC_SECOND_TEXT, Text(IDS_TEST_HINT));
      SetText(IDC_VERDICT_TEXT, "");
      view_.SetPicture(IDB_PAGE_START);
      break;
    case 8:
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_END));
      SetText(IDC_MAIN_TEXT, Text(IDS_3D_FAILED));
      SetText(IDC_SECOND_TEXT, "");
      SetText(IDC_VERDICT_TEXT, Text(IDS_DRIVER_PROBLEM));
      SetText(IDC_INSTRUCTION, Text(IDS_DRIVER_SOURCE));
      view_.SetPicture(IDB_PAGE_PROBLEM);
      view_.ShowControl(IDC_NEXT, false);
      progress(100);
      confirm_cancel_ = false;
      log_.Log(main_text_);
      if (!instruction_grown_) {  // the long driver text needs two more lines
        view_.GrowInstructionUpward(20);
        instruction_grown_ = true;
      }
      finish_page();
      break;
    case 9:
      SetText(IDC_PAGE_TITLE, Text(IDS_TITLE_END));
      SetText(IDC_MAIN_TEXT, Text(IDS_DONE));
      SetText(IDC_SECOND_TEXT, "");
      SetText(IDC_INSTRUCTION, Text(IDS_CHECK_OVER));
      view_.SetPicture(IDB_PAGE_OK);
      view_.ShowControl(IDC_NEXT, false);
      progress(100);
      confirm_cancel_ = true;
      log_.Log(main_text_);
      view_.ShowControl(IDC_SWITCH_SETTINGS, true);
      view_.ShowControl(IDC_SWITCH_LABEL, true);
      view_.SetChecked(IDC_SWITCH_SETTINGS, true);
      finish_page();
      break;
    default:
      return;
  }
  page_ = n;
  RefreshTexts();
}

void Wizard::CheckEnvironment(bool strict) {
  if (strict) log_.Log("OS等環境のチェック開始");
  std::string summary = Text(IDS_OS_LABEL) + env_.GetOsName();
  const auto show = [&](int page) {
    ShowPage(page);
    SetText(IDC_MAIN_TEXT, summary);
    log_.Log(summary);
  };
  if (strict && !env_.IsOsAcceptable()) return show(1);
  summary += "\r" + Text(IDS_MEMORY_LABEL) + env_.GetMemoryText();
  if (strict && !env_.IsMemoryAcceptable()) return show(2);
  summary += "\r" + Text(IDS_SCREEN_LABEL) + env_.GetScreenText();
  show(env_.IsScreenAcceptable() ? 4 : 3);
  log_.Log("OS等環境のチェック終了");
}

void Wizard::CheckGraphics() {
  log_.Log("グラフィックス環境のチェック開始");
  if (!env_.IsDirectXPresent()) {
    ShowPage(5);
    log_.Log("DirectX必須DLLのチェックエラー");
    return;
  }
  if (env_.CheckGLEnv()) {
    ShowPage(7);
    if (!Announce()) ShowPage(8);
  } else {
    log_.Log("m_Env.CheckGLEnv()エラー");
  }
  log_.Log("グラフィックス環境のチェック終了");
}

bool Wizard::Announce() {
  if (!env_.NextOption(current_option_)) return false;
  if (announced_ == 0) {
    progress_base_ = progress_;
    progress_step_ = (100 - progress_base_) / env_.CountEnabled();
  }
  view_.SetProgress(progress_ = progress_step_ * announced_ + progress_base_);
  ++announced_;
  const std::string counter =
      ReplaceAll(Format("%d%s", announced_, Text(IDS_TEST_COUNTER).c_str()), "10つ", "10こ");
  SetText(IDC_MAIN_TEXT, counter);
  const std::string settings = DescribeForTest(current_option_, env_.NewGeneration());
  SetText(IDC_INSTRUCTION, settings);
  log_.Log(Format("テストパターン%d設定: %s", announced_, settings.c_str()));
  return true;
}

bool Wizard::AdvanceToNextOption() {
  const bool announced = Announce();
  if (!announced) ShowPage(8);
  RefreshTexts();
  return announced;
}

bool Wizard::StartTest() {
  log_.Log("３Ｄ表示モジュールを別スレッドで起動");
  view_.EnableControl(IDC_NEXT, false);
  // A viewer still running from an earlier run holds the viewer's lock, and
  // every viewer started now would exit at once; it writes its result file
  // when it closes, so it is ended before this test's request is written.
  if (viewer_.EndLeftViewer(settings_.viewer_title))
    log_.Log("前回の３Ｄ表示モジュールが残っていたので終了");
  const std::string folder = exchange_.ExchangeFolder();
  const std::string request = folder + exchange::kRequestFileName;
  const std::string result = folder + exchange::kResultFileName;
  viewer_closing_ = false;
  test_decided_ = false;
  const bool written =
      exchange_.WriteRequest(current_option_, request, result, view_.WindowValue());
  if (!written && exchange_.LastResultCode() == exchange::kResultFilesMissing) return false;
  ++test_number_;
  likeness_arrived_ = false;
  judged_ = false;
  if (automation_) {
    automation_->TestStarting(current_option_, result);
    automation_->StartVerdictBound();
  }
  if (!written) {
    // A request written only in part would run other flags than the ones
    // stored on success: it is a viewer that could not be started.
    viewer_.NotifySelf(exchange::kNotifyViewerError, exchange::kNotifyStartFailedDetail);
    return true;
  }
  const std::string command_line =
      "\"" + settings_.module_folder + exchange::kViewerProgram + "\" \"" + request + "\"";
  viewer_may_run_ = true;
  // A worker that cannot even be started is a viewer that could not be started.
  if (!viewer_.StartViewerWorker(command_line, test_number_)) {
    viewer_may_run_ = false;
    viewer_.NotifySelf(exchange::kNotifyViewerError, exchange::kNotifyStartFailedDetail);
  }
  return true;
}

void Wizard::OnNext() {
  switch (page_) {
    case 0: CheckEnvironment(true); break;
    case 2: CheckEnvironment(false); break;
    case 3:
    case 4: CheckGraphics(); break;
    case 7:
      if (viewer_may_run_) break;  // the current test's viewer has not ended yet
      if (!StartTest() && exchange_.LastResultCode() == exchange::kResultFilesMissing) {
        Message(IDS_FILES_MISSING, MessageStyle::kExclamation);
        Message(IDS_WIZARD_ABORT, MessageStyle::kExclamation);
        view_.EndDialog(2);
        log_.Log("必要なファイルが見つからなかったので処理を終了");
      }
      break;
    default: break;
  }
  RefreshTexts();
}

void Wizard::OnCancelButton() {
  if (page_ == 9) {
    if (view_.IsChecked(IDC_SWITCH_SETTINGS)) {
      const bool stored = results_.StoreGraphicSettings(current_option_, env_);
      if (stored) log_.Log("グラフィックライブラリレジストリの設定終了");
      if (automation_) automation_->SettingsStored(current_option_, stored);
    }
    if (!env_.NewGeneration()) results_.SwitchGraphicLibraryModule(current_option_);
    view_.EndDialog(2);
    return;
  }
  if (confirm_cancel_ && Message(IDS_CONFIRM_CANCEL, MessageStyle::kQuestion) != MessageAnswer::kYes) {
    return;
  }
  view_.EndDialog(2);
}

void Wizard::OnSwitchLabelClicked() {
  view_.SetChecked(IDC_SWITCH_SETTINGS, !view_.IsChecked(IDC_SWITCH_SETTINGS));
  RefreshTexts();
}

bool Wizard::OnViewerStarted(unsigned test) {
  if (test != test_number_) return false;
  viewer_run_state_ = 1;
  return true;
}

void Wizard::OnWorkerReport(unsigned test, int kind, std::int32_t detail) {
  // The worker of an earlier test reports the end of a viewer whose test was
  // decided before the user started this one: it is not this test's end.
  if (test != test_number_) return;
  if (kind == exchange::kNotifyViewerEnded) {
    viewer_exit_code_ = detail;
    detail = 0;
  }
  viewer_may_run_ = false;  // ended, or never started
  OnViewerNotify(kind, detail);
}

void Wizard::OnViewerClosing() { viewer_closing_ = true; }

void Wizard::OnViewerNotify(int kind, std::int32_t detail) {
  log_.Log(">> メッセージのチェック開始");
  view_.EnableControl(IDC_NEXT, !viewer_may_run_);
  if (kind == exchange::kNotifyViewShown && !viewer_may_run_) {
    // Posted just before its viewer ended, it came after the end it
    // preceded: there is no view left to judge.
    log_.Log("終了した３Ｄ表示モジュールからの起動成功メッセージは無視");
  } else if (kind == exchange::kNotifyViewShown) {
    OnViewShown();
  } else if (kind == exchange::kNotifyViewerEnded) {
    OnViewerEnded();
  } else if (kind == exchange::kNotifyLikeness) {
    OnLikeness(detail);
  } else if (kind == exchange::kNotifyViewerError && !test_decided_) {
    DecideTest();
    log_.Log(detail == exchange::kNotifyStartFailedDetail
                 ? "３Ｄ表示モジュールプロセス起動失敗。別の設定でテスト 4"
                 : "起動後の３Ｄ表示アプリからのエラーメッセージ。別の設定でテスト 5");
    Message(IDS_OTHER_SETTINGS, MessageStyle::kInformation);
    AdvanceToNextOption();
  }
  log_.Log(">> メッセージのチェック終了");
}

void Wizard::OnViewShown() {
  log_.Log("３Ｄ表示モジュールから起動成功メッセージ受信");
  user_accepted_ = false;
  if (!viewer_.FindViewerWindow(settings_.viewer_title)) {
    log_.Log("３Ｄ表示モジュールプロセスが見つからない");
    Message(IDS_3D_RETRY, MessageStyle::kInformation);
    return;
  }
  viewer_run_state_ = 2;
  if (automation_) {
    // No question: the viewer's measure decides, when it comes.
    if (likeness_arrived_) Judge();
    return;
  }
  question_open_ = true;
  // The question is modal: the viewer's end can be reported while it is open.
  if (Message(IDS_3D_QUESTION, MessageStyle::kQuestion) == MessageAnswer::kYes) {
    log_.Log("サンプルのように表示されましたか？はい");
    user_accepted_ = true;
    if (likeness_arrived_ && likeness_verdict_ == kLikenessUnlike) {
      log_.Log("３Ｄ表示の自動判定は「似ていない」でしたが、はいと回答されました");
    }
  } else {
    log_.Log("サンプルのように表示されましたか？いいえ");
    Message(IDS_OTHER_SETTINGS, MessageStyle::kInformation);
  }
  question_open_ = false;
  CloseViewerAfterJudgement();
}

void Wizard::CloseViewerAfterJudgement() {
  if (!viewer_.FindViewerWindow(settings_.viewer_title) || viewer_closing_) {
    log_.Log("３Ｄ表示モジュールは終了しています");
    viewer_.NotifySelf(exchange::kNotifyViewerEnded, 0);
    // A viewer that said it is closing may still be ending its engine, with
    // the lock held: it gets the same four seconds as after a close request.
    if (viewer_may_run_) {
      log_.Log("３Ｄ表示モジュール終了監視用タイマー起動");
      viewer_.StartCloseWatch();
    }
    return;
  }
  log_.Log("３Ｄ表示モジュールに終了を促すメッセージを送信");
  viewer_.PostCloseToViewer();
  log_.Log("３Ｄ表示モジュール終了監視用タイマー起動");
  viewer_.StartCloseWatch();
}

void Wizard::OnViewerEnded() {
  // The watch goes with the viewer it watched, even when the test was decided
  // earlier (by an error report while the question was open): left running,
  // it would terminate whatever viewer runs on its fourth tick.
  viewer_.StopCloseWatch();
  if (test_decided_) return;  // this test's end was acted on already
  log_.Log("３Ｄ表示モジュールの待機スレッドが終了");
  log_.Log("３Ｄ表示モジュール終了監視用タイマー終了");
  viewer_closing_ = true;
  if (viewer_run_state_ == 2) {
    if (user_accepted_) {
      DecideTest();
      const std::string result = exchange_.ExchangeFolder() + exchange::kResultFileName;
      if (exchange_.ReadResult(result)) {
        log_.Log("３Ｄ表示ＯＫ。結果を表示");
        Succeed();
      } else {
        log_.Log("３Ｄ表示ＮＧ。別の設定でテスト 1");
        AdvanceToNextOption();
      }
    } else if (!question_open_) {
      DecideTest();
      log_.Log("３Ｄ表示ＮＧ。別の設定でテスト 2");
      AdvanceToNextOption();
    }
    // Otherwise the question is still open; its answer finds the viewer gone.
  } else if (viewer_run_state_ == 1) {
    DecideTest();
    log_.Log("３Ｄ表示ＮＧ。別の設定でテスト 3");
    log_.Log(Format("３Ｄ表示モジュールの終了コード:%d", viewer_exit_code_));
    Message(IDS_3D_RETRY, MessageStyle::kInformation);
    AdvanceToNextOption();
  }
}

void Wizard::DecideTest() {
  test_decided_ = true;
  if (automation_) {
    automation_->StopVerdictBound();
    automation_->TestDecided();
  }
}

void Wizard::OnLikeness(int verdict) {
  static const char* const kVerdictText[] = {"似ている", "判定できない", "似ていない"};
  const int shown = verdict >= kLikenessAlike && verdict <= kLikenessUnlike ? verdict : kLikenessUnlike;
  log_.Log(Format("３Ｄ表示の自動判定: %s (%d)", kVerdictText[shown], static_cast<int>(verdict)));
  if (test_decided_ || likeness_arrived_) return;
  likeness_arrived_ = true;
  likeness_verdict_ = verdict;
  if (automation_) {
    automation_->LikenessArrived(verdict);
    if (viewer_run_state_ == 2) Judge();
  } else if (user_accepted_ && verdict == kLikenessUnlike) {
    log_.Log("３Ｄ表示の自動判定は「似ていない」でしたが、はいと回答されました");
  }
}

void Wizard::Judge() {
  if (judged_) return;
  judged_ = true;
  automation_->StopVerdictBound();
  // Alike counts as the user's yes; unsure and unlike as no.
  user_accepted_ = likeness_verdict_ == kLikenessAlike;
  if (user_accepted_) {
    log_.Log("３Ｄ表示の自動判定により、はい");
  } else {
    log_.Log("３Ｄ表示の自動判定により、いいえ");
    Message(IDS_OTHER_SETTINGS, MessageStyle::kInformation);
  }
  CloseViewerAfterJudgement();
}

void Wizard::OnVerdictBound() {
  if (!automation_ || !TestUnderWay() || judged_) return;
  judged_ = true;
  user_accepted_ = false;
  log_.Log("３Ｄ表示の自動判定が時間内に届かないため、３Ｄ表示モジュールを終了");
  // The close watch terminates it after four ticks if it does not close.
  if (viewer_.FindViewerWindow(settings_.viewer_title)) viewer_.PostCloseToViewer();
  viewer_.StartCloseWatch();
}

std::int32_t Wizard::EnvCheckResultFor(int page) {
  if (page == 9) return kEnvCheckPassed;
  if (page == 1 || page == 5 || page == 8) return kEnvCheckFailed;
  return kEnvCheckCancelled;
}

void Wizard::Succeed() {
  ShowPage(9);
  SetText(IDC_VERDICT_TEXT, DescribeResult(current_option_, env_.NewGeneration(), Text(IDS_RESULT_HEADING)));
  log_.Log(verdict_);
}

void Wizard::OnDestroy() {
  // Left running, the viewer would hold its lock into the next run, and
  // would write its result file into the folder emptied below.
  if (viewer_may_run_) viewer_.EndCurrentViewer(settings_.viewer_title);
  const std::int32_t code = EnvCheckResultFor(page_);
  if (results_.WriteEnvCheckResult(code)) {
    log_.Log("結果をレジストリに保存終了");
    log_.Log(Format("メインメニューに通知するレジストリコード:%d", code));
  }
  if (exchange_.FolderUsed()) EmptyFolder(folders_, exchange_.ExchangeFolder());
  log_.Log("テンポラリフォルダの削除終了");
  log_.Log("動作チェックウィザード終了");
}

}  // namespace kx

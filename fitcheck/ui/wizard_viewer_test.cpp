// One 3D test as the wizard runs it: the viewer's reports, the question, the
// close request and the outcome.
#include <gtest/gtest.h>

#include "fitcheck/ui/close_watch.h"
#include "tests/fakes/wizard_harness.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;
using test::WizardHarness;

// The log from the start of the first test on.
Strings TestLog(WizardHarness& h) {
  Strings log = h.Logged();
  auto it = std::find(log.begin(), log.end(), "３Ｄ表示モジュールを別スレッドで起動");
  return Strings(it, log.end());
}

TEST(WizardViewerTest, YesOnTheFirstConfigurationSucceeds) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  EXPECT_FALSE(h.view.Enabled(IDC_NEXT));
  ASSERT_EQ(h.viewer.command_lines.size(), 1u);
  EXPECT_EQ(h.viewer.command_lines[0], "\"C:\\App\\Fitview.exe\" \"C:\\Temp\\~Fitcheck\\KxEnvCheck.ini\"");
  EXPECT_EQ(*h.profiles.Find("C:\\Temp\\~Fitcheck\\KxEnvCheck.ini", "Fitcheck", "hwnd"), "74565");
  h.ViewerStarts();
  h.ResultCode("0");
  h.ViewShown();
  EXPECT_FALSE(h.view.Enabled(IDC_NEXT));  // until the viewer has ended
  EXPECT_EQ(h.view.messages.at(0).text, TEXT_3D_QUESTION);
  h.wizard->OnViewerClosing();
  h.ViewerEnds();
  EXPECT_EQ(h.wizard->Page(), 9);
  EXPECT_EQ(h.view.texts[IDC_VERDICT_TEXT],
            "正常動作したグラフィックスドライバの設定:\rDirectX\r　・アンチエイリアスを有効\r"
            "　・影を落とす\r　・フォンシェーディングを有効");
  EXPECT_TRUE(h.view.Visible(IDC_SWITCH_SETTINGS));
  EXPECT_TRUE(h.view.IsChecked(IDC_SWITCH_SETTINGS));
  EXPECT_EQ(h.view.texts[IDC_CANCEL_BUTTON], "終了");
  EXPECT_EQ(h.viewer.calls, (Strings{"start", "find ドミレルデザイナー動作チェック", "find ドミレルデザイナー動作チェック",
                                     "post close", "watch on", "watch off"}));
  EXPECT_EQ(TestLog(h),
            (Strings{"３Ｄ表示モジュールを別スレッドで起動", ">> メッセージのチェック開始",
                     "３Ｄ表示モジュールから起動成功メッセージ受信", "サンプルのように表示されましたか？はい",
                     "３Ｄ表示モジュールに終了を促すメッセージを送信", "３Ｄ表示モジュール終了監視用タイマー起動",
                     ">> メッセージのチェック終了", ">> メッセージのチェック開始",
                     "３Ｄ表示モジュールの待機スレッドが終了", "３Ｄ表示モジュール終了監視用タイマー終了",
                     "３Ｄ表示モジュールからの結果コード:0", "３Ｄ表示ＯＫ。結果を表示", "正常終了しました。",
                     h.view.texts[IDC_VERDICT_TEXT], ">> メッセージのチェック終了"}));
}

TEST(WizardViewerTest, FinishOnTheSuccessPageStoresTheSettings) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("0");
  h.ViewShown();
  h.ViewerEnds();
  h.wizard->OnCancelButton();
  EXPECT_EQ(h.view.end_result, 2);
  EXPECT_TRUE(h.view.messages.size() == 1);  // no question on the success page
  const auto* library = h.registry.FindValue(RegistryRoot::kCurrentUser, test::kHarnessEnvironmentKey,
                                             "GraphicLibrary");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(library->dword, 3u);
  EXPECT_TRUE(h.module_files.copies.empty());  // the new generation switches no files
  h.wizard->OnDestroy();
  EXPECT_EQ(h.EnvCheckResult(), 0u);
  const Strings log = h.Logged();
  EXPECT_NE(std::find(log.begin(), log.end(), "グラフィックライブラリレジストリの設定終了"), log.end());
  EXPECT_EQ(Strings(log.end() - 4, log.end()),
            (Strings{"結果をレジストリに保存終了", "メインメニューに通知するレジストリコード:0",
                     "テンポラリフォルダの削除終了", "動作チェックウィザード終了"}));
  EXPECT_EQ(h.folders.listed, Strings{"C:\\Temp\\~Fitcheck\\"});
}

TEST(WizardViewerTest, OlderGenerationSwitchesTheLibraryEvenUnchecked) {
  WizardHarness h;
  h.version_code = "2";
  {
    auto key = h.registry.CreateKey(RegistryRoot::kLocalMachine,
                                    "Software\\HALVANE\\3D Domirel Designer ZT 3\\Directories", "",
                                    RegistryAccess::kAll);
    ASSERT_TRUE(key->SetString("ProgramDir", "C:\\Prog"));
    ASSERT_TRUE(key->SetString("InstallDir", "C:\\Inst"));
  }
  h.ToFirstTest();
  EXPECT_EQ(h.view.texts[IDC_INSTRUCTION], "設定内容(参考):\rDirectX、影On、フォンシェーディングOn");
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("0");
  h.ViewShown();
  h.ViewerEnds();
  h.wizard->OnSwitchLabelClicked();  // unchecks
  h.wizard->OnCancelButton();
  EXPECT_EQ(h.registry.FindValue(RegistryRoot::kCurrentUser, test::kHarnessEnvironmentKey, "GraphicLibrary"),
            nullptr);
  EXPECT_EQ(h.module_files.copies, (Strings{"C:\\Inst\\kx3dlib\\kx3d.ds3>C:\\Prog\\kx3d.dll",
                                            "C:\\Inst\\kx3dlib\\kx3dcol.drx>C:\\Prog\\kx3dcol.dll"}));
}

TEST(WizardViewerTest, YesButAFailedResultTriesTheNextConfiguration) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("4");
  h.ViewShown();
  h.ViewerEnds();
  EXPECT_EQ(h.wizard->Page(), 7);
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  const Strings log = TestLog(h);
  EXPECT_NE(std::find(log.begin(), log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 1"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "３Ｄ表示モジュールからの結果コード:4"), log.end());
}

TEST(WizardViewerTest, NoShowsAMessageAndTriesTheNextConfiguration) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.view.answers = {MessageAnswer::kNo};
  h.ViewShown();
  ASSERT_EQ(h.view.messages.size(), 2u);
  EXPECT_EQ(h.view.messages[1].text, "別の設定でテストします。");
  EXPECT_EQ(h.view.messages[1].style, MessageStyle::kInformation);
  h.ViewerEnds();
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  const Strings log = TestLog(h);
  EXPECT_NE(std::find(log.begin(), log.end(), "サンプルのように表示されましたか？いいえ"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 2"), log.end());
}

TEST(WizardViewerTest, ViewerWindowNotFoundThenItsEnd) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.viewer.window_present = false;
  h.ViewShown();
  ASSERT_EQ(h.view.messages.size(), 1u);
  EXPECT_EQ(h.view.messages[0].text, TEXT_3D_RETRY);
  EXPECT_EQ(h.wizard->ViewerRunState(), 1);
  h.ViewerEnds();
  EXPECT_EQ(h.view.messages.size(), 2u);
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  const Strings log = TestLog(h);
  EXPECT_NE(std::find(log.begin(), log.end(), "３Ｄ表示モジュールプロセスが見つからない"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 3"), log.end());
}

TEST(WizardViewerTest, ViewerEndsWhileTheQuestionIsOpen) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("0");
  h.view.during = [&](const auto&) {
    h.viewer.window_present = false;  // the user closed the viewer
    h.ViewerEnds();                   // reported while the question is open: nothing yet
    EXPECT_EQ(h.wizard->Page(), 7);
  };
  h.ViewShown();  // answered Yes
  EXPECT_EQ(h.wizard->Page(), 9);
  const Strings log = TestLog(h);
  EXPECT_NE(std::find(log.begin(), log.end(), "３Ｄ表示モジュールは終了しています"), log.end());
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示モジュールの待機スレッドが終了"), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示ＯＫ。結果を表示"), 1);
}

TEST(WizardViewerTest, ASecondEndReportForTheSameTestIsIgnored) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.view.answers = {MessageAnswer::kNo};
  // The viewer announces that it is closing before the answer, but its
  // process has not ended yet when the answer comes.
  h.view.during = [&](const auto&) { h.wizard->OnViewerClosing(); };
  h.ViewShown();
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  EXPECT_EQ(h.view.progress, 30);
  h.ViewerEnds();  // the worker's report of the same end
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  EXPECT_EQ(h.view.progress, 30);
  EXPECT_EQ(h.env->CurrentIndex(), 1);  // configuration B is still to be tested
  const Strings log = TestLog(h);
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 2"), 1);

  // The next test is handled normally.
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("0");
  h.ViewShown();
  h.ViewerEnds();
  EXPECT_EQ(h.wizard->Page(), 9);
  EXPECT_EQ(h.wizard->CurrentOption().BmpFile, "testB.bmp");
}

TEST(WizardViewerTest, ASecondReportAfterYesDoesNotRepeatThePassCheck) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("5");
  h.view.during = [&](const auto&) { h.wizard->OnViewerClosing(); };
  h.ViewShown();
  h.ViewerEnds();
  const Strings log = TestLog(h);
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示モジュールからの結果コード:5"), 1);
  EXPECT_EQ(h.env->CurrentIndex(), 1);
}

TEST(WizardViewerTest, StartFailuresAndReportedErrors) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerCannotStart();
  EXPECT_EQ(h.view.messages.at(0).text, "別の設定でテストします。");
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  EXPECT_TRUE(h.view.Enabled(IDC_NEXT));
  h.wizard->OnNext();
  h.ViewerStarts();
  h.wizard->OnViewerNotify(4, 7);
  h.ViewerEnds();  // its end does not skip another configuration
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "3つめの設定で、3Dの表示をテストします。");
  // A worker thread that cannot be created counts as a failed start.
  h.viewer.worker_starts = false;
  h.wizard->OnNext();
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "4つめの設定で、3Dの表示をテストします。");
  const Strings log = TestLog(h);
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示モジュールプロセス起動失敗。別の設定でテスト 4"), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "起動後の３Ｄ表示アプリからのエラーメッセージ。別の設定でテスト 5"), 1);
}

TEST(WizardViewerTest, AnErrorReportDuringTheQuestionStillHasItsWatchStopped) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  // The viewer reports an error while the question is open: the test is
  // decided there, but the answer still finds the viewer and asks it to close.
  h.view.during = [&](const auto&) { h.wizard->OnViewerNotify(4, 5); };
  h.ViewShown();  // answered Yes
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  ASSERT_EQ(h.viewer.calls.back(), "watch on");
  h.ViewerEnds();  // its end decides nothing more, but the watch must not outlive it
  EXPECT_EQ(h.viewer.calls.back(), "watch off");
  EXPECT_EQ(h.env->CurrentIndex(), 1);
  EXPECT_EQ(h.wizard->Page(), 7);
}

TEST(WizardViewerTest, NextDuringTheCloseDoesNotLoseTheYes) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("0");
  h.ViewShown();  // Yes; the viewer is asked to close
  EXPECT_FALSE(h.view.Enabled(IDC_NEXT));
  const unsigned first = h.viewer.last_test;
  h.wizard->OnNext();  // before the viewer has ended
  if (h.viewer.last_test != first) {
    // A second viewer finds the first one's lock and exits at once.
    h.ViewerStarts();
    h.ViewerEnds();
  }
  h.wizard->OnWorkerReport(first, 3, 0);  // the first viewer's end
  EXPECT_EQ(h.wizard->Page(), 9);
  EXPECT_EQ(h.wizard->CurrentOption().BmpFile, "testA.bmp");
  EXPECT_EQ(std::count(h.viewer.calls.begin(), h.viewer.calls.end(), "start"), 1);
  EXPECT_EQ(h.viewer.calls.back(), "watch off");
}

TEST(WizardViewerTest, TheNextTestStartsOnceTheEarlierViewerHasEnded) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  const unsigned first = h.viewer.last_test;
  // The viewer says it is closing while the question is open; after No the
  // wizard moves on before the viewer's process has ended, and watches it.
  h.view.answers = {MessageAnswer::kNo};
  h.view.during = [&](const auto&) { h.wizard->OnViewerClosing(); };
  h.ViewShown();
  EXPECT_EQ(h.env->CurrentIndex(), 1);
  EXPECT_EQ(h.viewer.calls.back(), "watch on");
  EXPECT_FALSE(h.view.Enabled(IDC_NEXT));
  h.wizard->OnNext();
  EXPECT_EQ(h.viewer.last_test, first);

  h.ViewerEnds();
  EXPECT_TRUE(h.view.Enabled(IDC_NEXT));
  h.wizard->OnNext();  // configuration B
  EXPECT_NE(h.viewer.last_test, first);
  // A late report of the first worker is not B's.
  EXPECT_FALSE(h.wizard->OnViewerStarted(first));
  h.wizard->OnWorkerReport(first, 4, 2);
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  EXPECT_EQ(h.view.messages.size(), 2u);  // the question and its No

  h.ViewerStarts();
  h.ResultCode("0");
  h.ViewShown();
  h.ViewerEnds();
  EXPECT_EQ(h.wizard->Page(), 9);
  EXPECT_EQ(h.wizard->CurrentOption().BmpFile, "testB.bmp");
}

TEST(WizardViewerTest, AViewShownAfterItsViewersEndIsIgnored) {
  WizardHarness h;
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ViewerEnds();  // the sent end overtook the posted kind 2
  h.ViewShown();
  ASSERT_EQ(h.view.messages.size(), 1u);
  EXPECT_EQ(h.view.messages[0].text, TEXT_3D_RETRY);
  EXPECT_EQ(h.env->CurrentIndex(), 1);
  EXPECT_EQ(h.wizard->Page(), 7);
  const Strings log = TestLog(h);
  EXPECT_EQ(Strings(log.end() - 3, log.end()),
            (Strings{">> メッセージのチェック開始",
                     "終了した３Ｄ表示モジュールからの起動成功メッセージは無視",
                     ">> メッセージのチェック終了"}));
}

TEST(WizardViewerTest, ViewersThatCannotLoadEndEachTestWithTheirExitCode) {
  WizardHarness h;
  h.ToFirstTest();
  for (int n = 1; n <= 10; ++n) {
    h.wizard->OnNext();
    h.ViewerStarts();
    // An entry point of the engine is missing: the loader ends the viewer.
    h.ViewerEnds(static_cast<std::int32_t>(0xC0000139u));
  }
  EXPECT_EQ(h.wizard->Page(), 8);
  EXPECT_EQ(h.view.messages.size(), 10u);
  EXPECT_EQ(h.view.messages.back().text, TEXT_3D_RETRY);
  const Strings log = TestLog(h);
  const auto at = std::find(log.begin(), log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 3");
  ASSERT_NE(at, log.end());
  EXPECT_EQ(*(at + 1), "３Ｄ表示モジュールの終了コード:-1073741511");
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 3"), 10);
}

TEST(WizardViewerTest, ARequestWrittenInPartIsNotRun) {
  WizardHarness h;
  h.ToFirstTest();
  h.profiles.failing_key = "hwnd";  // an old window would stay in the request
  h.wizard->OnNext();
  EXPECT_TRUE(h.viewer.command_lines.empty());
  ASSERT_EQ(h.view.messages.size(), 1u);
  EXPECT_EQ(h.view.messages[0].text, TEXT_OTHER_SETTINGS);
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "2つめの設定で、3Dの表示をテストします。");
  EXPECT_TRUE(h.view.Enabled(IDC_NEXT));
  EXPECT_EQ(h.view.end_result, -1);
  const Strings log = TestLog(h);
  EXPECT_NE(std::find(log.begin(), log.end(), "設定ファイルへの書き込み失敗 Key=hwnd"), log.end());
  EXPECT_NE(
      std::find(log.begin(), log.end(), "３Ｄ表示モジュールプロセス起動失敗。別の設定でテスト 4"),
      log.end());
}

TEST(WizardViewerTest, AViewerLeftRunningIsEnded) {
  WizardHarness h;
  h.ToFirstTest();
  h.viewer.left_viewer = true;  // by an earlier run
  h.wizard->OnNext();
  EXPECT_EQ(h.viewer.calls, (Strings{"end left viewer", "start"}));
  const Strings log = TestLog(h);
  EXPECT_EQ(log.at(1), "前回の３Ｄ表示モジュールが残っていたので終了");

  // Escape while this test's viewer starts: the wizard's end ends it too.
  h.wizard->OnDestroy();
  EXPECT_EQ(h.viewer.calls.back(), "end current viewer");

  WizardHarness ended;
  ended.ToFirstTest();
  ended.wizard->OnNext();
  ended.ViewerStarts();
  ended.ViewerEnds();
  ended.wizard->OnDestroy();
  EXPECT_EQ(std::count(ended.viewer.calls.begin(), ended.viewer.calls.end(), "end current viewer"),
            0);
}

TEST(WizardViewerTest, AnEndReportBeforeAnyViewerDoesNothing) {
  WizardHarness h;
  h.ToFirstTest();
  h.ViewerEnds();
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "1つめの設定で、3Dの表示をテストします。");
  EXPECT_TRUE(h.view.messages.empty());
}

TEST(CloseWatchTest, TheFourthTickOfTheCurrentTimerTerminates) {
  CloseWatchTicks watch;
  EXPECT_FALSE(watch.OnTick(0));
  watch.Started(7);
  EXPECT_FALSE(watch.OnTick(8));
  EXPECT_FALSE(watch.OnTick(7));
  EXPECT_FALSE(watch.OnTick(7));
  EXPECT_FALSE(watch.OnTick(7));
  EXPECT_FALSE(watch.OnTick(9));
  EXPECT_TRUE(watch.OnTick(7));
  EXPECT_FALSE(watch.OnTick(7));
  watch.Started(11);  // a new watch counts afresh
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(watch.OnTick(11));
  EXPECT_TRUE(watch.OnTick(11));
}

}  // namespace
}  // namespace kx

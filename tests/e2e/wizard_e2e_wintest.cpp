// The whole check under Wine: Fitcheck, the real Fitview and the stand-in
// engine, driven as a user would drive them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "fitcheck/ui/wizard_strings.h"
#include "tests/driver/wizard_driver.h"
#include "tests/e2e/wizard_install.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::test {
namespace {

using Strings = std::vector<std::string>;

constexpr DWORD kViewerTimeout = 120000;  // a viewer start under Wine takes a few seconds
constexpr const char* kViewerTitle = "ドミレルデザイナー動作チェック";

std::string Counter(int n) {
  return std::to_string(n) + (n == 10 ? "こ" : "つ") + "めの設定で、3Dの表示をテストします。";
}

class WizardEndToEnd : public ::testing::Test {
 protected:
  WizardInstall install;
  WizardDriver wizard;

  void SetUp() override {
    ASSERT_TRUE(install.Start());
    ASSERT_TRUE(wizard.WaitForWizard(60000));
  }
  // Next from the start page to the first announced configuration.
  void ToFirstTest() {
    ASSERT_TRUE(wizard.Click(1002));
    ASSERT_TRUE(wizard.WaitForText(1035, TEXT_ENVIRONMENT_OK, 30000));
    ASSERT_TRUE(wizard.Click(1002));
    ASSERT_TRUE(wizard.WaitForText(1005, Counter(1), 60000));
  }
  // The next message box: its text, answered with `button`.
  std::string Answer(int button, DWORD timeout = 30000) {
    HWND box = nullptr;
    std::string text;
    if (!wizard.WaitForMessageBox(timeout, box) || !WizardDriver::ReadMessageText(box, text)) {
      return "<no message>";
    }
    EXPECT_TRUE(WizardDriver::AnswerMessageBox(box, button)) << text;
    return text;
  }
  // With KX_E2E_SHOTS naming a folder, the wizard as it looks now is saved
  // there, for looking at every page.
  void Shot(const std::string& name) {
    char folder[MAX_PATH] = {};
    if (GetEnvironmentVariableA("KX_E2E_SHOTS", folder, MAX_PATH) == 0) return;
    Sleep(300);  // let the page finish painting
    (void)SaveScreenshot(std::string(folder) + "\\" + name + ".bmp", wizard.window());
  }
  DWORD Dword(const char* name) {
    DWORD value = 0;
    EXPECT_TRUE(install.ReadDword(name, value)) << name;
    return value;
  }
  void EndsWith(DWORD code) {
    ASSERT_TRUE(wizard.WaitUntilGone(30000));
    ASSERT_TRUE(install.WaitForExit(30000));
    EXPECT_EQ(Dword("EnvCheckResult"), code);
  }
};

TEST_F(WizardEndToEnd, YesOnTheFirstConfigurationStoresIt) {
  ToFirstTest();
  ASSERT_TRUE(wizard.Click(1002));
  HWND box = nullptr;
  ASSERT_TRUE(wizard.WaitForMessageBox(kViewerTimeout, box));
  EXPECT_NE(FindVisibleWindow(kViewerTitle), nullptr);  // the viewer shows its view
  std::string question;
  ASSERT_TRUE(WizardDriver::ReadMessageText(box, question));
  EXPECT_EQ(question, TEXT_3D_QUESTION);
  ASSERT_TRUE(WizardDriver::AnswerMessageBox(box, IDYES));

  ASSERT_TRUE(wizard.WaitForText(1005, TEXT_DONE, 60000));
  Shot("page9");
  const std::string description =
      "正常動作したグラフィックスドライバの設定:\rDirectX\r　・アンチエイリアスを有効\r"
      "　・影を落とす\r　・フォンシェーディングを有効";
  ASSERT_TRUE(wizard.WaitForText(1035, description, 5000));
  std::string finish;
  ASSERT_TRUE(wizard.ReadText(1003, finish));
  EXPECT_EQ(finish, "終了");
  ControlState check;
  ASSERT_TRUE(wizard.ReadState(1009, check));
  EXPECT_TRUE(check.visible && check.checked);
  EXPECT_TRUE(WaitUntil([] { return FindVisibleWindow(kViewerTitle) == nullptr; }, 30000));

  ASSERT_TRUE(wizard.Click(1003));
  EndsWith(0);

  // Configuration A with the capabilities Wine reports.
  Strings names = install.ValueNames();  // the registry lists them in its own order
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Strings{"AntiAliasAcceptable", "ChipType", "EnvCheckResult", "GraphicLibrary",
                            "PerspectiveViewAntialiasLv", "PhongShadingAcceptable", "ReusePixelFormat",
                            "ShadingMethod", "ShadowMapAcceptable", "ShadowMapResolutionLv", "VideoMemory"}));
  EXPECT_EQ(Dword("GraphicLibrary"), 3u);
  EXPECT_EQ(Dword("AntiAliasAcceptable"), 1u);
  EXPECT_EQ(Dword("ShadowMapAcceptable"), 1u);
  EXPECT_EQ(Dword("PhongShadingAcceptable"), 1u);
  EXPECT_EQ(Dword("ShadowMapResolutionLv"), 3u);
  EXPECT_EQ(Dword("ShadingMethod"), 1u);
  EXPECT_EQ(Dword("PerspectiveViewAntialiasLv"), 1u);
  EXPECT_EQ(Dword("ReusePixelFormat"), 0u);
  DWORD type = 0;
  std::string bytes;
  ASSERT_TRUE(install.ReadValue("ChipType", type, bytes));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, std::string("unknown\0", 8));
  ASSERT_TRUE(install.ReadValue("VideoMemory", type, bytes));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_GT(atof(bytes.c_str()), 32.0);

  // The log of the whole run, line by line.
  MEMORYSTATUSEX memory = {};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatusEx(&memory);
  const std::string summary = "OS: Windows 7  (6.1.7601) Service Pack 1\r搭載メモリ: " +
                              std::to_string(memory.ullTotalPhys >> 20) + " MB\r画面解像度: " +
                              std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                              std::to_string(GetSystemMetrics(SM_CYSCREEN));
  Strings log = install.WizardLog();
  ASSERT_GT(log.size(), 12u);
  EXPECT_EQ(log[11].rfind("ビデオメモリ:", 0), 0u) << log[11];
  EXPECT_NE(log[11].find(" チップタイプ:unknown"), std::string::npos) << log[11];
  log[11] = "<video>";
  EXPECT_EQ(log, (Strings{
                     "-----------------------------------",
                     "動作チェックウィザード開始",
                     "チェックイメージロード終了",
                     "プログレスバー初期化終了",
                     "初期化処理終了",
                     "OS等環境のチェック開始",
                     TEXT_ENVIRONMENT_OK,
                     summary,
                     "OS等環境のチェック終了",
                     "グラフィックス環境のチェック開始",
                     "KxEnv::CheckGLEnv 開始",
                     "<video>",
                     "AntiAliasAceeptable:1 ShadowMapAceeptable:1 PhongShadingAceeptable:1",
                     "DirectX = 1 DirectX9c = 1",
                     "KxEnv::CheckGLEnv 終了",
                     "テストパターン1設定: 設定内容(参考):\rDirectX、アンチエイリアスOn、影On、フォンシェーディングOn",
                     "グラフィックス環境のチェック終了",
                     "３Ｄ表示モジュールを別スレッドで起動",
                     ">> メッセージのチェック開始",
                     "３Ｄ表示モジュールから起動成功メッセージ受信",
                     // The viewer's measure arrives while the question is open.
                     ">> メッセージのチェック開始",
                     "３Ｄ表示の自動判定: 似ている (0)",
                     ">> メッセージのチェック終了",
                     "サンプルのように表示されましたか？はい",
                     "３Ｄ表示モジュールに終了を促すメッセージを送信",
                     "３Ｄ表示モジュール終了監視用タイマー起動",
                     ">> メッセージのチェック終了",
                     ">> メッセージのチェック開始",
                     "３Ｄ表示モジュールの待機スレッドが終了",
                     "３Ｄ表示モジュール終了監視用タイマー終了",
                     "３Ｄ表示モジュールからの結果コード:0",
                     "３Ｄ表示ＯＫ。結果を表示",
                     TEXT_DONE,
                     description,
                     ">> メッセージのチェック終了",
                     "グラフィックライブラリレジストリの設定終了",
                     "結果をレジストリに保存終了",
                     "メインメニューに通知するレジストリコード:0",
                     "テンポラリフォルダの削除終了",
                     "動作チェックウィザード終了",
                 }));
  const Strings viewer = install.ViewerLog();
  ASSERT_FALSE(viewer.empty());
  EXPECT_EQ(viewer.front(), "-----------------------------------");
}

TEST_F(WizardEndToEnd, NoToEveryConfigurationEndsOnTheFailurePage) {
  ToFirstTest();
  for (int n = 1; n <= 10; ++n) {
    ASSERT_TRUE(wizard.Click(1002)) << n;
    EXPECT_EQ(Answer(IDNO, kViewerTimeout), TEXT_3D_QUESTION) << n;
    EXPECT_EQ(Answer(IDOK), TEXT_OTHER_SETTINGS) << n;
    if (n < 10) {
      ASSERT_TRUE(wizard.WaitForText(1005, Counter(n + 1), 60000)) << n;
    }
  }
  ASSERT_TRUE(wizard.WaitForText(1005, TEXT_3D_FAILED, 60000));
  Shot("page8");
  ControlState next;
  ASSERT_TRUE(wizard.ReadState(1002, next));
  EXPECT_FALSE(next.visible);
  ASSERT_TRUE(wizard.Click(1003));  // no question on a final page
  EndsWith(2);
  DWORD library = 0;
  EXPECT_FALSE(install.ReadDword("GraphicLibrary", library));
}

TEST_F(WizardEndToEnd, EscapeOnTheTestPageEndsAtOnce) {
  ToFirstTest();
  ASSERT_TRUE(wizard.PressEscape());
  EndsWith(3);
  EXPECT_EQ(install.WizardLog().back(), "動作チェックウィザード終了");
}

BOOL CALLBACK CountVisibleWizard(HWND window, LPARAM count) {
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  if (IsWindowVisible(window) && std::string(title) == TEXT_WIZARD_CAPTION) {
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

TEST_F(WizardEndToEnd, SecondStartShowsNoSecondWizard) {
  EXPECT_EQ(install.StartAnotherAndWait(30000), 0u);
  int wizards = 0;
  EnumWindows(CountVisibleWizard, reinterpret_cast<LPARAM>(&wizards));
  EXPECT_EQ(wizards, 1);
  ASSERT_TRUE(wizard.CloseByCloseBox());
  EndsWith(3);
}

// Installed as Fitview.exe: a viewer that reports its view and then ignores
// the close request.
class StubbornViewerEndToEnd : public WizardEndToEnd {
 protected:
  void SetUp() override {
    stubborn_installed_ = CopyFileA((TestProgramFolder() + "stubborn_viewer.exe").c_str(),
                                    (install.Folder() + "Fitview.exe").c_str(), FALSE) != FALSE;
    WizardEndToEnd::SetUp();
  }
  bool stubborn_installed_ = false;
};

TEST_F(StubbornViewerEndToEnd, CloseWatchTerminatesItAndYesStillPassesDespiteNext) {
  ASSERT_TRUE(stubborn_installed_);
  ToFirstTest();
  ASSERT_TRUE(wizard.Click(1002));
  EXPECT_EQ(Answer(IDYES, kViewerTimeout), TEXT_3D_QUESTION);
  // The page still says Next shows the views: a user who clicks it while the
  // viewer is being closed starts nothing (the driver, like the mouse, finds
  // it disabled), and the Yes is kept.
  (void)wizard.Click(1002);
  // The viewer never ends by itself: only the watch's fourth tick ends it.
  ASSERT_TRUE(wizard.WaitForText(1005, TEXT_DONE, 60000));
  EXPECT_EQ(FindVisibleWindow(kViewerTitle), nullptr);

  // The close request was message 1035 naming the wizard's window, sent once;
  // nothing else reached the viewer.
  const std::string wizard_value =
      std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(wizard.window())));
  EXPECT_EQ(TempFolder::ReadFile(install.Folder() + "received.txt"), "1035 " + wizard_value + " 0\n");

  const Strings log = install.WizardLog();
  const auto at = [&](const char* line) { return std::find(log.begin(), log.end(), line) - log.begin(); };
  EXPECT_LT(at("３Ｄ表示モジュール終了監視用タイマー起動"), at("３Ｄ表示モジュールの待機スレッドが終了"));
  EXPECT_LT(at("３Ｄ表示モジュールの待機スレッドが終了"), at("３Ｄ表示ＯＫ。結果を表示"));
  EXPECT_LT(at("３Ｄ表示ＯＫ。結果を表示"), static_cast<std::ptrdiff_t>(log.size()));
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示モジュールを別スレッドで起動"), 1);
  ASSERT_TRUE(wizard.Click(1003));
  EndsWith(0);
  EXPECT_EQ(Dword("GraphicLibrary"), 3u);
}

// A viewer of an earlier run, still up: the stubborn viewer, holding the
// viewer's lock, started before the wizard.
class LeftViewerEndToEnd : public WizardEndToEnd {
 protected:
  TempFolder earlier_{"earlier run"};
  win::UniqueHandle left_;

  void SetUp() override {
    TempFolder::WriteFile(
        earlier_ / "KxEnvCheck.ini",
        "[Fitcheck]\r\nResultFile=" + (earlier_ / "KxEnvResult.ini") + "\r\nhwnd=0\r\n");
    left_ = StartProcess("\"" + TestProgramFolder() + "stubborn_viewer.exe\" \"" +
                         (earlier_ / "KxEnvCheck.ini") + "\"");
    ASSERT_TRUE(left_);
    ASSERT_TRUE(WaitUntil([] { return FindVisibleWindow(kViewerTitle) != nullptr; }, 30000));
    WizardEndToEnd::SetUp();
  }
  void TearDown() override {
    if (left_ && WaitForSingleObject(left_.get(), 0) == WAIT_TIMEOUT)
      TerminateProcess(left_.get(), 1);
    if (left_) WaitForSingleObject(left_.get(), 5000);
    DeleteFileA((TestProgramFolder() + "received.txt").c_str());  // what it was sent, beside it
  }
};

TEST_F(LeftViewerEndToEnd, IsEndedBeforeTheTestsViewerStarts) {
  ToFirstTest();
  ASSERT_TRUE(wizard.Click(1002));
  EXPECT_EQ(Answer(IDYES, kViewerTimeout), TEXT_3D_QUESTION);
  ASSERT_TRUE(wizard.WaitForText(1005, TEXT_DONE, 60000));
  EXPECT_EQ(WaitForSingleObject(left_.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
  const Strings log = install.WizardLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "前回の３Ｄ表示モジュールが残っていたので終了"), 1);
  ASSERT_TRUE(wizard.Click(1003));
  EndsWith(0);
}

TEST_F(WizardEndToEnd, AViewerStartedWhenTheWizardEndsDoesNotFailTheNextRun) {
  ToFirstTest();
  ASSERT_TRUE(wizard.Click(1002));
  // The viewer has read its request (its log says so) and starts its engine;
  // it reports its view only once the engine is up.
  ASSERT_TRUE(WaitUntil([&] { return install.ViewerLog().size() >= 2; }, kViewerTimeout, 20));
  EXPECT_EQ(wizard.FindMessageBox(), nullptr);
  ASSERT_TRUE(wizard.PressEscape());  // while the viewer starts, before it reports its view
  EndsWith(3);
  // The wizard's end waited for the viewer's; none is left to hold its lock.
  EXPECT_EQ(FindWindowA(nullptr, kViewerTitle), nullptr);

  ASSERT_TRUE(install.Start());
  ASSERT_TRUE(wizard.WaitForWizard(60000));
  ToFirstTest();
  ASSERT_TRUE(wizard.Click(1002));
  EXPECT_EQ(Answer(IDYES, kViewerTimeout), TEXT_3D_QUESTION);
  ASSERT_TRUE(wizard.WaitForText(1005, TEXT_DONE, 60000));
  ASSERT_TRUE(wizard.Click(1003));
  EndsWith(0);
}

class NoViewerEndToEnd : public WizardEndToEnd {
 protected:
  void SetUp() override {
    install.RemoveFile("Fitview.exe");
    WizardEndToEnd::SetUp();
  }
};

TEST_F(NoViewerEndToEnd, AFailedStartTriesTheNextConfiguration) {
  ToFirstTest();
  ASSERT_TRUE(wizard.Click(1002));
  EXPECT_EQ(Answer(IDOK), TEXT_OTHER_SETTINGS);
  ASSERT_TRUE(wizard.WaitForText(1005, Counter(2), 30000));
  ControlState next;
  ASSERT_TRUE(wizard.ReadState(1002, next));
  EXPECT_TRUE(next.enabled);
  const Strings log = install.WizardLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示モジュールプロセス起動失敗。別の設定でテスト 4"), 1);
  ASSERT_TRUE(wizard.PressEscape());
  EndsWith(3);
}

// Viewers that the system's loader cannot start: their engine library is
// missing.
class NoEngineEndToEnd : public WizardEndToEnd {
 protected:
  void SetUp() override {
    install.RemoveFile("KX3D.dll");
    WizardEndToEnd::SetUp();
  }
};

TEST_F(NoEngineEndToEnd, EachTestEndsWithTheViewersExitCode) {
  ToFirstTest();
  int tests = 0;
  for (std::string main_text; main_text != TEXT_3D_FAILED && tests < 10;) {
    ++tests;
    ASSERT_TRUE(wizard.Click(1002)) << tests;
    // The wizard's own box, not one of the system's.
    ASSERT_EQ(Answer(IDOK, kViewerTimeout), TEXT_3D_RETRY) << tests;
    ASSERT_TRUE(WaitUntil(
        [&] {
          return wizard.ReadText(1005, main_text) &&
                 (main_text == Counter(tests + 1) || main_text == TEXT_3D_FAILED);
        },
        30000))
        << tests;
  }
  EXPECT_EQ(wizard.FindMessageBox(), nullptr);
  ASSERT_TRUE(wizard.WaitForText(1005, TEXT_3D_FAILED, 5000));
  const Strings log = install.WizardLog();
  for (auto it = log.begin();
       (it = std::find(it, log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 3")) != log.end(); ++it) {
    ASSERT_NE(it + 1, log.end());
    EXPECT_EQ((it + 1)->rfind("３Ｄ表示モジュールの終了コード:", 0), 0u) << *(it + 1);
    EXPECT_NE(*(it + 1), "３Ｄ表示モジュールの終了コード:0");
  }
  EXPECT_EQ(std::count(log.begin(), log.end(), "３Ｄ表示ＮＧ。別の設定でテスト 3"), tests);
  ASSERT_TRUE(wizard.Click(1003));
  EndsWith(2);
}

class MissingDataEndToEnd : public WizardEndToEnd {
 protected:
  void SetUp() override {
    install.RemoveFile("data\\test.q3d");
    WizardEndToEnd::SetUp();
  }
};

TEST_F(MissingDataEndToEnd, MissingTestFilesEndTheWizardWithTwoMessages) {
  ToFirstTest();
  ASSERT_TRUE(wizard.Click(1002));
  EXPECT_EQ(Answer(IDOK), TEXT_FILES_MISSING);
  EXPECT_EQ(Answer(IDOK), TEXT_WIZARD_ABORT);
  EndsWith(3);
  const Strings log = install.WizardLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "必要なファイルが見つからなかったので処理を終了"), log.end());
  EXPECT_EQ(FindVisibleWindow(kViewerTitle), nullptr);
}

// Wine's settings for one program, by its file name: the system it reports
// and which built-in libraries it may load.
class ProgramSettings {
 public:
  ProgramSettings(const std::string& subkey, const std::string& name, const std::string& value)
      : key_("Software\\Wine\\AppDefaults\\Fitcheck.exe" + (subkey.empty() ? "" : "\\" + subkey)) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
  }
  ~ProgramSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Fitcheck.exe"); }

 private:
  std::string key_;
};

class OldSystemEndToEnd : public WizardEndToEnd {
 protected:
  ProgramSettings windows2000{"", "Version", "win2k"};
};

TEST_F(OldSystemEndToEnd, AnUnsupportedSystemEndsOnTheFirstCheck) {
  ASSERT_TRUE(wizard.Click(1002));
  ASSERT_TRUE(wizard.WaitForText(1035, TEXT_OS_NOT_SUPPORTED, 30000));
  std::string summary;
  ASSERT_TRUE(wizard.ReadText(1005, summary));
  EXPECT_EQ(summary.rfind("OS: Windows 2000 Professional (5.0.2195)", 0), 0u) << summary;
  Shot("page1");
  ControlState next;
  ASSERT_TRUE(wizard.ReadState(1002, next));
  EXPECT_FALSE(next.visible);
  ASSERT_TRUE(wizard.Click(1003));  // "終了", no question
  EndsWith(2);
}

class NoDirectXEndToEnd : public WizardEndToEnd {
 protected:
  ProgramSettings no_d3dx{"DllOverrides", "d3dx9_34", ""};
};

TEST_F(NoDirectXEndToEnd, MissingDirectXEndsOnTheInstallPage) {
  ASSERT_TRUE(wizard.Click(1002));
  ASSERT_TRUE(wizard.WaitForText(1035, TEXT_ENVIRONMENT_OK, 30000));
  ASSERT_TRUE(wizard.Click(1002));
  ASSERT_TRUE(wizard.WaitForText(1005, TEXT_NO_DIRECTX, 30000));
  std::string link;
  ASSERT_TRUE(wizard.ReadText(1011, link));
  EXPECT_EQ(link, TEXT_DIRECTX_URL);
  ControlState install_button, link_state;
  ASSERT_TRUE(wizard.ReadState(1008, install_button));
  ASSERT_TRUE(wizard.ReadState(1011, link_state));
  EXPECT_TRUE(install_button.visible && link_state.visible);
  Shot("page5");
  ASSERT_TRUE(wizard.Click(1003));
  EndsWith(2);
  const Strings log = install.WizardLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "DirectX必須DLLのチェックエラー"), log.end());
}

// Run by small_screen.sh on a screen of 1024 x 575.
TEST_F(WizardEndToEnd, SmallScreenWarns) {
  if (GetSystemMetrics(SM_CYSCREEN) != 575) GTEST_SKIP() << "needs a 1024 x 575 screen";
  // No room for the viewer below: the wizard sits at the top, and its message
  // boxes are owned by an invisible window placed at its top left.
  RECT rect = {};
  GetWindowRect(wizard.window(), &rect);
  EXPECT_EQ(rect.top, 5);
  ASSERT_TRUE(wizard.Click(1003));
  HWND box = nullptr;
  ASSERT_TRUE(wizard.WaitForMessageBox(30000, box));
  EXPECT_NE(GetWindow(box, GW_OWNER), wizard.window());
  // Disabled as by a box of its own: Next cannot run inside the question.
  EXPECT_FALSE(IsWindowEnabled(wizard.window()));
  EXPECT_FALSE(wizard.Click(1002));
  Shot("placed-question");
  std::string question;
  ASSERT_TRUE(WizardDriver::ReadMessageText(box, question));
  EXPECT_EQ(question, TEXT_CONFIRM_CANCEL);
  ASSERT_TRUE(WizardDriver::AnswerMessageBox(box, IDNO));
  ASSERT_TRUE(wizard.Present());
  EXPECT_TRUE(IsWindowEnabled(wizard.window()));
  std::string summary_before;
  ASSERT_TRUE(wizard.ReadText(1035, summary_before));
  EXPECT_NE(summary_before, TEXT_SCREEN_SMALL);  // the refused click ran no check
  ASSERT_TRUE(wizard.Click(1002));
  ASSERT_TRUE(wizard.WaitForText(1035, TEXT_SCREEN_SMALL, 30000));
  std::string summary;
  ASSERT_TRUE(wizard.ReadText(1005, summary));
  EXPECT_EQ(summary.substr(summary.rfind('\r') + 1), "画面解像度: 1024 x 575");
  Shot("page3");
  ASSERT_TRUE(wizard.Click(1003));  // no question on the warning page
  EndsWith(3);
}

}  // namespace
}  // namespace kx::test

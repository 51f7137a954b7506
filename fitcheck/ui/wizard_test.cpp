// The wizard's pages, transitions, checks, cancelling and end.
#include <gtest/gtest.h>

#include "tests/fakes/wizard_harness.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;
using test::WizardHarness;

TEST(WizardPlacementTest, CentredWithRoomBelowOrPushedToTheTop) {
  const WizardPlacement normal = PlaceWizard({0, 0, 1280, 1024}, {0, 0, 360, 380});
  EXPECT_EQ(normal.x, 460);
  EXPECT_EQ(normal.y, (1024 - 380 - 360) / 3);
  EXPECT_FALSE(normal.placed);
  const WizardPlacement low = PlaceWizard({0, 30, 1024, 600}, {0, 0, 360, 380});
  EXPECT_EQ(low.y, 5);
  EXPECT_TRUE(low.placed);
}

TEST(WizardTest, StartPage) {
  WizardHarness h;
  h.Start();
  auto& v = h.view;
  EXPECT_EQ(h.wizard->Page(), 0);
  EXPECT_EQ(v.texts[IDC_PAGE_TITLE], "3D ドミレルデザイナー\r動作チェックウィザード");
  EXPECT_EQ(v.texts[IDC_MAIN_TEXT], "お使いのコンピュータで、3D ドミレルデザイナーの動作環境をチェックします。");
  EXPECT_EQ(v.texts[IDC_INSTRUCTION], "[次へ]をクリックしてください。");
  EXPECT_EQ(v.texts[IDC_SECOND_TEXT], "");
  EXPECT_EQ(v.picture, IDB_PAGE_START);
  EXPECT_TRUE(v.main_text_at_title_edge);
  for (int id : {IDC_INSTALL_DIRECTX, IDC_SWITCH_SETTINGS, IDC_SWITCH_LABEL, IDC_DIRECTX_LINK}) {
    EXPECT_FALSE(v.Visible(id)) << id;
  }
  EXPECT_EQ(v.moved_x, 460);
  EXPECT_EQ(h.EnvCheckResult(), 1u);
  EXPECT_EQ(h.Logged(), (Strings{"-----------------------------------", "動作チェックウィザード開始",
                                 "チェックイメージロード終了", "プログレスバー初期化終了", "初期化処理終了"}));
}

TEST(WizardTest, GoodMachineGoesToTheEnvironmentPageAndOnToTheFirstTest) {
  WizardHarness h;
  h.Start();
  h.wizard->OnNext();
  auto& v = h.view;
  EXPECT_EQ(h.wizard->Page(), 4);
  EXPECT_EQ(v.texts[IDC_MAIN_TEXT], "OS: Windows 7  (6.1.7601) Service Pack 1\r搭載メモリ: 4096 MB\r画面解像度: 1280 x 1024");
  EXPECT_EQ(v.texts[IDC_VERDICT_TEXT], "OS、メモリ、画面解像度はOKです。");
  EXPECT_EQ(v.picture, IDB_PAGE_OK);
  EXPECT_EQ(v.progress, 23);
  EXPECT_FALSE(v.main_text_at_title_edge);
  EXPECT_TRUE(h.wizard->ConfirmCancel());

  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 7);
  EXPECT_EQ(v.texts[IDC_PAGE_TITLE], "3Dグラフィックスのテスト");
  EXPECT_EQ(v.texts[IDC_MAIN_TEXT], "1つめの設定で、3Dの表示をテストします。");
  EXPECT_EQ(v.texts[IDC_SECOND_TEXT], "[次へ]ボタンをクリックすると、\r別ウインドウにサンプルと3Dパースを\r表示します。");
  EXPECT_EQ(v.texts[IDC_INSTRUCTION],
            "設定内容(参考):\rDirectX、アンチエイリアスOn、影On、フォンシェーディングOn");
  EXPECT_TRUE(v.main_text_at_title_edge);
  EXPECT_EQ(v.picture, IDB_PAGE_START);
}

TEST(WizardTest, MemoryWarningThenNextIsNotStrictAgain) {
  WizardHarness h;
  h.system.memory_bytes = 999ull << 20;
  h.Start();
  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 2);
  EXPECT_EQ(h.view.picture, IDB_PAGE_WARNING);
  EXPECT_EQ(h.view.progress, 14);
  EXPECT_EQ(h.view.texts[IDC_INSTRUCTION], "[次へ]をクリックして、ディスプレイ解像度のチェックに進んでください。");
  EXPECT_FALSE(h.wizard->ConfirmCancel());
  // Not asked again strictly: even an unacceptable OS would now pass on.
  h.system.version.minor = 2;
  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 4);
  EXPECT_EQ(h.view.texts[IDC_VERDICT_TEXT], "OS、画面解像度はOKです。\rメモリは増設をお勧めします。");
  EXPECT_EQ(h.view.picture, IDB_PAGE_WARNING);
}

TEST(WizardTest, SmallScreenWarnsAndCancelDoesNotAsk) {
  WizardHarness h;
  h.system.bottom = 575;
  h.system.right = 1024;
  h.Start();
  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 3);
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT],
            "OS: Windows 7  (6.1.7601) Service Pack 1\r搭載メモリ: 4096 MB\r画面解像度: 1024 x 575");
  EXPECT_EQ(h.view.progress, 23);
  h.wizard->OnCancelButton();
  EXPECT_TRUE(h.view.messages.empty());
  EXPECT_EQ(h.view.end_result, 2);
  h.wizard->OnDestroy();
  EXPECT_EQ(h.EnvCheckResult(), 3u);
}

TEST(WizardTest, SmallScreenCanStillGoOnToTheGraphicsCheck) {
  WizardHarness h;
  h.system.bottom = 575;
  h.Start();
  h.wizard->OnNext();
  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 7);
}

TEST(WizardTest, UnsupportedSystemEndsOnPageOne) {
  WizardHarness h;
  h.system.version.minor = 2;  // 6.2
  h.Start();
  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 1);
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "OS: Windows  (6.2.7601) Service Pack 1");
  EXPECT_EQ(h.view.texts[IDC_CANCEL_BUTTON], "終了");
  EXPECT_FALSE(h.view.Visible(IDC_NEXT));
  EXPECT_EQ(h.view.progress, 100);
  h.wizard->OnNext();  // nothing happens on an end page
  EXPECT_EQ(h.wizard->Page(), 1);
  h.wizard->OnDestroy();
  EXPECT_EQ(h.EnvCheckResult(), 2u);
  const Strings log = h.Logged();
  EXPECT_EQ(Strings(log.begin() + 5, log.end()),
            (Strings{"OS等環境のチェック開始", TEXT_OS_NOT_SUPPORTED, "OS: Windows  (6.2.7601) Service Pack 1",
                     "結果をレジストリに保存終了", "メインメニューに通知するレジストリコード:2",
                     "テンポラリフォルダの削除終了", "動作チェックウィザード終了"}));
}

TEST(WizardTest, NoDirectXEndsOnPageFive) {
  WizardHarness h;
  h.system.libraries.clear();
  h.Start();
  h.wizard->OnNext();
  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 5);
  EXPECT_TRUE(h.view.Visible(IDC_INSTALL_DIRECTX));
  EXPECT_TRUE(h.view.Visible(IDC_DIRECTX_LINK));
  EXPECT_EQ(h.view.texts[IDC_VERDICT_TEXT], TEXT_DIRECTX_SITE);
  EXPECT_EQ(h.Logged().back(), "DirectX必須DLLのチェックエラー");
}

TEST(WizardTest, NoConfigurationLeftGoesToPageEight) {
  WizardHarness h;
  h.Start();
  // A plan already walked to its end has nothing left to announce.
  h.env->CheckGLEnv();
  KxGLOption option;
  while (h.env->NextOption(option)) {
  }
  h.wizard->OnNext();
  h.wizard->OnNext();
  EXPECT_EQ(h.wizard->Page(), 8);
  EXPECT_EQ(h.view.instruction_growth, 20);
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "3Dパースの表示ができませんでした。");
}

TEST(WizardTest, TenConfigurationsMoveTheProgressInSteps) {
  WizardHarness h;
  h.ToFirstTest();
  EXPECT_EQ(h.env->CountEnabled(), 10);
  std::vector<int> positions{h.view.progress};
  for (int i = 1; i < 10; ++i) {
    h.wizard->OnNext();  // start the test
    h.ViewerStarts();
    h.ViewerEnds();  // ended without showing its view: next configuration
    positions.push_back(h.view.progress);
  }
  EXPECT_EQ(positions, (std::vector<int>{23, 30, 37, 44, 51, 58, 65, 72, 79, 86}));
  EXPECT_EQ(h.view.texts[IDC_MAIN_TEXT], "10こめの設定で、3Dの表示をテストします。");
  EXPECT_EQ(h.view.texts[IDC_INSTRUCTION], "設定内容(参考):\rOpenGL、アクセラレータOff");
  // The last one fails too: page 8 with a full bar.
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ViewerEnds();
  EXPECT_EQ(h.wizard->Page(), 8);
  EXPECT_EQ(h.view.progress, 100);
  h.wizard->OnDestroy();
  EXPECT_EQ(h.EnvCheckResult(), 2u);
}

TEST(WizardTest, MissingTestFilesEndTheWizard) {
  WizardHarness h;
  h.files.files.erase("C:\\App\\data\\test.q3d");
  h.ToFirstTest();
  h.wizard->OnNext();
  ASSERT_EQ(h.view.messages.size(), 2u);
  EXPECT_EQ(h.view.messages[0].text, "必要なファイルが見つかりません。再インストールしてください");
  EXPECT_EQ(h.view.messages[1].text, "動作チェックウィザードを中止します");
  EXPECT_EQ(h.view.messages[1].style, MessageStyle::kExclamation);
  EXPECT_EQ(h.view.end_result, 2);
  EXPECT_TRUE(h.viewer.calls.empty());
  EXPECT_EQ(h.Logged().back(), "必要なファイルが見つからなかったので処理を終了");
}

TEST(WizardTest, CancelAsksWhenConfirmCancelAndStaysOnNo) {
  WizardHarness h;
  h.Start();
  h.view.answers = {MessageAnswer::kNo};
  h.wizard->OnCancelButton();
  ASSERT_EQ(h.view.messages.size(), 1u);
  EXPECT_EQ(h.view.messages[0].text, "動作チェックを中止しますか？");
  EXPECT_EQ(h.view.messages[0].style, MessageStyle::kQuestion);
  EXPECT_EQ(h.view.end_result, -1);
  h.wizard->OnCancelButton();  // Yes
  EXPECT_EQ(h.view.end_result, 2);
}

TEST(WizardTest, MessageBoxesArePlacedWhenTheWizardSitsAtTheTop) {
  WizardHarness h;
  h.view.work = {0, 0, 1024, 600};
  h.Start();
  EXPECT_TRUE(h.wizard->MessageBoxPlaced());
  EXPECT_EQ(h.view.moved_y, 5);
  h.view.answers = {MessageAnswer::kNo};
  h.wizard->OnCancelButton();
  EXPECT_TRUE(h.view.messages.at(0).placed);
}

TEST(WizardTest, LabelClickTogglesTheCheckBox) {
  WizardHarness h;
  h.Start();
  h.wizard->OnSwitchLabelClicked();
  EXPECT_TRUE(h.view.IsChecked(IDC_SWITCH_SETTINGS));
  h.wizard->OnSwitchLabelClicked();
  EXPECT_FALSE(h.view.IsChecked(IDC_SWITCH_SETTINGS));
}

}  // namespace
}  // namespace kx

#include "tests/driver/wizard_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kx::test {
namespace {

// The texts of each page, as the wizard sets them.
PageView ViewOf(int page, int configuration = 1) {
  PageView v;
  v.next_visible = true;
  v.next_enabled = true;
  switch (page) {
    case 0:
      v.title = "3D ドミレルデザイナー\r動作チェックウィザード";
      v.main = "お使いのコンピュータで、3D ドミレルデザイナーの動作環境をチェックします。";
      v.instruction = "[次へ]をクリックしてください。";
      break;
    case 1:
      v.title = "動作チェック終了";
      v.main = "OS: Windows 2000";
      v.verdict = "お使いのWindows OSには対応していません。";
      v.next_visible = false;
      break;
    case 2:
    case 3:
    case 4:
      v.title = "動作環境の確認";
      v.main = "OS: Windows 7\r搭載メモリ: 512MB";
      v.verdict =
          page == 2 ? "メモリが足りません。\r必要メモリ：Windows 7/Vistaは1GB以上、Windows "
                      "XPは512MB以上\rこれより少ない場合、操作に支障をきたす場合があります。"
                      "メモリ増設をお勧めします。"
          : page == 3 ? "画面解像度は1024x576以上でお使いください。\rこれより小さい場合、"
                        "操作画面が全部表示されないため、操作に多少の支障をきたす場合があります。"
                      : "OS、メモリ、画面解像度はOKです。";
      break;
    case 5:
      v.title = "動作チェック終了";
      v.main =
          "起動に必要な「DirectX」が、正しくインストールされていません。\rDirectXのインストールを行"
          "ってください。";
      v.next_visible = false;
      break;
    case 7:
      v.title = "3Dグラフィックスのテスト";
      v.main = std::to_string(configuration) + "つめの設定で、3Dの表示をテストします。";
      v.instruction = "設定 " + std::to_string(configuration);
      break;
    case 8:
      v.title = "動作チェック終了";
      v.main = "3Dパースの表示ができませんでした。";
      v.next_visible = false;
      break;
    case 9:
      v.title = "動作チェック終了";
      v.main = "正常終了しました。";
      v.check_visible = true;
      v.next_visible = false;
      break;
  }
  return v;
}

TEST(WizardPagesTest, EveryPageIsRecognisedFromItsTexts) {
  for (int page : {0, 1, 2, 3, 4, 5, 7, 8, 9}) EXPECT_EQ(PageOf(ViewOf(page)), page);
  PageView template_text = ViewOf(0);
  template_text.title = "別の製品\r動作チェックウィザード";
  EXPECT_EQ(PageOf(template_text), 0);
}

TEST(WizardPagesTest, TextsOfNoPageAreUnknown) {
  PageView success_without_box = ViewOf(9);
  success_without_box.check_visible = false;
  EXPECT_EQ(PageOf(success_without_box), kUnknownPage);
  PageView end_with_other_text = ViewOf(8);
  end_with_other_text.main = "別のテキスト";
  EXPECT_EQ(PageOf(end_with_other_text), kUnknownPage);
  EXPECT_EQ(PageOf(PageView{}), kUnknownPage);
  PageView title_only_part = ViewOf(0);
  title_only_part.title = "動作チェックウィザード";  // the line break belongs to the title
  EXPECT_EQ(PageOf(title_only_part), kUnknownPage);
}

TEST(WizardPagesTest, OnlyTheEndPagesAreFinal) {
  for (int page = 0; page <= 9; ++page) {
    EXPECT_EQ(IsFinalPage(page), page == 1 || page == 5 || page == 8 || page == 9) << page;
  }
}

// A wizard on a simulated clock: pages 0 -> 4 -> 7, then per configuration
// the viewer, the 3D question and, after No, the "next setting" notice.
class ScriptedWizard : public WizardScreen {
 public:
  int configurations = 1;
  bool yes_fails = false;          // the viewer reports a failure even after Yes
  bool files_missing = false;      // Next on page 7 ends the wizard with two messages
  bool stuck_on_page_4 = false;    // Next on page 4 never finishes
  bool enables_next_late = false;  // the next configuration shows before Next is enabled

  // What the walk did.
  std::vector<std::string> shots;
  std::vector<Answer> answers;
  std::vector<int> pressed_on;  // page of each accepted press
  int refused_presses = 0;      // presses on a hidden or disabled Next
  int page_reads_while_viewer = 0;

  bool WizardPresent() override { return present_; }
  bool ReadMessage(MessageView& message) override {
    if (message_.empty()) return false;
    message = {message_, message_is_question_};
    return true;
  }
  bool ViewerPresent() override { return viewer_; }
  bool ReadPage(PageView& page) override {
    if (busy_) return false;
    if (viewer_) ++page_reads_while_viewer;
    page = view_;
    return true;
  }
  bool PressNext() override {
    if (!view_.next_visible || !view_.next_enabled || !message_.empty()) {
      ++refused_presses;
      return false;
    }
    pressed_on.push_back(page_);
    if (page_ == 0) {
      Show(4);
    } else if (page_ == 4) {
      busy_ = true;  // the graphics check keeps the wizard from answering
      if (!stuck_on_page_4) At(800, [this] { busy_ = false, Show(7); });
    } else if (page_ == 7) {
      view_.next_enabled = false;
      if (files_missing) {
        Ask("必要なファイルが見つかりません。再インストールしてください", false);
      } else {
        At(200, [this] { viewer_ = true; });
        At(400, [this] { Ask(k3DQuestion, true); });
      }
    }
    return true;
  }
  bool AnswerMessage(Answer answer) override {
    if (message_.empty()) return false;
    answers.push_back(answer);
    const std::string was = message_;
    message_.clear();
    if (was == k3DQuestion && answer == Answer::kYes) {
      At(300, [this] { viewer_ = false; });
      At(400, [this] { yes_fails ? NextConfiguration() : Show(9); });
    } else if (was == k3DQuestion) {
      Ask("別の設定でテストします。", false);
    } else if (was == "別の設定でテストします。") {
      At(300, [this] { viewer_ = false; });
      At(400, [this] { NextConfiguration(); });
    } else if (was == "必要なファイルが見つかりません。再インストールしてください") {
      Ask("動作チェックウィザードを中止します", false);
    } else if (was == "動作チェックウィザードを中止します") {
      present_ = false;
    }
    return true;
  }
  bool SaveScreenshot(const std::string& name, bool whole_screen) override {
    shots.push_back(name + (whole_screen ? " (screen)" : ""));
    return true;
  }
  void Pause(int milliseconds) override {
    now_ += milliseconds;
    for (auto due = events_.begin(); due != events_.end() && due->first <= now_;) {
      auto action = due->second;
      events_.erase(due);
      action();
      due = events_.begin();
    }
  }
  long long Milliseconds() override { return now_; }

  // Starts the wizard with a question box on top of page 0.
  void AskOnStart(const std::string& text, bool yes_no) { Ask(text, yes_no); }

 private:
  void Show(int page) {
    page_ = page;
    view_ = ViewOf(page, configuration_);
  }
  void Ask(const std::string& text, bool yes_no) {
    message_ = text;
    message_is_question_ = yes_no;
  }
  void NextConfiguration() {
    if (configuration_ == configurations) return Show(8);
    ++configuration_;
    Show(7);
    if (enables_next_late) {
      view_.next_enabled = false;
      At(500, [this] { view_.next_enabled = true; });
    }
  }
  void At(long long delay, std::function<void()> action) {
    events_.emplace(now_ + delay, std::move(action));
  }

  long long now_ = 0;
  std::multimap<long long, std::function<void()>> events_;
  int page_ = 0;
  int configuration_ = 1;
  PageView view_ = ViewOf(0);
  bool present_ = true;
  bool busy_ = false;
  bool viewer_ = false;
  std::string message_;
  bool message_is_question_ = false;
};

class WizardWalkTest : public ::testing::Test {
 protected:
  ScriptedWizard wizard;
  WalkOptions options;
  std::vector<std::string> lines;

  WalkResult Walk() {
    const WalkResult result =
        WalkWizard(wizard, options, [this](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(wizard.refused_presses, 0);
    EXPECT_EQ(wizard.page_reads_while_viewer, 0);
    return result;
  }
};

TEST_F(WizardWalkTest, YesToTheFirstConfigurationEndsOnTheSuccessPage) {
  const WalkResult result = Walk();
  EXPECT_TRUE(result.reached);
  EXPECT_EQ(result.last_page, 9);
  EXPECT_EQ(wizard.pressed_on, (std::vector<int>{0, 4, 7}));
  EXPECT_EQ(wizard.answers, std::vector<Answer>{Answer::kYes});
  EXPECT_EQ(wizard.shots,
            (std::vector<std::string>{"01-page0.bmp", "02-page4.bmp", "03-page7.bmp",
                                      "04-page7-message.bmp (screen)", "05-page9.bmp"}));
  EXPECT_EQ(result.screenshots, 5);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "page 9: 正常終了しました。");
  EXPECT_NE(
      std::find(lines.begin(), lines.end(), std::string("message: ") + k3DQuestion + " -> yes"),
      lines.end());
}

TEST_F(WizardWalkTest, NoToEveryConfigurationEndsOnTheFailurePage) {
  wizard.configurations = 2;
  wizard.enables_next_late = true;
  options.accept_3d = false;
  WalkResult result = Walk();
  EXPECT_FALSE(result.reached);  // the success page was expected
  EXPECT_EQ(result.last_page, 8);
  EXPECT_EQ(wizard.pressed_on, (std::vector<int>{0, 4, 7, 7}));
  EXPECT_EQ(wizard.answers,
            (std::vector<Answer>{Answer::kNo, Answer::kOk, Answer::kNo, Answer::kOk}));
  EXPECT_EQ(wizard.shots,
            (std::vector<std::string>{
                "01-page0.bmp", "02-page4.bmp", "03-page7.bmp", "04-page7-message.bmp (screen)",
                "05-page7-message.bmp (screen)", "06-page7.bmp", "07-page7-message.bmp (screen)",
                "08-page7-message.bmp (screen)", "09-page8.bmp"}));
}

TEST_F(WizardWalkTest, TheExpectedFailurePageCountsAsReached) {
  options.accept_3d = false;
  options.expected_page = 8;
  EXPECT_TRUE(Walk().reached);
}

TEST_F(WizardWalkTest, AFailedTestAfterYesMovesToTheNextConfiguration) {
  wizard.configurations = 2;
  wizard.yes_fails = true;
  const WalkResult result = Walk();
  EXPECT_EQ(result.last_page, 8);
  EXPECT_EQ(wizard.answers, (std::vector<Answer>{Answer::kYes, Answer::kYes}));
  EXPECT_EQ(wizard.pressed_on, (std::vector<int>{0, 4, 7, 7}));
}

TEST_F(WizardWalkTest, AWizardThatEndsWithItsMessagesIsAFailure) {
  wizard.files_missing = true;
  const WalkResult result = Walk();
  EXPECT_FALSE(result.reached);
  EXPECT_EQ(result.last_page, 7);
  EXPECT_EQ(wizard.answers, (std::vector<Answer>{Answer::kOk, Answer::kOk}));
  EXPECT_EQ(lines.back(), "the wizard ended on page 7");
}

TEST_F(WizardWalkTest, AnyOtherQuestionIsDeclined) {
  wizard.AskOnStart("動作チェックを中止しますか？", true);
  EXPECT_TRUE(Walk().reached);
  ASSERT_EQ(wizard.answers.size(), 2u);
  EXPECT_EQ(wizard.answers[0], Answer::kNo);
  EXPECT_EQ(wizard.shots[0], "01-message.bmp (screen)");
}

TEST_F(WizardWalkTest, AWizardThatStopsAnsweringTimesOutWithoutFurtherPresses) {
  wizard.stuck_on_page_4 = true;
  options.timeout_ms = 5000;
  const WalkResult result = Walk();
  EXPECT_FALSE(result.reached);
  EXPECT_EQ(result.last_page, 4);
  EXPECT_EQ(wizard.pressed_on, (std::vector<int>{0, 4}));
  EXPECT_GE(wizard.Milliseconds(), 5000);
  EXPECT_LE(wizard.Milliseconds(), 5000 + options.poll_ms + options.settle_ms);
  EXPECT_EQ(lines.back().rfind("timed out after page 4; the wizard showed: 動作環境の確認|", 0),
            0u);
}

}  // namespace
}  // namespace kx::test

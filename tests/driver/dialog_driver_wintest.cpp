// The dialog driver against a dialog run modally by a second thread of this
// program, as a test drives a dialog that an export runs on its caller's
// thread: what the dialog hears of typing, combo choices and check boxes.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/driver/dialog_driver.h"

namespace kx::test {
namespace {

constexpr int kEdit = 101, kCombo = 102, kCheck = 103, kDisabledEdit = 104;
const std::string kTitle = "ドライバの試験";

// What the dialog heard, in the order it heard it.
struct Heard {
  std::mutex lock;
  std::vector<std::string> events;
  void Add(std::string event) {
    std::lock_guard<std::mutex> hold(lock);
    events.push_back(std::move(event));
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> hold(lock);
    return std::move(events);
  }
};

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* heard = reinterpret_cast<Heard*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    for (const char* item : {"A4", "A3", "はがき"}) {
      SendDlgItemMessageA(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    return TRUE;
  }
  if (message != WM_COMMAND || heard == nullptr) return FALSE;
  const int id = LOWORD(wparam), code = HIWORD(wparam);
  if (id == kEdit && code == EN_CHANGE) {
    char text[64] = {};
    GetDlgItemTextA(dialog, kEdit, text, sizeof text);
    heard->Add(std::string("edit:") + text);
  } else if (id == kCombo && code == CBN_SELCHANGE) {
    heard->Add("combo:" +
               std::to_string(SendDlgItemMessageA(dialog, kCombo, CB_GETCURSEL, 0, 0)));
  } else if (id == kCheck && code == BN_CLICKED) {
    heard->Add("check:" + std::to_string(IsDlgButtonChecked(dialog, kCheck)));
  } else if (id == IDOK) {
    EndDialog(dialog, IDOK);
  }
  return TRUE;
}

class DialogDriverWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    thread_ = std::thread([this] {
      result_ = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(200), nullptr,
                                TestDialogProc, reinterpret_cast<LPARAM>(&heard_));
    });
    ASSERT_TRUE(driver_.WaitFor(kTitle, kEdit, 10000));
  }
  void TearDown() override {
    if (driver_.Present()) PostMessageA(driver_.window(), WM_COMMAND, IDOK, 0);
    thread_.join();
  }
  // Until the dialog has heard `count` events.
  std::vector<std::string> HeardEvents(size_t count) {
    std::vector<std::string> all;
    (void)WaitUntil(
        [&] {
          for (auto& e : heard_.Take()) all.push_back(e);
          return all.size() >= count;
        },
        5000, 20);
    return all;
  }

  Heard heard_;
  std::thread thread_;
  std::atomic<INT_PTR> result_{0};
  DialogDriver driver_;
};

TEST_F(DialogDriverWinTest, TypedTextReachesTheDialogBeforeTypeTextReturns) {
  ASSERT_TRUE(driver_.TypeText(kEdit, "表示 ソ 125"));
  EXPECT_EQ(heard_.Take(), std::vector<std::string>{"edit:表示 ソ 125"});
  std::string text;
  ASSERT_TRUE(driver_.ReadText(kEdit, text));
  EXPECT_EQ(text, "表示 ソ 125");
  EXPECT_FALSE(driver_.TypeText(kDisabledEdit, "x"));  // as the keyboard cannot
  EXPECT_FALSE(driver_.TypeText(kCombo, "x"));         // a list without an edit box
}

TEST_F(DialogDriverWinTest, ComboChoiceIsSelectedAndNotified) {
  std::vector<std::string> items;
  ASSERT_TRUE(driver_.ReadComboItems(kCombo, items));
  EXPECT_EQ(items, (std::vector<std::string>{"A4", "A3", "はがき"}));
  int selected = 0;
  ASSERT_TRUE(driver_.ReadComboSelection(kCombo, selected));
  EXPECT_EQ(selected, -1);

  ASSERT_TRUE(driver_.SelectComboItem(kCombo, 2));
  EXPECT_EQ(HeardEvents(1), std::vector<std::string>{"combo:2"});
  ASSERT_TRUE(driver_.ReadComboSelection(kCombo, selected));
  EXPECT_EQ(selected, 2);
  EXPECT_FALSE(driver_.SelectComboItem(kCombo, 3));  // no such item
}

TEST_F(DialogDriverWinTest, SetCheckClicksOnlyWhenTheStateDiffers) {
  ASSERT_TRUE(driver_.SetCheck(kCheck, true));
  ASSERT_TRUE(driver_.SetCheck(kCheck, true));
  ASSERT_TRUE(WaitUntil(
      [&] {
        ControlState state;
        return driver_.ReadState(kCheck, state) && state.checked;
      },
      5000));
  ASSERT_TRUE(driver_.SetCheck(kCheck, false));
  EXPECT_EQ(HeardEvents(2), (std::vector<std::string>{"check:1", "check:0"}));
}

TEST_F(DialogDriverWinTest, PressingOkEndsTheDialog) {
  ASSERT_TRUE(driver_.Click(IDOK));
  ASSERT_TRUE(driver_.WaitUntilGone(5000));
  thread_.join();
  thread_ = std::thread([] {});
  EXPECT_EQ(result_.load(), IDOK);
}

}  // namespace
}  // namespace kx::test

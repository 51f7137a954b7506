// The driver against the stand-in wizard (fake_wizard.exe) in another
// process: finding, reading, pressing, answering, walking and screenshots.
#include <gtest/gtest.h>

#include <string>

#include "common/product_settings.h"
#include "platform/win32/unique_resource.h"
#include "tests/driver/wizard_driver.h"
#include "tests/driver/wizard_screen_win32.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::test {
namespace {

constexpr DWORD kStartMs = 30000;
// A page, a box or a window the wizard shows next: at once on a quiet
// machine, seconds under emulation on a busy one.
constexpr DWORD kStepMs = 30000;
const std::string kStartTitle = "3D ドミレルデザイナー\r動作チェックウィザード";

// A 24-bit BMP file as the driver writes it.
struct Bitmap {
  LONG width = 0, height = 0;
  std::string bytes;

  static Bitmap Read(const std::string& path) {
    Bitmap b;
    b.bytes = TempFolder::ReadFile(path);
    if (b.bytes.size() < 54 || b.bytes.compare(0, 2, "BM") != 0) return b;
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(b.bytes.data() + 14);
    if (info->biBitCount != 24) return b;
    const size_t stride = (static_cast<size_t>(info->biWidth) * 3 + 3) & ~size_t{3};
    if (b.bytes.size() != 54 + stride * static_cast<size_t>(info->biHeight)) return b;
    b.width = info->biWidth;
    b.height = info->biHeight;
    return b;
  }
  // (r, g, b) of the pixel at (x, y) counted from the top left.
  COLORREF At(LONG x, LONG y) const {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t at =
        54 + stride * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return RGB(p[2], p[1], p[0]);
  }
};

bool IsDarkBlue(COLORREF c) { return GetBValue(c) > GetRValue(c) + 40 && GetBValue(c) < 200; }
bool IsDarkGreen(COLORREF c) {
  return GetGValue(c) > GetRValue(c) + 20 && GetGValue(c) > GetBValue(c);
}

class WizardDriverWinTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.get(), 99);
      WaitForSingleObject(process_.get(), 5000);
    }
  }

  // Starts the stand-in wizard and waits for its window.
  void Start(const std::string& options = "") {
    std::string line = "\"" + TestProgramFolder() + "fake_wizard.exe\" " + options;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
    process_.reset(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    process_id_ = info.dwProcessId;
    ASSERT_TRUE(wizard.WaitForWizard(kStartMs));
  }

  DWORD ExitCode() {
    DWORD code = 0xFFFF;
    if (WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process_.get(), &code);
    }
    return code;
  }

  std::string Text(int id) {
    std::string text;
    EXPECT_TRUE(wizard.ReadText(id, text)) << id;
    return text;
  }
  ControlState State(int id) {
    ControlState state;
    EXPECT_TRUE(wizard.ReadState(id, state)) << id;
    return state;
  }
  HWND MessageBoxWithin(DWORD ms) {
    HWND box = nullptr;
    EXPECT_TRUE(wizard.WaitForMessageBox(ms, box));
    return box;
  }

  WizardDriver wizard;
  win::UniqueHandle process_;
  DWORD process_id_ = 0;
};

TEST_F(WizardDriverWinTest, FindsTheWizardAndReadsItsControls) {
  Start();
  EXPECT_EQ(wizard.process_id(), process_id_);
  EXPECT_EQ(Text(kTitleText), kStartTitle);  // line breaks stay CR
  EXPECT_EQ(Text(kInstructionText), "[次へ]をクリックしてください。");
  EXPECT_EQ(Text(kCancelButton), "中止");
  const ControlState next = State(kNextButton);
  EXPECT_TRUE(next.visible && next.enabled);
  EXPECT_FALSE(State(kSwitchCheckBox).visible);
  std::string untouched = "x";
  EXPECT_FALSE(wizard.ReadText(4242, untouched));
  EXPECT_EQ(untouched, "x");
  EXPECT_EQ(wizard.FindMessageBox(), nullptr);
}

TEST_F(WizardDriverWinTest, PressesOnlyWhatAUserCouldPress) {
  Start();
  EXPECT_FALSE(wizard.Click(kSwitchLabel));  // hidden on the start page
  EXPECT_FALSE(wizard.Click(kMainText));     // a static that takes no clicks
  EXPECT_FALSE(wizard.Click(4242));
  ASSERT_TRUE(wizard.Click(kNextButton));
  EXPECT_TRUE(wizard.WaitForText(kTitleText, "動作環境の確認", kStepMs));
  ASSERT_TRUE(wizard.Click(kNextButton));
  ASSERT_TRUE(wizard.WaitForText(kTitleText, "3Dグラフィックスのテスト", kStepMs));
  ASSERT_TRUE(wizard.Click(kNextButton));  // starts the test and disables Next
  EXPECT_TRUE(WaitUntil([&] { return !State(kNextButton).enabled; }, kStepMs));
  EXPECT_FALSE(wizard.Click(kNextButton));
  EXPECT_TRUE(WaitUntil([] { return FindVisibleWindow(kDefaultViewerTitle) != nullptr; }, kStepMs));
}

TEST_F(WizardDriverWinTest, TheCancelQuestionIsReadAndAnswered) {
  Start();
  ASSERT_TRUE(wizard.Click(kCancelButton));
  HWND box = MessageBoxWithin(kStepMs);
  ASSERT_NE(box, nullptr);
  std::string text;
  ASSERT_TRUE(WizardDriver::ReadMessageText(box, text));
  EXPECT_EQ(text, "動作チェックを中止しますか？");
  EXPECT_TRUE(WizardDriver::HasButton(box, IDYES));
  EXPECT_FALSE(WizardDriver::HasButton(box, IDOK));
  EXPECT_FALSE(WizardDriver::AnswerMessageBox(box, IDOK));  // no such button: the box stays
  EXPECT_EQ(wizard.FindMessageBox(), box);

  ASSERT_TRUE(WizardDriver::AnswerMessageBox(box, IDNO));
  EXPECT_EQ(wizard.FindMessageBox(), nullptr);
  EXPECT_TRUE(wizard.Present());  // No keeps the wizard

  ASSERT_TRUE(wizard.Click(kCancelButton));
  box = MessageBoxWithin(kStepMs);
  ASSERT_TRUE(WizardDriver::AnswerMessageBox(box, IDYES));
  EXPECT_EQ(ExitCode(), 3u);
  EXPECT_TRUE(wizard.WaitUntilGone(kStepMs));
}

TEST_F(WizardDriverWinTest, MessageBoxesOfAnInvisibleOwnerAreFound) {
  Start("--placed");
  ASSERT_TRUE(wizard.Click(kCancelButton));
  const HWND box = MessageBoxWithin(kStepMs);
  ASSERT_NE(box, nullptr);
  const HWND owner = GetWindow(box, GW_OWNER);
  EXPECT_NE(owner, wizard.window());
  EXPECT_EQ(GetWindow(owner, GW_OWNER), wizard.window());
  ASSERT_TRUE(WizardDriver::AnswerMessageBox(box, IDYES));
  EXPECT_EQ(ExitCode(), 3u);
}

TEST_F(WizardDriverWinTest, EscapeAndTheCloseBoxEndTheWizardWithoutAQuestion) {
  Start();
  ASSERT_TRUE(wizard.PressEscape());
  EXPECT_EQ(ExitCode(), 2u);
  EXPECT_TRUE(wizard.WaitUntilGone(kStepMs));
  EXPECT_FALSE(wizard.PressEscape());

  Start();
  ASSERT_TRUE(wizard.CloseByCloseBox());
  EXPECT_EQ(ExitCode(), 2u);
}

TEST_F(WizardDriverWinTest, WalkEndsOnTheSuccessPageWithAPictureOfEveryStep) {
  Start();
  TempFolder shots("walk shots");
  Win32WizardScreen screen(wizard, shots.path(), kDefaultViewerTitle);
  std::string log;
  const WalkResult result =
      WalkWizard(screen, WalkOptions{}, [&](const std::string& line) { log += line + "\n"; });
  EXPECT_TRUE(result.reached) << log;
  EXPECT_EQ(result.last_page, 9);

  RECT frame;
  GetWindowRect(wizard.window(), &frame);
  for (const char* name : {"01-page0.bmp", "02-page4.bmp", "03-page7.bmp", "05-page9.bmp"}) {
    const Bitmap shot = Bitmap::Read(shots / name);
    EXPECT_EQ(shot.width, frame.right - frame.left) << name;
    EXPECT_EQ(shot.height, frame.bottom - frame.top) << name;
  }
  const Bitmap question = Bitmap::Read(shots / "04-page7-message.bmp");
  EXPECT_EQ(question.width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(question.height, GetSystemMetrics(SM_CYVIRTUALSCREEN));

  // The picture lies below the title in the screenshot, not above it: the
  // rows of the file are in the right order.
  POINT client = {0, 0};
  ClientToScreen(wizard.window(), &client);
  const LONG left = client.x - frame.left, top = client.y - frame.top;
  const Bitmap start = Bitmap::Read(shots / "01-page0.bmp");
  ASSERT_GT(start.width, 0);
  EXPECT_FALSE(IsDarkBlue(start.At(left + 5, top + 20)));   // dialog background by the title
  EXPECT_TRUE(IsDarkBlue(start.At(left + 40, top + 250)));  // the start picture
  EXPECT_TRUE(IsDarkGreen(Bitmap::Read(shots / "05-page9.bmp").At(left + 40, top + 250)));

  // The success page: its label toggles the check box, its Cancel reads 終了.
  EXPECT_TRUE(State(kSwitchCheckBox).checked);
  ASSERT_TRUE(wizard.Click(kSwitchLabel));
  EXPECT_TRUE(WaitUntil([&] { return !State(kSwitchCheckBox).checked; }, kStepMs));
  ASSERT_TRUE(wizard.Click(kSwitchCheckBox));
  EXPECT_TRUE(WaitUntil([&] { return State(kSwitchCheckBox).checked; }, kStepMs));
  EXPECT_EQ(Text(kCancelButton), "終了");
  ASSERT_TRUE(wizard.Click(kCancelButton));
  EXPECT_EQ(ExitCode(), 4u);  // ended on the success page with the box checked
}

TEST_F(WizardDriverWinTest, WalkDecliningEveryConfigurationEndsOnTheFailurePage) {
  Start("--configs 2 --placed");
  TempFolder shots("walk shots");
  Win32WizardScreen screen(wizard, shots.path(), kDefaultViewerTitle);
  WalkOptions options;
  options.accept_3d = false;
  options.expected_page = 8;
  std::string log;
  const WalkResult result =
      WalkWizard(screen, options, [&](const std::string& line) { log += line + "\n"; });
  EXPECT_TRUE(result.reached) << log;
  EXPECT_EQ(result.screenshots, 9);
  EXPECT_TRUE(TempFolder::Exists(shots / "06-page7.bmp"));
  EXPECT_TRUE(TempFolder::Exists(shots / "09-page8.bmp"));
  EXPECT_NE(log.find("2つめの設定で"), std::string::npos);
}

TEST_F(WizardDriverWinTest, ScreenshotsOfTheWholeScreenAndOfAMissingWindow) {
  TempFolder folder("screens");
  ASSERT_TRUE(SaveScreenshot(folder / "screen.bmp"));
  const Bitmap screen = Bitmap::Read(folder / "screen.bmp");
  EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(screen.height, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_FALSE(SaveScreenshot(folder / "none.bmp", reinterpret_cast<HWND>(0x7FFF0)));
  EXPECT_FALSE(TempFolder::Exists(folder / "none.bmp"));
  EXPECT_FALSE(SaveScreenshot(folder / "no such folder\\x.bmp"));
}

// The command-line program, as a script uses it (its output is UTF-8).
class WizardDriverCommandTest : public WizardDriverWinTest {
 protected:
  ProcessResult Driver(const std::string& arguments) {
    return RunProcess("\"" + TestProgramFolder() + "wizard_driver.exe\" " + arguments);
  }
};

TEST_F(WizardDriverCommandTest, ReadsAndWaitsForTextsInUtf8) {
  EXPECT_EQ(Driver("text 1001").exit_code, 1u);  // no wizard yet
  Start();
  const ProcessResult title = Driver("text 1001");
  EXPECT_EQ(title.exit_code, 0u);
  EXPECT_EQ(title.output, u8"3D ドミレルデザイナー\n動作チェックウィザード\n");
  EXPECT_EQ(Driver("page").output, "0\n");
  EXPECT_EQ(Driver("state 1009").output, "hidden enabled unchecked\n");
  // A line break on the command line stands for the CR in the control.
  EXPECT_EQ(Driver("wait-text 1001 \"3D ドミレルデザイナー\n動作チェックウィザード\" 5").exit_code,
            0u);
  EXPECT_EQ(Driver("wait-text 1001 \"動作チェックウィザード\" 1").exit_code, 1u);
}

TEST_F(WizardDriverCommandTest, PressesAnswersAndRefusesBadArguments) {
  Start();
  EXPECT_EQ(Driver("click 1002").exit_code, 0u);
  EXPECT_EQ(Driver("wait-page 4 10").exit_code, 0u);
  EXPECT_EQ(Driver("click 1034").exit_code, 1u);  // hidden
  EXPECT_EQ(Driver("click 1003").exit_code, 0u);
  const ProcessResult question = Driver("wait-message 10");
  EXPECT_EQ(question.exit_code, 0u);
  EXPECT_EQ(question.output, u8"動作チェックを中止しますか？\n");
  EXPECT_EQ(Driver("answer ok").exit_code, 1u);  // a Yes/No question
  EXPECT_EQ(Driver("answer yes").exit_code, 0u);
  EXPECT_EQ(ExitCode(), 3u);

  for (const char* bad : {"", "bogus", "text", "text x", "click 1002 1003", "wait-wizard soon",
                          "answer maybe", "walk out --answer perhaps"}) {
    EXPECT_EQ(Driver(bad).exit_code, 2u) << bad;
  }
}

TEST_F(WizardDriverCommandTest, WalksToTheSuccessPage) {
  Start();
  TempFolder shots("walk shots");
  // Without its last backslash, which would escape the closing quote.
  const std::string folder = shots.path().substr(0, shots.path().size() - 1);
  const ProcessResult walk = Driver("walk \"" + folder + "\" --timeout 120");
  EXPECT_EQ(walk.exit_code, 0u) << walk.output;
  EXPECT_NE(walk.output.find(u8"page 9: 正常終了しました。\n"), std::string::npos);
  EXPECT_TRUE(TempFolder::Exists(shots / "05-page9.bmp"));
  EXPECT_EQ(Driver("walk \"" + folder + "\" --expect 8 --timeout 5").exit_code, 1u);
}

}  // namespace
}  // namespace kx::test

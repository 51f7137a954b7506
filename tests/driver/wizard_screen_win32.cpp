#include "tests/driver/wizard_screen_win32.h"

namespace kx::test {

bool Win32WizardScreen::ReadMessage(MessageView& message) {
  const HWND box = wizard_.FindMessageBox();
  MessageView read;
  if (!box || !WizardDriver::ReadMessageText(box, read.text)) return false;
  read.asks_yes_no = WizardDriver::HasButton(box, IDYES) && WizardDriver::HasButton(box, IDNO);
  box_ = box;
  message = read;
  return true;
}

bool Win32WizardScreen::ViewerPresent() {
  return !viewer_title_.empty() && FindVisibleWindow(viewer_title_) != nullptr;
}

bool Win32WizardScreen::ReadPage(PageView& page) {
  PageView read;
  ControlState next, check;
  if (!wizard_.ReadText(kTitleText, read.title) || !wizard_.ReadText(kMainText, read.main) ||
      !wizard_.ReadText(kVerdictText, read.verdict) ||
      !wizard_.ReadText(kInstructionText, read.instruction) ||
      !wizard_.ReadState(kNextButton, next) || !wizard_.ReadState(kSwitchCheckBox, check)) {
    return false;
  }
  read.next_visible = next.visible;
  read.next_enabled = next.enabled;
  read.check_visible = check.visible;
  page = read;
  return true;
}

bool Win32WizardScreen::AnswerMessage(Answer answer) {
  const int id = answer == Answer::kYes ? IDYES : answer == Answer::kNo ? IDNO : IDOK;
  return box_ && WizardDriver::AnswerMessageBox(box_, id);
}

bool Win32WizardScreen::SaveScreenshot(const std::string& name, bool whole_screen) {
  return kx::test::SaveScreenshot(folder_ + name, whole_screen ? nullptr : wizard_.window());
}

void Win32WizardScreen::Pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

long long Win32WizardScreen::Milliseconds() { return static_cast<long long>(GetTickCount64()); }

}  // namespace kx::test

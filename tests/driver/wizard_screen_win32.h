// The walk's view of a wizard running in another process, through the driver.
#pragma once

#include <string>

#include "tests/driver/wizard_driver.h"
#include "tests/driver/wizard_walk.h"

namespace kx::test {

class Win32WizardScreen : public WizardScreen {
 public:
  // `folder` receives the screenshots and ends in a backslash; the viewer is
  // recognised by its window title (none is looked for when it is empty).
  Win32WizardScreen(WizardDriver& wizard, std::string folder, std::string viewer_title)
      : wizard_(wizard), folder_(std::move(folder)), viewer_title_(std::move(viewer_title)) {}

  bool WizardPresent() override { return wizard_.Present(); }
  bool ReadMessage(MessageView& message) override;
  bool ViewerPresent() override;
  bool ReadPage(PageView& page) override;
  bool PressNext() override { return wizard_.Click(kNextButton); }
  bool AnswerMessage(Answer answer) override;
  bool SaveScreenshot(const std::string& name, bool whole_screen) override;
  void Pause(int milliseconds) override;
  long long Milliseconds() override;

 private:
  WizardDriver& wizard_;
  std::string folder_;
  std::string viewer_title_;
  HWND box_ = nullptr;  // the message box last read
};

}  // namespace kx::test

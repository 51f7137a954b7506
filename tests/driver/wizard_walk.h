// Walks a running wizard to its end as a patient user would: Next on every
// page, the 3D question answered as told, every other message acknowledged,
// a picture of every page and message on the way.
#pragma once

#include <functional>
#include <string>

#include "tests/driver/wizard_pages.h"

namespace kx::test {

enum class Answer { kOk, kYes, kNo };

struct MessageView {
  std::string text;
  bool asks_yes_no = false;  // the box has Yes and No buttons
};

// What the walk sees of the wizard and does to it.
class WizardScreen {
 public:
  virtual ~WizardScreen() = default;
  virtual bool WizardPresent() = 0;
  // The message box the wizard shows now; false when there is none.
  virtual bool ReadMessage(MessageView& message) = 0;
  // The viewer window of a 3D test is on the screen.
  virtual bool ViewerPresent() = 0;
  // False while the wizard does not answer (it is busy checking).
  virtual bool ReadPage(PageView& page) = 0;
  virtual bool PressNext() = 0;
  // Answers the message box and returns once it has closed.
  virtual bool AnswerMessage(Answer answer) = 0;
  // `name` is a file name; the picture shows the wizard alone or the screen.
  virtual bool SaveScreenshot(const std::string& name, bool whole_screen) = 0;
  virtual void Pause(int milliseconds) = 0;
  virtual long long Milliseconds() = 0;  // a monotonic clock
};

struct WalkOptions {
  bool accept_3d = true;  // the answer to every 3D question
  int expected_page = 9;  // the walk succeeds when the wizard ends here
  int timeout_ms = 600000;
  int poll_ms = 100;
  int settle_ms = 300;  // lets a new page or box finish painting before its picture
};

struct WalkResult {
  bool reached = false;  // ended on the expected page
  int last_page = kUnknownPage;
  int screenshots = 0;
};

// Screenshots are named "<nn>-page<p>.bmp" for pages (the wizard alone) and
// "<nn>-page<p>-message.bmp" for message boxes (the whole screen, with the
// viewer when it is open; "<nn>-message.bmp" before any page was recognised),
// numbered in the order taken. `report` receives
// one line per event, in code page 932.
WalkResult WalkWizard(WizardScreen& screen, const WalkOptions& options,
                      const std::function<void(const std::string&)>& report);

}  // namespace kx::test

#include "tests/driver/wizard_walk.h"

#include <cstdio>

namespace kx::test {
namespace {

std::string ShotName(int number, int page, bool message) {
  char name[64];
  if (page == kUnknownPage) {  // a message before the first page was recognised
    std::snprintf(name, sizeof name, "%02d-message.bmp", number);
  } else {
    std::snprintf(name, sizeof name, "%02d-page%d%s.bmp", number, page, message ? "-message" : "");
  }
  return name;
}

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::kYes:
      return "yes";
    case Answer::kNo:
      return "no";
    case Answer::kOk:
      break;
  }
  return "ok";
}

// Everything a page shows that tells one step from the next: the same page
// number comes back with new texts when the next configuration is announced.
std::string Signature(const PageView& page) {
  return page.title + '\n' + page.main + '\n' + page.verdict + '\n' + page.instruction;
}

class Walk {
 public:
  Walk(WizardScreen& screen, const WalkOptions& options,
       const std::function<void(const std::string&)>& report)
      : screen_(screen), options_(options), report_(report) {}

  WalkResult Run() {
    const long long deadline = screen_.Milliseconds() + options_.timeout_ms;
    while (screen_.Milliseconds() < deadline) {
      if (!screen_.WizardPresent()) {
        report_("the wizard ended on page " + std::to_string(result_.last_page));
        return result_;
      }
      MessageView message;
      if (screen_.ReadMessage(message)) {
        HandleMessage(message);
        continue;
      }
      PageView page;
      // While the viewer is up the wizard waits for it; a page read then
      // would catch it half way through a test.
      if (!screen_.ViewerPresent() && screen_.ReadPage(page) && HandlePage(page)) return result_;
      screen_.Pause(options_.poll_ms);
    }
    report_("timed out after page " + std::to_string(result_.last_page) +
            "; the wizard showed: " + last_seen_);
    return result_;
  }

 private:
  void HandleMessage(const MessageView& message) {
    screen_.Pause(options_.settle_ms);
    Shoot(result_.last_page, true);
    Answer answer = Answer::kOk;
    if (message.asks_yes_no) {
      // Any other question (leaving the wizard) is declined so that the walk goes on.
      answer = message.text == k3DQuestion && options_.accept_3d ? Answer::kYes : Answer::kNo;
    }
    report_("message: " + message.text + " -> " + AnswerName(answer));
    if (!screen_.AnswerMessage(answer)) report_("the message box did not take the answer");
  }

  // True when the walk is over.
  bool HandlePage(const PageView& view) {
    const int page = PageOf(view);
    const std::string signature = Signature(view);
    const bool settled = IsFinalPage(page) || (view.next_visible && view.next_enabled);
    last_seen_ = Signature(view);
    for (char& c : last_seen_) c = c == '\n' ? '|' : c;
    if (page == kUnknownPage || !settled || signature == last_signature_) return false;

    // Let the page finish painting; if it moved on meanwhile, look again.
    screen_.Pause(options_.settle_ms);
    PageView again;
    if (!screen_.ReadPage(again) || Signature(again) != signature) return false;

    last_signature_ = signature;
    result_.last_page = page;
    Shoot(page, false);
    report_("page " + std::to_string(page) + ": " + view.main);
    if (IsFinalPage(page)) {
      result_.reached = page == options_.expected_page;
      return true;
    }
    if (!screen_.PressNext()) {
      report_("Next could not be pressed");
      last_signature_.clear();  // try again on the next look
    }
    return false;
  }

  void Shoot(int page, bool message) {
    const std::string name = ShotName(++result_.screenshots, page, message);
    if (!screen_.SaveScreenshot(name, message)) report_("could not save " + name);
  }

  WizardScreen& screen_;
  const WalkOptions& options_;
  const std::function<void(const std::string&)>& report_;
  WalkResult result_;
  std::string last_signature_;  // of the last page pictured and acted on
  std::string last_seen_;       // the texts of the last page read, for the report
};

}  // namespace

WalkResult WalkWizard(WizardScreen& screen, const WalkOptions& options,
                      const std::function<void(const std::string&)>& report) {
  return Walk(screen, options, report).Run();
}

}  // namespace kx::test

// wizard_driver: drives a running wizard from a shell script.
//
//   wait-wizard [timeout]             waits for the wizard window
//   wait-gone [timeout]               waits until the wizard window has gone
//   text <id>                         prints the text of control <id>
//   state <id>                        prints visible|hidden enabled|disabled checked|unchecked
//   page                              prints the number of the page shown (0-9)
//   wait-text <id> <text> [timeout]   waits until control <id> holds <text>
//   wait-page <page> [timeout]
//   click <id>                        presses a button or clicks a label, as a user would
//   escape                            presses the Escape key
//   close                             clicks the close box
//   wait-message [timeout]            waits for a message box and prints its text
//   message                           prints the text of the message box shown now
//   answer yes|no|ok|cancel           presses that button of the message box (waiting up
//                                     to 10 s for one) and waits for the box to close
//   wait-window <title> [timeout]     e.g. the viewer
//   wait-window-gone <title> [timeout]
//   screenshot <file.bmp> [wizard|<window title>]   the whole screen by default
//   walk <folder> [--answer yes|no] [--expect <page>] [--timeout <s>] [--viewer <title>]
//
// Timeouts are in seconds (30 when not given). Texts on the command line and in
// the output are UTF-8, the shell's encoding; a line break is LF there and CR
// inside the wizard. Exit status: 0 done, 1 failed or timed out, 2 usage.
//
// `walk` waits for the wizard (up to 30 s), presses Next on every page,
// answers the 3D question as told (yes by default), acknowledges every other
// message, waits while the viewer is open, and saves a screenshot of every
// page and message into <folder> ("01-page0.bmp", "04-page7-message.bmp",
// ...). It prints one line per step and succeeds when the wizard ends on the
// expected page (9 by default).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/product_settings.h"
#include "tests/driver/wizard_driver.h"
#include "tests/driver/wizard_screen_win32.h"
#include "tests/driver/wizard_walk.h"

namespace kx::test {
namespace {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;
constexpr DWORD kDefaultTimeoutMs = 30000;
constexpr UINT kWizardCodePage = 932;

std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  const int wide_length =
      MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      wide_length);
  const int length =
      WideCharToMultiByte(to, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wide_length, out.data(), length, nullptr, nullptr);
  return out;
}

// The wizard's text as the shell reads it: UTF-8, LF between lines.
std::string ForShell(const std::string& wizard_text) {
  std::string lines;
  for (size_t i = 0; i < wizard_text.size(); ++i) {
    if (wizard_text[i] == '\r') {
      lines += '\n';
      if (i + 1 < wizard_text.size() && wizard_text[i + 1] == '\n') ++i;
    } else {
      lines += wizard_text[i];
    }
  }
  return Convert(lines, kWizardCodePage, CP_UTF8);
}

// A command-line text as the wizard holds it: code page 932, CR between lines.
std::string ForWizard(const std::wstring& argument) {
  if (argument.empty()) return {};
  const int wide_length = static_cast<int>(argument.size());
  const int length = WideCharToMultiByte(kWizardCodePage, 0, argument.data(), wide_length, nullptr,
                                         0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(kWizardCodePage, 0, argument.data(), wide_length, text.data(), length,
                      nullptr, nullptr);
  for (char& c : text) c = c == '\n' ? '\r' : c;
  return text;
}

void Print(const std::string& wizard_text) {
  const std::string out = ForShell(wizard_text) + "\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

int Fail(const char* what) {
  std::fprintf(stderr, "wizard_driver: %s\n", what);
  return kFailed;
}

bool ParseNumber(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < 0) return false;
  value = parsed;
  return true;
}

class Command {
 public:
  explicit Command(std::vector<std::string> args) : args_(std::move(args)) {}

  int Run() {
    if (args_.empty()) return Usage();
    const std::string& verb = args_[0];
    long id = 0;
    if (verb == "wait-wizard" && Count(0, 1)) {
      return wizard_.WaitForWizard(Timeout(1)) ? kOk : Fail("no wizard window appeared");
    }
    if (verb == "wait-window" && Count(1, 2)) {
      return WaitUntil([&] { return FindVisibleWindow(args_[1]) != nullptr; }, Timeout(2))
                 ? kOk
                 : Fail("the window did not appear");
    }
    if (verb == "wait-window-gone" && Count(1, 2)) {
      return WaitUntil([&] { return FindVisibleWindow(args_[1]) == nullptr; }, Timeout(2))
                 ? kOk
                 : Fail("the window did not go");
    }
    if (verb == "screenshot" && Count(1, 2)) {
      HWND window = nullptr;
      if (args_.size() == 3 && args_[2] == "wizard") {
        if (!wizard_.Find()) return NoWizard();
        window = wizard_.window();
      } else if (args_.size() == 3 && !(window = FindVisibleWindow(args_[2]))) {
        return Fail("no such window");
      }
      return SaveScreenshot(args_[1], window) ? kOk : Fail("the screenshot could not be saved");
    }
    // Everything else acts on the wizard, once the arguments are known to be good.
    if (verb == "wait-gone" && Count(0, 1)) {
      const DWORD timeout = Timeout(1);
      return !wizard_.Find() || wizard_.WaitUntilGone(timeout) ? kOk
                                                               : Fail("the wizard is still there");
    }
    if (verb == "text" && Count(1, 1) && ParseNumber(args_[1], id)) {
      std::string text;
      if (!wizard_.Find()) return NoWizard();
      if (!wizard_.ReadText(static_cast<int>(id), text))
        return Fail("no such control, or no answer");
      Print(text);
      return kOk;
    }
    if (verb == "state" && Count(1, 1) && ParseNumber(args_[1], id)) {
      ControlState state;
      if (!wizard_.Find()) return NoWizard();
      if (!wizard_.ReadState(static_cast<int>(id), state))
        return Fail("no such control, or no answer");
      Print(std::string(state.visible ? "visible" : "hidden") +
            (state.enabled ? " enabled" : " disabled") +
            (state.checked ? " checked" : " unchecked"));
      return kOk;
    }
    if (verb == "page" && Count(0, 0)) {
      int page = kUnknownPage;
      if (!wizard_.Find()) return NoWizard();
      if (!ReadPage(page) || page == kUnknownPage) return Fail("the page is not recognised");
      Print(std::to_string(page));
      return kOk;
    }
    if (verb == "wait-text" && Count(2, 3) && ParseNumber(args_[1], id)) {
      const DWORD timeout = Timeout(3);
      if (!wizard_.Find()) return NoWizard();
      return wizard_.WaitForText(static_cast<int>(id), args_[2], timeout)
                 ? kOk
                 : Fail("the text did not appear");
    }
    if (verb == "wait-page" && Count(1, 2) && ParseNumber(args_[1], id)) {
      const DWORD timeout = Timeout(2);
      int page = kUnknownPage;
      if (!wizard_.Find()) return NoWizard();
      return WaitUntil([&] { return ReadPage(page) && page == id; }, timeout)
                 ? kOk
                 : Fail("the page did not appear");
    }
    if (verb == "click" && Count(1, 1) && ParseNumber(args_[1], id)) {
      if (!wizard_.Find()) return NoWizard();
      return wizard_.Click(static_cast<int>(id)) ? kOk
                                                 : Fail("no such control, or hidden or disabled");
    }
    if (verb == "escape" && Count(0, 0)) {
      if (!wizard_.Find()) return NoWizard();
      return wizard_.PressEscape() ? kOk : Fail("the key was not sent");
    }
    if (verb == "close" && Count(0, 0)) {
      if (!wizard_.Find()) return NoWizard();
      return wizard_.CloseByCloseBox() ? kOk : Fail("the close box was not clicked");
    }
    if ((verb == "wait-message" && Count(0, 1)) || (verb == "message" && Count(0, 0))) {
      const DWORD timeout = verb == "message" ? 0 : Timeout(1);
      HWND box = nullptr;
      std::string text;
      if (!wizard_.Find()) return NoWizard();
      if (!wizard_.WaitForMessageBox(timeout, box)) return Fail("no message box");
      if (!WizardDriver::ReadMessageText(box, text)) return Fail("the message could not be read");
      Print(text);
      return kOk;
    }
    if (verb == "answer" && Count(1, 1)) {
      const std::string& word = args_[1];
      const int button = word == "yes"      ? IDYES
                         : word == "no"     ? IDNO
                         : word == "ok"     ? IDOK
                         : word == "cancel" ? IDCANCEL
                                            : 0;
      if (button == 0) return Usage();
      HWND box = nullptr;
      if (!wizard_.Find()) return NoWizard();
      if (!wizard_.WaitForMessageBox(10000, box)) return Fail("no message box");
      if (!WizardDriver::HasButton(box, button)) return Fail("the message box has no such button");
      return WizardDriver::AnswerMessageBox(box, button) ? kOk
                                                         : Fail("the message box did not close");
    }
    if (verb == "walk" && args_.size() >= 2) return Walk();
    return Usage();
  }

 private:
  int Walk() {
    WalkOptions options;
    std::string viewer = kDefaultViewerTitle;
    for (size_t i = 2; i < args_.size(); i += 2) {
      if (i + 1 >= args_.size()) return Usage();
      const std::string& name = args_[i];
      const std::string& value = args_[i + 1];
      long number = 0;
      if (name == "--answer" && (value == "yes" || value == "no")) {
        options.accept_3d = value == "yes";
      } else if (name == "--expect" && ParseNumber(value, number) && number <= 9) {
        options.expected_page = static_cast<int>(number);
      } else if (name == "--timeout" && ParseNumber(value, number) && number <= 24 * 3600) {
        options.timeout_ms = static_cast<int>(number * 1000);
      } else if (name == "--viewer") {
        viewer = value;
      } else {
        return Usage();
      }
    }
    std::string folder = args_[1];
    if (folder.empty()) return Usage();
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    // The wizard may still be starting.
    if (!wizard_.WaitForWizard(kDefaultTimeoutMs)) return NoWizard();
    CreateDirectoryA(folder.c_str(), nullptr);
    Win32WizardScreen screen(wizard_, folder, viewer);
    const WalkResult result =
        WalkWizard(screen, options, [](const std::string& line) { Print(line); });
    Print(std::string(result.reached ? "walk: ended on page " : "walk: did not end on page ") +
          std::to_string(options.expected_page) + " (last page " +
          std::to_string(result.last_page) + ", " + std::to_string(result.screenshots) +
          " screenshots)");
    return result.reached ? kOk : kFailed;
  }

  bool ReadPage(int& page) {
    Win32WizardScreen screen(wizard_, "", "");
    PageView view;
    if (!screen.ReadPage(view)) return false;
    page = PageOf(view);
    return true;
  }

  // Between `min` and `max` arguments after the verb.
  bool Count(size_t min, size_t max) const {
    return args_.size() >= min + 1 && args_.size() <= max + 1;
  }

  // The timeout argument at `index`, when given; a malformed one ends the program.
  DWORD Timeout(size_t index) const {
    long seconds = 0;
    if (index >= args_.size()) return kDefaultTimeoutMs;
    if (!ParseNumber(args_[index], seconds) || seconds > 24 * 3600) std::exit(Usage());
    return static_cast<DWORD>(seconds * 1000);
  }

  static int NoWizard() { return Fail("no wizard window"); }

  static int Usage() {
    std::fputs(
        "usage: wizard_driver wait-wizard|wait-gone [timeout]\n"
        "       wizard_driver text|state|click <id>\n"
        "       wizard_driver page | escape | close | message\n"
        "       wizard_driver wait-text <id> <text> [timeout]\n"
        "       wizard_driver wait-page <page> [timeout]\n"
        "       wizard_driver wait-message [timeout]\n"
        "       wizard_driver answer yes|no|ok|cancel\n"
        "       wizard_driver wait-window|wait-window-gone <title> [timeout]\n"
        "       wizard_driver screenshot <file.bmp> [wizard|<window title>]\n"
        "       wizard_driver walk <folder> [--answer yes|no] [--expect <page>] [--timeout <s>]"
        " [--viewer <title>]\n"
        "Timeouts in seconds (default 30); texts in UTF-8, LF between lines.\n",
        stderr);
    return kUsage;
  }

  std::vector<std::string> args_;
  WizardDriver wizard_;
};

}  // namespace
}  // namespace kx::test

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return 2;
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(kx::test::ForWizard(wide[i]));
  LocalFree(wide);
  return kx::test::Command(std::move(args)).Run();
}

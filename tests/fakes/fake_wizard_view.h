// A recording dialog and viewer platform for tests of the wizard's logic:
// texts, visibility and pictures by control, message boxes with scripted
// answers, and the viewer run's platform calls.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fitcheck/ui/resource.h"
#include "fitcheck/ui/wizard_strings.h"
#include "fitcheck/ui/wizard_view.h"

namespace kx::test {

class FakeWizardView final : public WizardView {
 public:
  struct Shown {
    std::string text;
    MessageStyle style;
    bool placed;
  };

  std::map<int, std::string> texts;
  std::set<int> hidden;
  std::set<int> disabled;
  std::set<int> checked;
  int picture = 0;
  int progress = 0;
  std::vector<int> progress_history;
  bool main_text_at_title_edge = false;
  int instruction_growth = 0;
  std::vector<Shown> messages;
  std::deque<MessageAnswer> answers;          // scripted; Yes/OK when empty
  std::function<void(const Shown&)> during;   // runs while a message box is open
  ScreenRect work{0, 0, 1280, 1024};
  ScreenRect window{0, 0, 360, 380};
  int moved_x = -1, moved_y = -1;
  int end_result = -1;
  std::int32_t window_value = 0x00012345;
  std::map<int, std::string> replaced_strings;  // string-table texts a test changed

  std::string LoadText(int id) override {
    if (auto it = replaced_strings.find(id); it != replaced_strings.end()) return it->second;
    static const std::map<int, std::string> table = {
        {IDS_PAGE_TITLE, TEXT_PAGE_TITLE}, {IDS_TITLE_ENVIRONMENT, TEXT_TITLE_ENVIRONMENT},
        {IDS_TITLE_TEST, TEXT_TITLE_TEST}, {IDS_TITLE_END, TEXT_TITLE_END},
        {IDS_START_TEXT, TEXT_START_TEXT}, {IDS_ENVIRONMENT_OK, TEXT_ENVIRONMENT_OK},
        {IDS_CLICK_NEXT, TEXT_CLICK_NEXT}, {IDS_NEXT_TO_GRAPHICS, TEXT_NEXT_TO_GRAPHICS},
        {IDS_OS_NOT_SUPPORTED, TEXT_OS_NOT_SUPPORTED}, {IDS_MEMORY_LOW, TEXT_MEMORY_LOW},
        {IDS_SCREEN_SMALL, TEXT_SCREEN_SMALL}, {IDS_NO_DIRECTX, TEXT_NO_DIRECTX},
        {IDS_DIRECTX_SITE, TEXT_DIRECTX_SITE}, {IDS_OS_LABEL, TEXT_OS_LABEL},
        {IDS_MEMORY_LABEL, TEXT_MEMORY_LABEL}, {IDS_SCREEN_LABEL, TEXT_SCREEN_LABEL},
        {IDS_CONFIRM_CANCEL, TEXT_CONFIRM_CANCEL}, {IDS_WIZARD_CAPTION, TEXT_WIZARD_CAPTION},
        {IDS_FINISH, TEXT_FINISH}, {IDS_CANCEL, TEXT_CANCEL}, {IDS_TEST_COUNTER, TEXT_TEST_COUNTER},
        {IDS_DIRECTX_DISC, TEXT_DIRECTX_DISC}, {IDS_TEST_HINT, TEXT_TEST_HINT},
        {IDS_3D_FAILED, TEXT_3D_FAILED}, {IDS_DRIVER_PROBLEM, TEXT_DRIVER_PROBLEM},
        {IDS_DRIVER_SOURCE, TEXT_DRIVER_SOURCE}, {IDS_DONE, TEXT_DONE},
        {IDS_RESULT_HEADING, TEXT_RESULT_HEADING}, {IDS_CHECK_OVER, TEXT_CHECK_OVER},
        {IDS_3D_RETRY, TEXT_3D_RETRY}, {IDS_3D_QUESTION, TEXT_3D_QUESTION},
        {IDS_OTHER_SETTINGS, TEXT_OTHER_SETTINGS}, {IDS_DIRECTX_URL, TEXT_DIRECTX_URL},
        {IDS_FILES_MISSING, TEXT_FILES_MISSING}, {IDS_WIZARD_ABORT, TEXT_WIZARD_ABORT},
        {IDS_NEXT_TO_SCREEN, TEXT_NEXT_TO_SCREEN}, {IDS_ENVIRONMENT_OK_MEMORY, TEXT_ENVIRONMENT_OK_MEMORY},
        {IDS_DXSETUP_FAILED, TEXT_DXSETUP_FAILED}, {IDS_DXSETUP_MISSING, TEXT_DXSETUP_MISSING},
    };
    return table.at(id);
  }
  void SetText(int control_id, const std::string& text) override { texts[control_id] = text; }
  void ShowControl(int control_id, bool shown) override {
    if (shown) {
      hidden.erase(control_id);
    } else {
      hidden.insert(control_id);
    }
  }
  void EnableControl(int control_id, bool enabled) override {
    if (enabled) {
      disabled.erase(control_id);
    } else {
      disabled.insert(control_id);
    }
  }
  bool IsChecked(int control_id) override { return checked.count(control_id) != 0; }
  void SetChecked(int control_id, bool on) override {
    if (on) {
      checked.insert(control_id);
    } else {
      checked.erase(control_id);
    }
  }
  void SetPicture(int bitmap_id) override { picture = bitmap_id; }
  void SetProgress(int position) override {
    progress = position;
    progress_history.push_back(position);
  }
  void PlaceMainText(bool at_title_edge) override { main_text_at_title_edge = at_title_edge; }
  void GrowInstructionUpward(int pixels) override { instruction_growth += pixels; }
  MessageAnswer ShowMessage(const std::string& text, MessageStyle style, bool placed) override {
    messages.push_back({text, style, placed});
    if (during) {
      auto hook = during;  // once
      during = nullptr;
      hook(messages.back());
    }
    MessageAnswer answer = style == MessageStyle::kQuestion ? MessageAnswer::kYes : MessageAnswer::kOk;
    if (style == MessageStyle::kQuestion && !answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    return answer;
  }
  ScreenRect WorkArea() override { return work; }
  ScreenRect WindowRect() override { return window; }
  void MoveWindowTo(int x, int y) override {
    moved_x = x;
    moved_y = y;
  }
  void EndDialog(int result) override { end_result = result; }
  std::int32_t WindowValue() override { return window_value; }

  bool Visible(int id) const { return hidden.count(id) == 0; }
  bool Enabled(int id) const { return disabled.count(id) == 0; }
};

class FakeViewerPlatform final : public ViewerPlatform {
 public:
  std::vector<std::string> calls;  // in order
  std::vector<std::string> command_lines;
  unsigned last_test = 0;  // the number of the test whose worker started last
  bool worker_starts = true;
  bool window_present = true;
  bool left_viewer = false;                   // a viewer window of an earlier run is up
  std::function<void(int, int)> notify_self;  // wired to the wizard by the test

  bool StartViewerWorker(const std::string& command_line, unsigned test) override {
    calls.push_back("start");
    command_lines.push_back(command_line);
    last_test = test;
    return worker_starts;
  }
  bool FindViewerWindow(const std::string& title) override {
    calls.push_back("find " + title);
    return window_present;
  }
  void PostCloseToViewer() override { calls.push_back("post close"); }
  void StartCloseWatch() override { calls.push_back("watch on"); }
  void StopCloseWatch() override { calls.push_back("watch off"); }
  bool EndLeftViewer(const std::string&) override {
    if (!left_viewer) return false;
    calls.push_back("end left viewer");
    left_viewer = false;
    return true;
  }
  void EndCurrentViewer(const std::string&) override { calls.push_back("end current viewer"); }
  void NotifySelf(int kind, int detail) override {
    calls.push_back("notify " + std::to_string(kind) + " " + std::to_string(detail));
    if (notify_self) notify_self(kind, detail);
  }
};

}  // namespace kx::test

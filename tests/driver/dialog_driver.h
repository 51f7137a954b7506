// Drives a dialog of a running program as a user would: finds it by its
// title, reads control texts and states, presses buttons, types into edit
// boxes, chooses combo box items, answers message boxes and takes
// screenshots. The dialog may belong to another process or to another
// thread of this one (a modal dialog that an export runs on the caller's
// thread is driven from a second thread). Texts are in code page 932.
//
// Presses and choices are posted, never sent: a dialog often answers them
// with a modal message box, and a sent message would wait for the driver to
// answer that box itself. Reads and typing are sent with a time limit.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kx::test {

// Polls `condition` every `interval_ms` until it holds (true) or `timeout_ms`
// has passed (false). The condition is checked once more at the end.
[[nodiscard]] bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms,
                             DWORD interval_ms = 100);

// A visible top-level window whose title is `title` (code page 932), such as
// the viewer of a 3D test; null when there is none.
HWND FindVisibleWindow(const std::string& title) noexcept;

// The text of any window, by WM_GETTEXT with a time limit so that a busy
// owner cannot hold the driver; `text` is untouched on failure.
[[nodiscard]] bool ReadWindowText(HWND window, std::string& text) noexcept;

// Saves what the screen shows as a 24-bit BMP file: the whole screen when
// `window` is null, otherwise the part of the screen that the window covers.
[[nodiscard]] bool SaveScreenshot(const std::string& path, HWND window = nullptr) noexcept;

struct ControlState {
  bool visible = false;  // the control and its dialog are shown
  bool enabled = false;
  bool checked = false;  // check boxes and radio buttons only
};

class DialogDriver {
 public:
  DialogDriver() = default;
  explicit DialogDriver(HWND dialog) noexcept;

  // Looks for the dialog now: a visible top-level dialog titled `title` and,
  // when `control_id` is not 0, holding that control (which tells the dialog
  // from a message box of the same title).
  [[nodiscard]] bool Find(const std::string& title, int control_id = 0) noexcept;
  [[nodiscard]] bool WaitFor(const std::string& title, int control_id, DWORD timeout_ms);
  // Until the dialog window is gone (the dialog ended).
  [[nodiscard]] bool WaitUntilGone(DWORD timeout_ms);
  bool Present() const noexcept;

  HWND window() const noexcept { return dialog_; }
  DWORD process_id() const noexcept { return process_id_; }
  // Control `id` of the dialog; null when the dialog or the control is gone.
  HWND Control(int id) const noexcept;

  [[nodiscard]] bool ReadText(int id, std::string& text) const noexcept;
  [[nodiscard]] bool ReadState(int id, ControlState& state) const noexcept;
  // True once control `id` holds exactly `text`.
  [[nodiscard]] bool WaitForText(int id, const std::string& text, DWORD timeout_ms) const;

  // Presses a button or clicks a label that notifies its dialog; refuses,
  // as the screen would, a control that is hidden or disabled, or one of a
  // disabled dialog.
  [[nodiscard]] bool Click(int id) const noexcept;
  // Clicks check box `id` when its state differs from `checked`, and waits
  // until the box shows the new state.
  [[nodiscard]] bool SetCheck(int id, bool checked) const noexcept;
  // Replaces the text of edit box `id`, or of the edit box of an editable
  // combo box, as typing would: the dialog hears of the change (EN_CHANGE,
  // CBN_EDITCHANGE) before this returns. Refuses a hidden or disabled box.
  [[nodiscard]] bool TypeText(int id, const std::string& text) const noexcept;
  // Chooses item `index` of combo box `id` as the mouse would: the selection
  // changes and the dialog is told (CBN_SELCHANGE, posted).
  [[nodiscard]] bool SelectComboItem(int id, int index) const noexcept;
  // The items of combo box `id` in list order, and the selected index (-1: none).
  [[nodiscard]] bool ReadComboItems(int id, std::vector<std::string>& items) const;
  [[nodiscard]] bool ReadComboSelection(int id, int& index) const noexcept;
  // The Escape key, through the dialog manager of the dialog's thread.
  [[nodiscard]] bool PressEscape() const noexcept;
  // The close box of the title bar.
  [[nodiscard]] bool CloseByCloseBox() const noexcept;

  // A message box of the dialog's process: a visible top-level dialog titled
  // `title`, other than the dialog, with push buttons. Its owner does not
  // matter (it may be an invisible helper window).
  HWND FindMessageBox(const std::string& title) const noexcept;
  [[nodiscard]] bool WaitForMessageBox(const std::string& title, DWORD timeout_ms,
                                       HWND& box) const;
  // The text of the box's message static.
  [[nodiscard]] static bool ReadMessageText(HWND box, std::string& text) noexcept;
  static bool HasButton(HWND box, int id) noexcept;  // IDOK, IDYES, IDNO, IDCANCEL
  // Presses button `id` of the box; true once the box has closed.
  [[nodiscard]] static bool AnswerMessageBox(HWND box, int id, DWORD timeout_ms = 10000);

 private:
  HWND dialog_ = nullptr;
  DWORD process_id_ = 0;
};

}  // namespace kx::test

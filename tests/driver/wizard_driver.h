// Drives the running wizard from another process, as a user would: finds its
// window and its message boxes, reads control texts and states, presses
// buttons and labels, answers questions, and takes screenshots. Texts are in
// code page 932, with the CR line breaks the wizard's statics hold.
//
// Presses and answers are posted, never sent: the wizard answers many of them
// with a modal message box, and a sent message would wait for the driver to
// answer that box itself.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/driver/wizard_walk.h"

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
  bool checked = false;  // check boxes only
};

class WizardDriver {
 public:
  // Looks for the wizard now: a visible top-level dialog titled
  // "動作チェックウィザード" that has the Next button (a message box has the
  // same title but not the button).
  [[nodiscard]] bool Find() noexcept;
  [[nodiscard]] bool WaitForWizard(DWORD timeout_ms);
  // Until the wizard window is gone (the dialog ended).
  [[nodiscard]] bool WaitUntilGone(DWORD timeout_ms);
  bool Present() const noexcept;

  HWND window() const noexcept { return wizard_; }
  DWORD process_id() const noexcept { return process_id_; }

  [[nodiscard]] bool ReadText(int id, std::string& text) const noexcept;
  [[nodiscard]] bool ReadState(int id, ControlState& state) const noexcept;
  // True once control `id` holds exactly `text`.
  [[nodiscard]] bool WaitForText(int id, const std::string& text, DWORD timeout_ms) const;

  // Presses a button or clicks a label that notifies its dialog; refuses,
  // as the screen would, a control that is hidden or disabled.
  [[nodiscard]] bool Click(int id) const noexcept;
  // The Escape key, through the dialog manager of the wizard's thread.
  [[nodiscard]] bool PressEscape() const noexcept;
  // The close box of the title bar.
  [[nodiscard]] bool CloseByCloseBox() const noexcept;

  // A message box of the wizard's process: a visible top-level dialog
  // titled like the wizard, other than the wizard, with push buttons. Its
  // owner does not matter (it may be an invisible helper window).
  HWND FindMessageBox() const noexcept;
  [[nodiscard]] bool WaitForMessageBox(DWORD timeout_ms, HWND& box) const;
  // The text of the box's message static.
  [[nodiscard]] static bool ReadMessageText(HWND box, std::string& text) noexcept;
  static bool HasButton(HWND box, int id) noexcept;  // IDOK, IDYES, IDNO, IDCANCEL
  // Presses button `id` of the box; true once the box has closed.
  [[nodiscard]] static bool AnswerMessageBox(HWND box, int id, DWORD timeout_ms = 10000);

 private:
  HWND Control(int id) const noexcept;

  HWND wizard_ = nullptr;
  DWORD process_id_ = 0;
};

}  // namespace kx::test

// Drives the running wizard from another process, as a user would: finds its
// window and its message boxes, reads control texts and states, presses
// buttons and labels, answers questions, and takes screenshots. Texts are in
// code page 932, with the CR line breaks the wizard's statics hold.
#pragma once

#include <windows.h>

#include <string>

#include "tests/driver/dialog_driver.h"
#include "tests/driver/wizard_walk.h"

namespace kx::test {

// The wizard is a dialog like any other to the driver; what is its own is
// how it is recognised: the title "動作チェックウィザード" and the Next
// button (a message box has the same title but not the button).
class WizardDriver : public DialogDriver {
 public:
  [[nodiscard]] bool Find() noexcept;
  [[nodiscard]] bool WaitForWizard(DWORD timeout_ms);

  // A message box of the wizard's process, titled like the wizard.
  HWND FindMessageBox() const noexcept;
  [[nodiscard]] bool WaitForMessageBox(DWORD timeout_ms, HWND& box) const;
};

}  // namespace kx::test

#include "tests/driver/wizard_driver.h"

namespace kx::test {

bool WizardDriver::Find() noexcept { return DialogDriver::Find(kWizardTitle, kNextButton); }

bool WizardDriver::WaitForWizard(DWORD timeout_ms) {
  return WaitUntil([this] { return Find(); }, timeout_ms);
}

HWND WizardDriver::FindMessageBox() const noexcept {
  return DialogDriver::FindMessageBox(kWizardTitle);
}

bool WizardDriver::WaitForMessageBox(DWORD timeout_ms, HWND& box) const {
  return DialogDriver::WaitForMessageBox(kWizardTitle, timeout_ms, box);
}

}  // namespace kx::test

// What the wizard tells an unattended run (Fitcheck /auto) and asks of it.
// Without one the wizard runs as the user drives it.
#pragma once

#include <string>

#include "fitcheck/core/kx_gl_option.h"

namespace kx {

class WizardAutomation {
 public:
  virtual ~WizardAutomation() = default;
  // The viewer of a test of `option` is about to start; it writes `result_file`.
  virtual void TestStarting(const KxGLOption& option, const std::string& result_file) = 0;
  // The viewer's measure of its view arrived (0 alike, 1 unsure, 2 unlike).
  virtual void LikenessArrived(int verdict) = 0;
  // The current test's outcome has been acted on.
  virtual void TestDecided() = 0;
  // Finishing on the success page stored `option` (or failed to).
  virtual void SettingsStored(const KxGLOption& option, bool stored) = 0;
  // The bound from a test's start to its verdict: Wizard::OnVerdictBound
  // when it passes first.
  virtual void StartVerdictBound() = 0;
  virtual void StopVerdictBound() = 0;
};

}  // namespace kx

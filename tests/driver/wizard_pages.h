// Which page the wizard shows, recognised from what a user sees: the title,
// the main, verdict and instruction texts, and the Next button and check box.
// Texts are the wizard's own, in code page 932, with CR between lines.
#pragma once

#include <string>

namespace kx::test {

// Control ids of the wizard dialog that the driver reads or presses.
enum WizardControl : int {
  kTitleText = 1001,
  kNextButton = 1002,
  kCancelButton = 1003,
  kPicture = 1004,
  kMainText = 1005,
  kSecondaryText = 1006,
  kInstructionText = 1007,
  kInstallButton = 1008,
  kSwitchCheckBox = 1009,
  kLinkText = 1011,
  kSwitchLabel = 1034,
  kVerdictText = 1035,
};

// The wizard's title bar, and the title of every message box it shows.
inline constexpr const char* kWizardTitle = "動作チェックウィザード";
// The question asked while the viewer shows a configuration.
inline constexpr const char* k3DQuestion =
    "左側がサンプルで、右側が3Dパースです。\r3Dパースは、サンプルのように表示されましたか？";

struct PageView {
  std::string title;        // 1001
  std::string main;         // 1005
  std::string verdict;      // 1035
  std::string instruction;  // 1007
  bool next_visible = false;
  bool next_enabled = false;
  bool check_visible = false;  // 1009
};

inline constexpr int kUnknownPage = -1;

// The page number 0-9, or kUnknownPage when the texts match no page (for
// example a success page whose check box is not shown).
int PageOf(const PageView& view);

// Pages that end the wizard: only Cancel ("終了") is left to press.
bool IsFinalPage(int page);

}  // namespace kx::test

// What the logic of the rendering dialogs asks of a dialog window. One Win32
// implementation serves the four dialogs; the tests drive the logic through
// an in-memory one.
#pragma once

#include <string>

namespace kx::hostkit {

enum class MessageKind {
  kExclamation,    // OK, exclamation icon
  kYesNoQuestion,  // Yes/No, exclamation icon
};
enum class MessageAnswer { kOk, kYes, kNo };

class DialogView {
 public:
  virtual ~DialogView() = default;

  virtual void SetText(int control_id, const std::string& text) = 0;
  virtual std::string Text(int control_id) = 0;
  virtual void ShowControl(int control_id, bool shown) = 0;
  virtual void EnableControl(int control_id, bool enabled) = 0;
  virtual bool IsChecked(int control_id) = 0;
  virtual void SetChecked(int control_id, bool checked) = 0;
  // Gives the control the focus and selects its whole text.
  virtual void FocusAndSelect(int control_id) = 0;

  // Combo boxes (drop-down lists): items with a 32-bit item value each.
  virtual void ClearCombo(int control_id) = 0;
  virtual void AddComboItem(int control_id, const std::string& text, int data) = 0;
  // Selects position `position`; -1 clears the selection. False when there is no such item.
  virtual bool SelectComboItem(int control_id, int position) = 0;
  // The selected position, -1 when none.
  virtual int ComboSelection(int control_id) = 0;
  virtual int ComboCount(int control_id) = 0;
  virtual int ComboItemData(int control_id, int position) = 0;

  // Layout, in the dialog's client pixels.
  virtual int ControlHeight(int control_id) = 0;
  virtual void MoveControlUp(int control_id, int pixels) = 0;
  // The window becomes `pixels` shorter; its bottom edge moves up.
  virtual void ShrinkWindow(int pixels) = 0;

  // Scroll bar controls.
  virtual void SetScrollRange(int control_id, int minimum, int maximum) = 0;
  virtual void SetScrollPosition(int control_id, int position) = 0;

  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageKind kind) = 0;
  virtual void EndDialog(int result) = 0;
};

// The ANSI texts of the number boxes.
inline constexpr const char* kEnterIntegerText = "整数を入力してください。";
inline constexpr const char* kRangeTemplate = "%1 から %2 までの整数を入力してください。";

}  // namespace kx::hostkit

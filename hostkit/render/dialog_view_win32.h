// The dialog window behind the logic of every rendering dialog: controls by
// id, combo items with their values, layout moves and message boxes.
#pragma once

#include <windows.h>

#include "hostkit/render/dialog_view.h"

namespace kx::hostkit {

// Hostkit.dll, where the dialog templates are.
HINSTANCE RenderResourceModule() noexcept;

// The dialog object of `window`, kept in DWLP_USER from WM_INITDIALOG on
// (whose lParam brings it); null before.
template <class Dialog>
Dialog* DialogObject(HWND window, UINT message, LPARAM lparam) noexcept {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    return reinterpret_cast<Dialog*>(lparam);
  }
  return reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
}

class Win32DialogView final : public DialogView {
 public:
  void Attach(HWND window) noexcept { window_ = window; }
  HWND window() const noexcept { return window_; }

  void SetText(int control_id, const std::string& text) override;
  std::string Text(int control_id) override;
  void ShowControl(int control_id, bool shown) override;
  void EnableControl(int control_id, bool enabled) override;
  bool IsChecked(int control_id) override;
  void SetChecked(int control_id, bool checked) override;
  void FocusAndSelect(int control_id) override;
  void ClearCombo(int control_id) override;
  void AddComboItem(int control_id, const std::string& text, int data) override;
  bool SelectComboItem(int control_id, int position) override;
  int ComboSelection(int control_id) override;
  int ComboCount(int control_id) override;
  int ComboItemData(int control_id, int position) override;
  int ControlHeight(int control_id) override;
  void MoveControlUp(int control_id, int pixels) override;
  void ShrinkWindow(int pixels) override;
  void SetScrollRange(int control_id, int minimum, int maximum) override;
  void SetScrollPosition(int control_id, int position) override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageKind kind) override;
  void EndDialog(int result) override;

  // The control's rectangle in the dialog's client coordinates.
  RECT ControlRect(int control_id);

 private:
  HWND Control(int control_id) const noexcept { return GetDlgItem(window_, control_id); }
  HWND window_ = nullptr;
};

}  // namespace kx::hostkit

#include "hostkit/render/dialog_view_win32.h"

#include <vector>

namespace kx::hostkit {

HINSTANCE RenderResourceModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&RenderResourceModule), &module);
  return module;
}

void Win32DialogView::SetText(int control_id, const std::string& text) {
  SetDlgItemTextA(window_, control_id, text.c_str());
}

std::string Win32DialogView::Text(int control_id) {
  HWND control = Control(control_id);
  const int length = GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextA(control, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void Win32DialogView::ShowControl(int control_id, bool shown) {
  ShowWindow(Control(control_id), shown ? SW_SHOW : SW_HIDE);
}

void Win32DialogView::EnableControl(int control_id, bool enabled) {
  EnableWindow(Control(control_id), enabled ? TRUE : FALSE);
}

bool Win32DialogView::IsChecked(int control_id) {
  return IsDlgButtonChecked(window_, control_id) == BST_CHECKED;
}

void Win32DialogView::SetChecked(int control_id, bool checked) {
  CheckDlgButton(window_, control_id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogView::FocusAndSelect(int control_id) {
  HWND control = Control(control_id);
  SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  SendMessageA(control, EM_SETSEL, 0, -1);
}

void Win32DialogView::ClearCombo(int control_id) {
  SendDlgItemMessageA(window_, control_id, CB_RESETCONTENT, 0, 0);
}

void Win32DialogView::AddComboItem(int control_id, const std::string& text, int data) {
  const LRESULT position = SendDlgItemMessageA(window_, control_id, CB_ADDSTRING, 0,
                                               reinterpret_cast<LPARAM>(text.c_str()));
  if (position >= 0) {
    SendDlgItemMessageA(window_, control_id, CB_SETITEMDATA, static_cast<WPARAM>(position),
                        static_cast<LPARAM>(data));
  }
}

bool Win32DialogView::SelectComboItem(int control_id, int position) {
  return SendDlgItemMessageA(window_, control_id, CB_SETCURSEL, static_cast<WPARAM>(position), 0) !=
             CB_ERR ||
         position == -1;
}

int Win32DialogView::ComboSelection(int control_id) {
  return static_cast<int>(SendDlgItemMessageA(window_, control_id, CB_GETCURSEL, 0, 0));
}

int Win32DialogView::ComboCount(int control_id) {
  const LRESULT count = SendDlgItemMessageA(window_, control_id, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

int Win32DialogView::ComboItemData(int control_id, int position) {
  const LRESULT data =
      SendDlgItemMessageA(window_, control_id, CB_GETITEMDATA, static_cast<WPARAM>(position), 0);
  return data == CB_ERR ? -1 : static_cast<int>(data);
}

RECT Win32DialogView::ControlRect(int control_id) {
  RECT rect = {};
  GetWindowRect(Control(control_id), &rect);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int Win32DialogView::ControlHeight(int control_id) {
  const RECT rect = ControlRect(control_id);
  return rect.bottom - rect.top;
}

void Win32DialogView::MoveControlUp(int control_id, int pixels) {
  const RECT rect = ControlRect(control_id);
  SetWindowPos(Control(control_id), nullptr, rect.left, rect.top - pixels, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogView::ShrinkWindow(int pixels) {
  RECT rect = {};
  GetWindowRect(window_, &rect);
  SetWindowPos(window_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top - pixels,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogView::SetScrollRange(int control_id, int minimum, int maximum) {
  ::SetScrollRange(Control(control_id), SB_CTL, minimum, maximum, TRUE);
}

void Win32DialogView::SetScrollPosition(int control_id, int position) {
  ::SetScrollPos(Control(control_id), SB_CTL, position, TRUE);
}

MessageAnswer Win32DialogView::ShowMessage(const std::string& text, const std::string& caption,
                                           MessageKind kind) {
  std::string title = caption;
  if (title.empty()) {
    char own[256] = {};
    GetWindowTextA(window_, own, sizeof own);
    title = own;
  }
  const UINT style = kind == MessageKind::kYesNoQuestion ? MB_YESNO | MB_ICONEXCLAMATION
                                                         : MB_OK | MB_ICONEXCLAMATION;
  switch (MessageBoxA(window_, text.c_str(), title.c_str(), style)) {
    case IDYES:
      return MessageAnswer::kYes;
    case IDNO:
      return MessageAnswer::kNo;
    default:
      return MessageAnswer::kOk;
  }
}

void Win32DialogView::EndDialog(int result) { ::EndDialog(window_, result); }

}  // namespace kx::hostkit

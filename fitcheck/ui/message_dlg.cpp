#include "fitcheck/ui/message_dlg.h"

#include "fitcheck/ui/resource.h"
#include "platform/win32/unique_resource.h"

namespace kx {

INT_PTR CALLBACK CMessageDlg::DialogProc(HWND window, UINT message, WPARAM, LPARAM lparam) {
  if (message != WM_INITDIALOG) return FALSE;
  const auto* self = reinterpret_cast<CMessageDlg*>(lparam);
  SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, 0, LWA_ALPHA);
  // Without a compositor a fully transparent layered window may still be
  // drawn; an empty region leaves nothing to draw.
  SetWindowRgn(window, CreateRectRgn(0, 0, 0, 0), FALSE);
  SetWindowPos(window, nullptr, self->x_, self->y_, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return TRUE;
}

HWND CMessageDlg::Create(HWND parent) {
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MESSAGE_OWNER), parent,
                            DialogProc, reinterpret_cast<LPARAM>(this));
}

int ShowMessage(HWND wizard, const std::string& text, const std::string& caption, UINT type,
                bool placed) {
  if (!placed) return MessageBoxA(wizard, text.c_str(), caption.c_str(), type);
  RECT rect = {};
  GetWindowRect(wizard, &rect);
  CMessageDlg owner_dialog(rect.left, rect.top + 50);
  win::UniqueWindow owner(owner_dialog.Create(wizard));
  if (!owner) return MessageBoxA(wizard, text.c_str(), caption.c_str(), type);
  ShowWindow(owner.get(), SW_SHOW);
  UpdateWindow(owner.get());
  // The box disables only its own owner: the wizard is disabled as a box of
  // its own would disable it, so that nothing of it runs while the box is
  // up. It is enabled again before the owner goes, so that it gets the
  // activation back.
  const bool was_enabled = EnableWindow(wizard, FALSE) == FALSE;
  const int answer = MessageBoxA(owner.get(), text.c_str(), caption.c_str(), type);
  if (was_enabled) EnableWindow(wizard, TRUE);
  return answer;
}

}  // namespace kx

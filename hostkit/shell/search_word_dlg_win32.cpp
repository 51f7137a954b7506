#include "hostkit/shell/hostkit_app.h"
#include "hostkit/shell/search_resource.h"
#include "hostkit/shell/search_walk.h"
#include "hostkit/shell/search_word_dlg.h"

namespace kx::hostkit {
namespace {

constexpr int kSearchTextChars = 128;
constexpr char kNoWordsMessage[] = "検索語句を記入してください。";

}  // namespace

INT_PTR CSearchWordDlg::DoModal() {
  return DialogBoxParamA(CHostkitApp::Instance().module(), MAKEINTRESOURCEA(IDD_SEARCH_WORD),
                         parent_, DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CSearchWordDlg::DialogProc(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    reinterpret_cast<CSearchWordDlg*>(lparam)->window_ = window;
  }
  auto* self = reinterpret_cast<CSearchWordDlg*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (...) {
    return FALSE;  // nothing is thrown through the system's dialog code
  }
}

INT_PTR CSearchWordDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        OnOK();
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        EndDialog(window_, IDCANCEL);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

BOOL CSearchWordDlg::OnInitDialog() {
  RECT rect;
  GetWindowRect(window_, &rect);
  const DialogOrigin origin =
      PlaceAboveAnchor(x_, y_, rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(window_, nullptr, origin.left, origin.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowTextA(window_, caption_.c_str());

  history_.Load(registry_);
  const HWND box = GetDlgItem(window_, IDC_SEARCH_WORDS);
  SendMessageA(box, CB_LIMITTEXT, kSearchTextChars, 0);
  for (const std::string& entry : history_.entries()) {
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  return TRUE;
}

void CSearchWordDlg::OnOK() {
  const HWND box = GetDlgItem(window_, IDC_SEARCH_WORDS);
  const int length = GetWindowTextLengthA(box);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(box, text.data(), length + 1)));
  if (text.empty()) {
    MessageBoxA(window_, kNoWordsMessage, caption_.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  text_ = text;
  // A history that cannot be written costs only the history.
  if (history_.Add(text_)) (void)history_.Save(registry_);
  EndDialog(window_, IDOK);
}

}  // namespace kx::hostkit

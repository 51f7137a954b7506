#include "hostkit/shell/search_progress_dlg.h"
// windows.h first
#include <commctrl.h>

#include "common/text.h"
#include "hostkit/shell/hostkit_app.h"
#include "hostkit/shell/search_resource.h"
#include "hostkit/shell/shell_platform_win32.h"

namespace kx::hostkit {
namespace {

constexpr char kSearchingText[] = "検索中...";
constexpr char kProgressFormat[] = "%d個のファイルを検索... %d 個のパーツがみつかりました";

// The worker hears that a report was shown only after this pause: ten
// updates a second keep the bar moving smoothly, and a dialog redrawn for
// every file takes the processor from the search itself.
constexpr UINT_PTR kProgressPauseTimer = 1;
constexpr UINT kProgressPauseMs = 100;

}  // namespace

CSearchProgressDlg::~CSearchProgressDlg() {
  // However the dialog ended, the worker is not left running over this
  // object.
  if (worker_) {
    run_.Cancel();
    JoinWorker();
  }
}

INT_PTR CSearchProgressDlg::DoModal() {
  // The template holds a progress bar, whose class exists only once asked
  // for: a host that never asked would get no dialog at all.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  return DialogBoxParamA(CHostkitApp::Instance().module(), MAKEINTRESOURCEA(IDD_SEARCH_PROGRESS),
                         dialog_.parent, DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CSearchProgressDlg::DialogProc(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    reinterpret_cast<CSearchProgressDlg*>(lparam)->window_ = window;
  }
  auto* self = reinterpret_cast<CSearchProgressDlg*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (...) {
    return FALSE;  // nothing is thrown through the system's dialog code
  }
}

INT_PTR CSearchProgressDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_SEARCH_PROGRESS:
      OnSearchProgress();
      return TRUE;
    case WM_SEARCH_DONE:
      OnSearchDone();
      return TRUE;
    case WM_TIMER:
      if (wparam != kProgressPauseTimer) return FALSE;
      KillTimer(window_, kProgressPauseTimer);
      run_.ProgressShown();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

BOOL CSearchProgressDlg::OnInitDialog() {
  RECT rect;
  GetWindowRect(window_, &rect);
  const DialogOrigin origin =
      PlaceAboveAnchor(dialog_.x, dialog_.y, rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(window_, nullptr, origin.left, origin.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowTextA(window_, dialog_.caption.c_str());

  const HWND bar = GetDlgItem(window_, IDC_SEARCH_PROGRESS);
  SendMessageA(bar, PBM_SETRANGE32, 0, 100);
  SendMessageA(bar, PBM_SETSTEP, 1, 0);
  SendMessageA(bar, PBM_SETPOS, 0, 0);
  SetDlgItemTextA(window_, IDC_SEARCH_STATUS, kSearchingText);

  // Started suspended so that the handle is kept before the worker can
  // report anything.
  worker_.reset(CreateThread(nullptr, 0, SearchFolder, this, CREATE_SUSPENDED, nullptr));
  if (!worker_) {
    EndDialog(window_, -1);
    return TRUE;
  }
  ResumeThread(worker_.get());
  return TRUE;
}

DWORD WINAPI CSearchProgressDlg::SearchFolder(LPVOID self) {
  try {
    static_cast<CSearchProgressDlg*>(self)->run_.Run();
  } catch (...) {
    // Out of memory on the way: the hits so far stand; the dialog hears
    // that the search is over.
    static_cast<CSearchProgressDlg*>(self)->Done();
  }
  return 0;
}

void CSearchProgressDlg::Progress() { PostMessageA(window_, WM_SEARCH_PROGRESS, 0, 0); }

void CSearchProgressDlg::Done() { PostMessageA(window_, WM_SEARCH_DONE, 0, 0); }

void CSearchProgressDlg::OnSearchProgress() {
  if (SetTimer(window_, kProgressPauseTimer, kProgressPauseMs, nullptr) == 0) run_.ProgressShown();
  const std::int32_t examined = run_.files_examined();
  SendDlgItemMessageA(window_, IDC_SEARCH_PROGRESS, PBM_SETPOS,
                      SearchProgressPosition(examined, dialog_.expected_files), 0);
  SetDlgItemTextA(window_, IDC_SEARCH_STATUS,
                  Format(kProgressFormat, examined, run_.hit_count()).c_str());
}

void CSearchProgressDlg::OnSearchDone() {
  if (ended_) return;  // a cancel came first
  ended_ = true;
  SendDlgItemMessageA(window_, IDC_SEARCH_PROGRESS, PBM_SETPOS, 100, 0);
  JoinWorker();
  WriteResultFile();
  EndDialog(window_, IDOK);
}

void CSearchProgressDlg::OnCancel() {
  if (ended_) return;
  ended_ = true;
  run_.Cancel();
  JoinWorker();
  WriteResultFile();
  EndDialog(window_, IDCANCEL);
}

void CSearchProgressDlg::JoinWorker() {
  if (!worker_) return;
  WaitForSingleObject(worker_.get(), INFINITE);
  worker_.reset();
}

void CSearchProgressDlg::WriteResultFile() const {
  // A file that cannot be written leaves the host without hits; the search
  // result itself still stands.
  (void)WriteWholeFile(dialog_.result_path,
                       SearchResultText(dialog_.keywords_text, run_.hits(), "\r\n"));
}

}  // namespace kx::hostkit

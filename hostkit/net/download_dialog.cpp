#include "hostkit/net/download_dialog.h"

#include <commctrl.h>

#include "hostkit/net/download_names.h"
#include "hostkit/net/download_resource.h"
#include "hostkit/net/wininet_client_win32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace kx::hostkit {

namespace {

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// Byte-count notices are spaced in time, so the last pieces before the
// line pauses may have come without one: a moment after showing the
// counters the dialog looks at them once more.
constexpr UINT_PTR kCountsTimer = 1;

// The dialog window as the worker reaches it: posted notices only, apart
// from the progress bar's set-up.
class Win32DialogLink final : public DownloadDialogLink {
 public:
  explicit Win32DialogLink(const DownloadWork& work) : work_(work) {}

  void InitProgress() override {
    SendMessageA(work_.progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(work_.progress, PBM_SETSTEP, 1, 0);
    SendMessageA(work_.progress, PBM_SETPOS, 0, 0);
  }

  PostOutcome Post(DownloadNotice notice, long lparam) override {
    if (PostMessageA(work_.dialog, static_cast<UINT>(notice), 0, lparam)) {
      return PostOutcome::kPosted;
    }
    return IsWindow(work_.dialog) ? PostOutcome::kQueueFull : PostOutcome::kGone;
  }

  void Pause() override { Sleep(10); }

  std::uint32_t Milliseconds() override { return GetTickCount(); }

 private:
  const DownloadWork& work_;
};

struct DownloadThreadStart {
  std::shared_ptr<DownloadWork> work;
  HMODULE module = nullptr;  // a reference that keeps this code loaded
};

}  // namespace

DWORD WINAPI DownloadThreadProc(void* argument) {
  HMODULE module = nullptr;
  {
    std::unique_ptr<DownloadThreadStart> start(static_cast<DownloadThreadStart*>(argument));
    module = start->module;
    Win32DialogLink dialog(*start->work);
    WinInetClient http;
    Win32TargetFiles files;
    DownloadThreadBody(start->work->job, {http, files, dialog});
  }
  // The host may unload the library once the dialog has returned; the
  // worker's own reference keeps its code until it has left it.
  if (module != nullptr) FreeLibraryAndExitThread(module, 0);
  return 0;
}

CDownloadDialog::CDownloadDialog(Request request)
    : request_(std::move(request)),
      automatic_(request_.automatic),
      work_(std::make_shared<DownloadWork>(request_.url, request_.folder)) {}

CDownloadDialog::~CDownloadDialog() = default;

INT_PTR CDownloadDialog::DoModal() {
  return DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_DOWNLOAD), request_.parent, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDownloadDialog::DialogProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDownloadDialog*>(lparam);
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    self->window_ = window;
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CDownloadDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  return self ? self->HandleMessage(message, wparam, lparam) : FALSE;
}

INT_PTR CDownloadDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_DL_UPDATE:
      OnUpdate(lparam);
      return TRUE;
    case WM_DL_DONE:
      OnDone();
      return TRUE;
    case WM_DL_CANCELLED:
      OnCancelled();
      return TRUE;
    case WM_DL_FAILED:
      OnFailed();
      return TRUE;
    case WM_TIMER:
      if (wparam != kCountsTimer) return FALSE;
      OnCountsTimer();
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CDownloadDialog::OnInitDialog() {
  work_->dialog = window_;
  work_->progress = GetDlgItem(window_, IDC_DL_PROGRESS);
  SetWindowTextA(window_, request_.caption.c_str());
  RECT rect = {};
  GetWindowRect(window_, &rect);
  const Point origin = CentredOrigin(request_.centre_x, request_.centre_y, rect.right - rect.left,
                                     rect.bottom - rect.top);
  SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageA(work_->progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  SendMessageA(work_->progress, PBM_SETSTEP, 1, 0);
  SendMessageA(work_->progress, PBM_SETPOS, 0, 0);
  work_->job.total_bytes = 0;
  work_->job.received_bytes = 0;
  if (automatic_ == 1) {
    CheckDlgButton(window_, IDC_DL_AUTOMATIC, BST_CHECKED);
    EnableWindow(GetDlgItem(window_, IDC_DL_START), FALSE);
    StartDownload();
  } else {
    ShowStatus(kTextAskDownload);
    CheckDlgButton(window_, IDC_DL_AUTOMATIC, BST_UNCHECKED);
    EnableWindow(GetDlgItem(window_, IDC_DL_START), TRUE);
  }
  return TRUE;
}

void CDownloadDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_DL_START:
      if (code == BN_CLICKED && !worker_) StartDownload();
      break;
    case IDC_DL_AUTOMATIC:
      if (code == BN_CLICKED) {
        automatic_ = IsDlgButtonChecked(window_, IDC_DL_AUTOMATIC) == BST_CHECKED ? 1 : 0;
      }
      break;
    case IDCANCEL:
      OnCancel();
      break;
    default:
      break;
  }
}

void CDownloadDialog::StartDownload() {
  work_->job.SetStatusText(kTextDownloading);
  ShowStatus(kTextDownloading);
  EnableWindow(GetDlgItem(window_, IDC_DL_START), FALSE);
  work_->job.cancel = false;
  auto start = std::make_unique<DownloadThreadStart>();
  start->work = work_;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCSTR>(&DownloadThreadProc), &start->module);
  const HMODULE module = start->module;
  win::UniqueHandle thread(
      CreateThread(nullptr, 0, DownloadThreadProc, start.get(), CREATE_SUSPENDED, nullptr));
  if (!thread) {
    // No worker: the dialog stays as after a failure, and Cancel closes it.
    if (module != nullptr) FreeLibrary(module);
    return;
  }
  start.release();  // the worker owns it now
  worker_ = std::move(thread);
  ResumeThread(worker_.get());
}

void CDownloadDialog::OnUpdate(LPARAM what) {
  if (what == kUpdateByteCounts) {
    // Taken before the counters are read: a later piece posts afresh.
    work_->job.progress_pending = false;
    ShowByteCounts();
  } else {
    StopCounts();
    ShowStatus(work_->job.StatusText());
  }
}

void CDownloadDialog::ShowByteCounts() {
  const std::int32_t received = work_->job.received_bytes;
  const std::int32_t total = work_->job.total_bytes;
  SendMessageA(work_->progress, PBM_SETPOS, ProgressPercent(received, total), 0);
  ShowStatus(ByteCountText(received, total));
  counts_shown_ = received;
  SetTimer(window_, kCountsTimer, static_cast<UINT>(kProgressIntervalMs), nullptr);
}

void CDownloadDialog::OnCountsTimer() {
  // Once more only while the counters are what the dialog shows, and only
  // when they moved on: a status text shown since stays.
  if (counts_shown_ >= 0 && work_->job.received_bytes != counts_shown_) {
    ShowByteCounts();
  } else {
    StopCounts();
  }
}

void CDownloadDialog::StopCounts() {
  KillTimer(window_, kCountsTimer);
  counts_shown_ = -1;
}

void CDownloadDialog::OnDone() {
  StopCounts();
  SendMessageA(work_->progress, PBM_SETPOS, 100, 0);
  ShowStatus(kTextFinished);
  EndDialog(window_, 1);
}

void CDownloadDialog::OnCancelled() {
  StopCounts();
  ShowStatus(kTextStopped);
  EndDialog(window_, 2);
}

void CDownloadDialog::OnFailed() {
  StopCounts();
  worker_.reset();
  // The worker's last text, even when its own notice found the queue full.
  ShowStatus(work_->job.StatusText());
  // Cancel was pressed while the worker ran, and it failed before it looked
  // at Cancel again: the user asked for the dialog to go, and it goes.
  if (work_->job.cancel) EndDialog(window_, IDCANCEL);
}

void CDownloadDialog::OnCancel() {
  work_->job.cancel = true;
  // A running worker stops after its current piece and says so.
  if (!worker_) EndDialog(window_, IDCANCEL);
}

void CDownloadDialog::ShowStatus(const std::string& text) {
  SetDlgItemTextA(window_, IDC_DL_STATUS, text.c_str());
}

}  // namespace kx::hostkit

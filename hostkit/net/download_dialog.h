// The download progress dialog (template 103): asks whether to download, or
// starts at once when the user chose automatic downloads, runs the worker on
// a thread of its own and shows what it reports.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "hostkit/net/download_session.h"
#include "hostkit/net/wininet_client_win32.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

// Window messages of the worker's notices.
inline constexpr UINT WM_DL_UPDATE = static_cast<UINT>(DownloadNotice::kUpdate);
inline constexpr UINT WM_DL_DONE = static_cast<UINT>(DownloadNotice::kDone);
inline constexpr UINT WM_DL_CANCELLED = static_cast<UINT>(DownloadNotice::kCancelled);
inline constexpr UINT WM_DL_FAILED = static_cast<UINT>(DownloadNotice::kFailed);
static_assert(WM_DL_UPDATE == WM_USER + 100 && WM_DL_FAILED == WM_USER + 103);

// What the dialog and its worker share. The worker holds it too, so it stays
// valid when the dialog has ended before the worker's last notice.
struct DownloadWork {
  DownloadWork(std::string url, std::string folder) : job(std::move(url), std::move(folder)) {}
  DownloadJob job;
  // The worker's connection and request, which Cancel closes.
  WinInetLine line;
  HWND dialog = nullptr;
  HWND progress = nullptr;
};

// The worker thread's entry; `argument` is a DownloadThreadStart.
DWORD WINAPI DownloadThreadProc(void* argument);

class CDownloadDialog {
 public:
  struct Request {
    HWND parent = nullptr;
    int centre_x = 0;
    int centre_y = 0;
    std::string caption;
    std::string url;
    std::string folder;
    std::int32_t automatic = 0;
  };
  explicit CDownloadDialog(Request request);
  ~CDownloadDialog();
  CDownloadDialog(const CDownloadDialog&) = delete;
  CDownloadDialog& operator=(const CDownloadDialog&) = delete;

  // Runs the dialog modally: 1 after a finished download, 2 after the
  // worker stopped for a cancel, IDCANCEL when closed, -1 when it could not
  // be shown.
  INT_PTR DoModal();

  bool cancel_requested() const { return work_->job.cancel; }
  std::string file_name() const { return work_->job.FileName(); }
  std::int32_t automatic() const { return automatic_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  BOOL OnInitDialog();
  void OnCommand(int id, int code);
  void OnUpdate(LPARAM what);
  void ShowByteCounts();
  void OnCountsTimer();
  void StopCounts();
  void OnDone();
  void OnCancelled();
  void OnFailed();
  void OnCancel();
  void StartDownload();
  void ShowStatus(const std::string& text);

  Request request_;
  std::int32_t automatic_;
  std::shared_ptr<DownloadWork> work_;
  HWND window_ = nullptr;
  win::UniqueHandle worker_;  // set while a worker may run
  // The received bytes shown while the counters are on screen; -1 when a
  // text has taken their place.
  std::int32_t counts_shown_ = -1;
};

}  // namespace kx::hostkit

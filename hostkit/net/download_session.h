// The download worker: one GET request, at most one redirection followed by
// hand, the body copied into the target folder in 1024-byte pieces, and the
// progress dialog kept informed through posted notices.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>

#include "hostkit/net/download_texts.h"
#include "hostkit/net/http_client.h"

namespace kx::hostkit {

// What the dialog and its worker share. The counters and flags are single
// words; the two texts are guarded, so the dialog never reads a text while
// the worker replaces it.
class DownloadJob {
 public:
  DownloadJob(std::string url, std::string folder)
      : url_(std::move(url)), folder_(std::move(folder)) {}

  const std::string& url() const { return url_; }
  const std::string& folder() const { return folder_; }  // without a trailing separator

  std::string StatusText() const;
  void SetStatusText(std::string text);
  std::string FileName() const;
  void SetFileName(std::string name);

  std::atomic<std::int32_t> total_bytes{0};
  std::atomic<std::int32_t> received_bytes{0};
  std::atomic<bool> cancel{false};
  // A byte-count notice is on its way and not yet taken by the dialog: the
  // worker posts no other, so a slow dialog cannot have its queue flooded.
  // The dialog clears it before it reads the counters.
  std::atomic<bool> progress_pending{false};

 private:
  const std::string url_;
  const std::string folder_;
  mutable std::mutex texts_;
  std::string status_text_;
  std::string file_name_;
};

enum class PostOutcome {
  kPosted,     // the notice is in the dialog's queue
  kQueueFull,  // not taken now; may be posted again
  kGone,       // the dialog window no longer exists
};

// The dialog as the worker sees it.
class DownloadDialogLink {
 public:
  virtual ~DownloadDialogLink() = default;
  // Progress bar range 0..100, step 1, position 0; sent to the control.
  virtual void InitProgress() = 0;
  virtual PostOutcome Post(DownloadNotice notice, long lparam) = 0;
  // A short wait before a notice that was not taken is posted again.
  virtual void Pause() = 0;
  // A steady clock, for spacing the byte-count notices: milliseconds that
  // wrap every 49.7 days, as the system's tick count does; only differences
  // of two readings are used.
  virtual std::uint32_t Milliseconds() = 0;
};

// Byte-count notices come at most this often: each one repaints the dialog,
// and one per 1024-byte piece would keep it busy painting.
inline constexpr std::uint32_t kProgressIntervalMs = 50;

// The worker's own exception: it leaves the transfer after the text that
// explains the failure has been posted. 1: the source cannot be used,
// 2: a redirection, status, line or file failure.
class CKxException : public std::exception {
 public:
  explicit CKxException(std::int32_t code) : code_(code) {}
  std::int32_t code() const noexcept { return code_; }
  const char* what() const noexcept override { return ""; }
  // Always empty: the posted status text is the explanation.
  std::string GetErrorMessage() const { return {}; }

 private:
  std::int32_t code_;
};

struct DownloadServices {
  HttpClient& http;
  TargetFiles& files;
  DownloadDialogLink& dialog;
};

// One download; 1 on success, 0 on cancellation or failure. Posts
// kCancelled itself when the user cancelled.
int RunDownload(DownloadJob& job, const DownloadServices& services) noexcept;

// The worker thread's whole work: RunDownload, then kDone or kFailed. Every
// final notice is posted again until the dialog has taken it or is gone.
void DownloadThreadBody(DownloadJob& job, const DownloadServices& services) noexcept;

// Posts a notice that must not be lost.
void PostFinalNotice(DownloadDialogLink& dialog, DownloadNotice notice) noexcept;

}  // namespace kx::hostkit

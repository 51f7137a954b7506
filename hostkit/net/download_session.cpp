#include "hostkit/net/download_session.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

#include "hostkit/net/download_names.h"

namespace kx::hostkit {

std::string DownloadJob::StatusText() const {
  std::lock_guard<std::mutex> lock(texts_);
  return status_text_;
}

void DownloadJob::SetStatusText(std::string text) {
  std::lock_guard<std::mutex> lock(texts_);
  status_text_ = std::move(text);
}

std::string DownloadJob::FileName() const {
  std::lock_guard<std::mutex> lock(texts_);
  return file_name_;
}

void DownloadJob::SetFileName(std::string name) {
  std::lock_guard<std::mutex> lock(texts_);
  file_name_ = std::move(name);
}

void PostFinalNotice(DownloadDialogLink& dialog, DownloadNotice notice) noexcept {
  // A full queue refuses a post; the dialog keeps taking messages, so the
  // notice gets in once it has room.
  while (dialog.Post(notice, 0) == PostOutcome::kQueueFull) dialog.Pause();
}

namespace {

bool IsRedirection(int status) { return status == 301 || status == 302 || status == 303; }

class Worker {
 public:
  Worker(DownloadJob& job, const DownloadServices& services)
      : job_(job), http_(services.http), files_(services.files), dialog_(services.dialog) {}

  int Run() noexcept {
    int result = 1;
    try {
      try {
        job_.SetFileName({});
        session_ = http_.OpenSession();
        dialog_.InitProgress();
        Transfer();
      } catch (const HttpFailure&) {
        // The line failed: said as plainly as the other failures, so that
        // the dialog does not go on showing work in progress.
        Fail(copying_ ? kTextReadFailed : kTextCannotConnect, 2);
      }
    } catch (const CKxException&) {
      result = 0;  // its text is already shown
    } catch (...) {
      result = 0;  // out of memory
    }
    request_.reset();
    connection_.reset();
    session_.reset();
    // A cancelled or failed download leaves the file that was there as it
    // was.
    if (!beside_.empty()) files_.Remove(beside_);
    if (cancelled_) {
      PostFinalNotice(dialog_, DownloadNotice::kCancelled);
      return 0;
    }
    return result;
  }

 private:
  void Status(std::string text) {
    job_.SetStatusText(std::move(text));
    // Status texts are few; a refused one is not repeated, since the
    // dialog shows the current text on any later notice.
    dialog_.Post(DownloadNotice::kUpdate, kUpdateStatusText);
  }

  [[noreturn]] void Fail(std::string text, std::int32_t code) {
    Status(std::move(text));
    throw CKxException(code);
  }

  int Request(const ParsedUrl& url) {
    connection_ = session_->Connect(url.server, url.port);
    request_ = connection_->OpenGet(url.object);
    request_->Send();
    return request_->StatusCode();
  }

  void Transfer() {
    const std::optional<ParsedUrl> url = http_.ParseUrl(job_.url());
    if (!url || !url->http) Fail(kTextSourceUnusable, 1);
    Status(kTextConnecting);
    int status = Request(*url);
    if (status == 401) {
      if (!request_->AskPasswordRetry()) Fail(kTextPasswordRefused, 1);
      request_->Send();
      status = request_->StatusCode();
    }
    if (IsRedirection(status)) status = Redirect();
    Status(StatusCodeText(status));

    const std::optional<std::string> length = request_->ContentLength();
    job_.total_bytes = TotalBytesShown(length);
    const std::int64_t announced = length ? ContentLengthValue(*length) : 0;

    // The name comes from the address the caller asked for, never from a
    // redirection target.
    const std::string name = UrlFileName(job_.url());
    if (!IsSafeFileName(name)) Fail(kTextBadFileName, 2);
    job_.SetFileName(name);
    // Cancel pressed while connecting: nothing is touched.
    if (job_.cancel) {
      cancelled_ = true;
      return;
    }
    const std::string target = job_.folder() + "\\" + name;
    std::unique_ptr<TargetFile> file = OpenTarget(target);

    Status(kTextDownloading);
    copying_ = true;
    const std::int64_t received = Copy(*file);
    copying_ = false;
    if (!file->Close()) Fail(kTextCannotWriteFile, 2);
    // A connection that closes early looks like the body's end; a body
    // shorter than announced is not a finished file.
    if (!cancelled_ && received < announced) Fail(kTextBodyCut, 2);
    if (!cancelled_ && !beside_.empty()) {
      if (!files_.Replace(beside_, target)) Fail(kTextCannotWriteFile, 2);
      beside_.clear();
    }
    request_.reset();
    connection_.reset();
    if (!cancelled_) Status(kTextDownloadComplete);
  }

  // A new file is written under its name from the first piece. A file that
  // is there already is the user's until the download has finished: the
  // body goes to a file beside it, which takes its place at the end.
  std::unique_ptr<TargetFile> OpenTarget(const std::string& target) {
    std::unique_ptr<TargetFile> file = files_.CreateNew(target);
    if (file) return file;
    if (!files_.Replaceable(target)) Fail(kTextCannotCreateFile, 2);
    file = files_.CreateBeside(job_.folder(), beside_);
    if (!file) Fail(kTextCannotCreateFile, 2);
    return file;
  }

  int Redirect() {
    const std::optional<std::string> target = LocationTarget(request_->RawHeaders());
    if (!target) Fail(kTextNoRedirectTarget, 2);
    request_.reset();
    connection_.reset();
    Status(kTextRedirecting);
    const std::optional<ParsedUrl> url = http_.ParseUrl(*target);
    if (!url) Fail(kTextRedirectMalformed, 2);
    if (!url->http) Fail(kTextRedirectUnusable, 2);
    const int status = Request(*url);
    if (status != 200) Fail(HttpErrorText(status), 2);
    return status;
  }

  std::int64_t Copy(TargetFile& file) {
    char piece[kReadPieceBytes];
    std::int64_t sum = 0;
    job_.received_bytes = 0;
    for (;;) {
      const std::size_t got = request_->Read(piece, sizeof piece);
      if (got < 1) break;
      if (!file.Write(piece, std::min(got, sizeof piece))) {
        (void)file.Close();
        Fail(kTextCannotWriteFile, 2);
      }
      sum += static_cast<std::int64_t>(std::min(got, sizeof piece));
      job_.received_bytes = static_cast<std::int32_t>(std::min<std::int64_t>(sum, INT32_MAX));
      ReportProgress();
      if (job_.cancel) {
        cancelled_ = true;
        break;
      }
    }
    return sum;
  }

  // The counters are always current; a notice tells the dialog to look at
  // them. The first piece is reported at once, later ones once the interval
  // has passed and the dialog has taken the notice before.
  void ReportProgress() {
    const std::uint32_t now = dialog_.Milliseconds();
    // Unsigned difference: right across the wrap of the tick count.
    if (reported_ && static_cast<std::uint32_t>(now - last_report_) < kProgressIntervalMs) return;
    if (job_.progress_pending.exchange(true)) return;  // the last one is not taken yet
    if (dialog_.Post(DownloadNotice::kUpdate, kUpdateByteCounts) != PostOutcome::kPosted) {
      job_.progress_pending = false;
      return;
    }
    reported_ = true;
    last_report_ = now;
  }

  DownloadJob& job_;
  HttpClient& http_;
  TargetFiles& files_;
  DownloadDialogLink& dialog_;
  std::unique_ptr<HttpSession> session_;
  std::unique_ptr<HttpConnection> connection_;
  std::unique_ptr<HttpRequest> request_;
  std::string beside_;    // the file that replaces an earlier one when finished
  bool copying_ = false;  // reading the body
  bool cancelled_ = false;
  bool reported_ = false;
  std::uint32_t last_report_ = 0;
};

}  // namespace

int RunDownload(DownloadJob& job, const DownloadServices& services) noexcept {
  Worker worker(job, services);
  return worker.Run();
}

void DownloadThreadBody(DownloadJob& job, const DownloadServices& services) noexcept {
  const int result = RunDownload(job, services);
  PostFinalNotice(services.dialog, result == 1 ? DownloadNotice::kDone : DownloadNotice::kFailed);
}

}  // namespace kx::hostkit

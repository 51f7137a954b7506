// Scripted HTTP answers, an in-memory target folder and a recording dialog
// for the unit tests of the download worker.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hostkit/net/download_session.h"

namespace kx::hostkit::test {

struct FakeResponse {
  int status = 200;
  std::string raw_headers;                    // as HTTP_QUERY_RAW_HEADERS_CRLF gives them
  std::optional<std::string> content_length;  // the header's text
  std::string body;
  bool fail_send = false;
  std::optional<std::size_t> fail_read_at;  // reading fails once this many bytes were read
  std::optional<int> status_after_retry;    // status of the second send after a password retry
};

// Everything the worker did, in order, for checks on the sequence.
struct HttpLog {
  std::vector<std::string> events;
  int open_requests = 0;  // requests alive now
  int open_connections = 0;
  int open_sessions = 0;
  int reads = 0;  // body reads that returned bytes
};

class FakeRequest final : public HttpRequest {
 public:
  FakeRequest(HttpLog& log, FakeResponse response, bool retry_answer)
      : log_(log), response_(std::move(response)), retry_answer_(retry_answer) {
    ++log_.open_requests;
  }
  ~FakeRequest() override { --log_.open_requests; }

  void Send() override {
    log_.events.push_back("send");
    ++sends_;
    if (response_.fail_send) throw HttpFailure("send");
  }
  int StatusCode() override {
    if (sends_ > 1 && response_.status_after_retry) return *response_.status_after_retry;
    return response_.status;
  }
  std::string RawHeaders() override { return response_.raw_headers; }
  std::optional<std::string> ContentLength() override { return response_.content_length; }
  std::size_t Read(char* buffer, std::size_t size) override {
    if (response_.fail_read_at && offset_ >= *response_.fail_read_at) throw HttpFailure("read");
    const std::size_t n = std::min(size, response_.body.size() - offset_);
    std::copy_n(response_.body.data() + offset_, n, buffer);
    offset_ += n;
    if (n > 0) ++log_.reads;
    return n;
  }
  bool AskPasswordRetry() override {
    log_.events.push_back("password dialog");
    return retry_answer_;
  }

 private:
  HttpLog& log_;
  FakeResponse response_;
  bool retry_answer_;
  int sends_ = 0;
  std::size_t offset_ = 0;
};

class FakeHttpClient final : public HttpClient {
 public:
  // Responses by "server:port object".
  std::map<std::string, FakeResponse> responses;
  bool password_retry = false;
  bool fail_session = false;
  HttpLog log;

  std::optional<ParsedUrl> ParseUrl(const std::string& url) override {
    log.events.push_back("parse " + url);
    const std::size_t scheme_end = url.find("://");
    if (scheme_end == std::string::npos || scheme_end == 0) return std::nullopt;
    ParsedUrl parsed;
    const std::string scheme = url.substr(0, scheme_end);
    parsed.http = scheme == "http";
    std::string rest = url.substr(scheme_end + 3);
    // A carriage return left at a redirection target's end is not part of it.
    if (!rest.empty() && rest.back() == '\r') rest.pop_back();
    const std::size_t slash = rest.find('/');
    std::string host = rest.substr(0, slash);
    parsed.object = slash == std::string::npos ? "/" : rest.substr(slash);
    parsed.port = 80;
    const std::size_t colon = host.find(':');
    if (colon != std::string::npos) {
      parsed.port = static_cast<std::uint16_t>(std::stoi(host.substr(colon + 1)));
      host.erase(colon);
    }
    if (host.empty()) return std::nullopt;
    parsed.server = host;
    return parsed;
  }

  std::unique_ptr<HttpSession> OpenSession() override;
};

class FakeConnection final : public HttpConnection {
 public:
  FakeConnection(FakeHttpClient& client, std::string where) : client_(client), where_(where) {
    ++client_.log.open_connections;
  }
  ~FakeConnection() override { --client_.log.open_connections; }
  std::unique_ptr<HttpRequest> OpenGet(const std::string& object) override {
    const std::string key = where_ + " " + object;
    client_.log.events.push_back("get " + key);
    auto found = client_.responses.find(key);
    if (found == client_.responses.end()) throw HttpFailure("no server at " + key);
    return std::make_unique<FakeRequest>(client_.log, found->second, client_.password_retry);
  }

 private:
  FakeHttpClient& client_;
  std::string where_;
};

class FakeSession final : public HttpSession {
 public:
  explicit FakeSession(FakeHttpClient& client) : client_(client) { ++client_.log.open_sessions; }
  ~FakeSession() override { --client_.log.open_sessions; }
  std::unique_ptr<HttpConnection> Connect(const std::string& server, std::uint16_t port) override {
    const std::string where = server + ":" + std::to_string(port);
    client_.log.events.push_back("connect " + where);
    return std::make_unique<FakeConnection>(client_, where);
  }

 private:
  FakeHttpClient& client_;
};

inline std::unique_ptr<HttpSession> FakeHttpClient::OpenSession() {
  if (fail_session) throw HttpFailure("session");
  return std::make_unique<FakeSession>(*this);
}

// The target folder in memory: files by path. A file made beside an
// earlier one is named "<folder>\~kxN.tmp".
class MemoryTargetFiles final : public TargetFiles {
 public:
  std::map<std::string, std::string> files;  // path -> content
  std::set<std::string> read_only;
  std::vector<std::string> created;  // every file made, new or beside another
  bool refuse_create = false;
  std::optional<std::size_t> fail_write_after;  // bytes accepted before writes fail
  bool fail_close = false;
  bool fail_replace = false;
  int open_files = 0;

  std::unique_ptr<TargetFile> CreateNew(const std::string& path) override;
  bool Replaceable(const std::string& path) override {
    return files.count(path) != 0 && read_only.count(path) == 0;
  }
  std::unique_ptr<TargetFile> CreateBeside(const std::string& folder, std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override {
    if (fail_replace || read_only.count(to) != 0 || files.count(from) == 0) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void Remove(const std::string& path) override { files.erase(path); }
};

class MemoryTargetFile final : public TargetFile {
 public:
  MemoryTargetFile(MemoryTargetFiles& folder, std::string path)
      : folder_(folder), path_(std::move(path)) {
    ++folder_.open_files;
    folder_.created.push_back(path_);
    folder_.files[path_].clear();
  }
  ~MemoryTargetFile() override {
    if (open_) --folder_.open_files;
  }
  bool Write(const char* data, std::size_t size) override {
    std::string& content = folder_.files[path_];
    if (folder_.fail_write_after && content.size() + size > *folder_.fail_write_after) {
      content.append(data, *folder_.fail_write_after - content.size());
      return false;
    }
    content.append(data, size);
    return true;
  }
  bool Close() override {
    if (open_) --folder_.open_files;
    open_ = false;
    return !folder_.fail_close;
  }

 private:
  MemoryTargetFiles& folder_;
  std::string path_;
  bool open_ = true;
};

inline std::unique_ptr<TargetFile> MemoryTargetFiles::CreateNew(const std::string& path) {
  if (refuse_create || files.count(path) != 0) return nullptr;
  return std::make_unique<MemoryTargetFile>(*this, path);
}

inline std::unique_ptr<TargetFile> MemoryTargetFiles::CreateBeside(const std::string& folder,
                                                                   std::string& path) {
  if (refuse_create) return nullptr;
  path = folder + "\\~kx" + std::to_string(created.size()) + ".tmp";
  return std::make_unique<MemoryTargetFile>(*this, path);
}

// The dialog: records every notice with the status text it would show. It
// takes byte-count notices at once unless `hold_progress` is set, and
// refuses posts while `refusals` lasts.
class RecordingDialog final : public DownloadDialogLink {
 public:
  explicit RecordingDialog(DownloadJob& job) : job_(job) {}

  struct Entry {
    DownloadNotice notice;
    long lparam;
    std::string text;  // the status text when the notice was posted
    std::int32_t received, total;
  };
  std::vector<Entry> posted;
  int progress_inits = 0;
  int refusals = 0;  // posts refused as with a full queue, from the start
  int refused = 0;
  int pauses = 0;
  bool gone = false;
  bool hold_progress = false;
  // Sets the cancel flag when this many byte-count notices were posted, or
  // when this status text is posted.
  std::optional<int> cancel_after_progress;
  std::optional<std::string> cancel_at_text;

  void InitProgress() override { ++progress_inits; }
  PostOutcome Post(DownloadNotice notice, long lparam) override {
    if (gone) return PostOutcome::kGone;
    if (refused < refusals) {
      ++refused;
      return PostOutcome::kQueueFull;
    }
    posted.push_back({notice, lparam, job_.StatusText(), job_.received_bytes, job_.total_bytes});
    if (notice == DownloadNotice::kUpdate && lparam == kUpdateStatusText &&
        job_.StatusText() == cancel_at_text) {
      job_.cancel = true;
    }
    if (notice == DownloadNotice::kUpdate && lparam == kUpdateByteCounts) {
      if (!hold_progress) job_.progress_pending = false;
      if (cancel_after_progress && --*cancel_after_progress == 0) job_.cancel = true;
    }
    return PostOutcome::kPosted;
  }
  void Pause() override { ++pauses; }
  // Each look at the clock moves it on by `tick` milliseconds.
  std::uint32_t Milliseconds() override { return now += tick; }
  std::uint32_t now = 0;
  std::uint32_t tick = 1000;

  // The status texts in the order shown.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Entry& e : posted) {
      if (e.notice == DownloadNotice::kUpdate && e.lparam == kUpdateStatusText) {
        texts.push_back(e.text);
      }
    }
    return texts;
  }
  std::vector<DownloadNotice> Finals() const {
    std::vector<DownloadNotice> finals;
    for (const Entry& e : posted) {
      if (e.notice != DownloadNotice::kUpdate) finals.push_back(e.notice);
    }
    return finals;
  }
  int ProgressNotices() const {
    int n = 0;
    for (const Entry& e : posted) n += e.notice == DownloadNotice::kUpdate && e.lparam == 1;
    return n;
  }

 private:
  DownloadJob& job_;
};

}  // namespace kx::hostkit::test

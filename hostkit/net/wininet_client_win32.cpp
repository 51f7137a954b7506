#include "hostkit/net/wininet_client_win32.h"

#include <windows.h>
// windows.h first
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

namespace {

struct InternetHandleTraits {
  using value_type = HINTERNET;
  static HINTERNET invalid() noexcept { return nullptr; }
  static void close(HINTERNET h) noexcept { InternetCloseHandle(h); }
};
using UniqueInternet = win::UniqueResource<InternetHandleTraits>;

[[noreturn]] void ThrowFailure(const char* operation) {
  throw HttpFailure(std::string(operation) + " failed, error " + std::to_string(GetLastError()));
}

// The session reports nothing through its callback.
void CALLBACK IgnoreStatus(HINTERNET, DWORD_PTR, DWORD, LPVOID, DWORD) {}

class WinInetRequest final : public HttpRequest {
 public:
  explicit WinInetRequest(UniqueInternet handle) : handle_(std::move(handle)) {}

  void Send() override {
    if (!HttpSendRequestA(handle_.get(), nullptr, 0, nullptr, 0)) ThrowFailure("HttpSendRequest");
  }

  int StatusCode() override {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(handle_.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr)) {
      ThrowFailure("HttpQueryInfo");
    }
    return static_cast<int>(status);
  }

  std::string RawHeaders() override {
    std::optional<std::string> headers = Query(HTTP_QUERY_RAW_HEADERS_CRLF);
    return headers ? *headers : std::string();
  }

  std::optional<std::string> ContentLength() override { return Query(HTTP_QUERY_CONTENT_LENGTH); }

  // The worker copies 1024-byte pieces, but a WinInet read per piece would
  // make the transfer's cost the number of pieces. Each read takes what has
  // arrived; when that much is waiting the line is fast, and a whole block
  // is asked for (it fills at once). A slow line is read as it comes, so
  // progress and Cancel stay as prompt as with single pieces.
  std::size_t Read(char* buffer, std::size_t size) override {
    if (next_ == filled_) {
      DWORD available = 0;
      if (!InternetQueryDataAvailable(handle_.get(), &available, 0, 0)) {
        ThrowFailure("InternetQueryDataAvailable");
      }
      DWORD want = static_cast<DWORD>(kReadPieceBytes);  // none waiting: the end, or a wait
      if (available >= kFastLineBytes) {
        want = kBufferBytes;
      } else if (available > 0) {
        want = available;
      }
      DWORD got = 0;
      if (!InternetReadFile(handle_.get(), buffer_.data(), want, &got)) {
        ThrowFailure("InternetReadFile");
      }
      next_ = 0;
      filled_ = got;
      if (got == 0) return 0;
    }
    const std::size_t n = std::min<std::size_t>(size, filled_ - next_);
    std::memcpy(buffer, buffer_.data() + next_, n);
    next_ += n;
    return n;
  }

  bool AskPasswordRetry() override {
    const DWORD answer = InternetErrorDlg(
        GetDesktopWindow(), handle_.get(), ERROR_INTERNET_INCORRECT_PASSWORD,
        FLAGS_ERROR_UI_FLAGS_GENERATE_DATA | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS, nullptr);
    return answer == ERROR_INTERNET_FORCE_RETRY;
  }

 private:
  // A header as text; nullopt when the response has none.
  std::optional<std::string> Query(DWORD what) {
    std::vector<char> buffer(256);
    for (;;) {
      DWORD size = static_cast<DWORD>(buffer.size());
      if (HttpQueryInfoA(handle_.get(), what, buffer.data(), &size, nullptr)) {
        return std::string(buffer.data(), size);
      }
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) {
        return std::nullopt;
      }
      buffer.resize(size + 1);
    }
  }

  static constexpr DWORD kBufferBytes = 256 * 1024;
  static constexpr DWORD kFastLineBytes = 4096;
  UniqueInternet handle_;
  std::vector<char> buffer_ = std::vector<char>(kBufferBytes);
  std::size_t next_ = 0;
  std::size_t filled_ = 0;
};

class WinInetConnection final : public HttpConnection {
 public:
  explicit WinInetConnection(UniqueInternet handle) : handle_(std::move(handle)) {}

  std::unique_ptr<HttpRequest> OpenGet(const std::string& object) override {
    UniqueInternet request(HttpOpenRequestA(handle_.get(), "GET", object.c_str(), nullptr, nullptr,
                                            nullptr, kRequestFlags, kRequestContext));
    if (!request) ThrowFailure("HttpOpenRequest");
    // A header the request has already keeps its value.
    HttpAddRequestHeadersA(request.get(), kRequestHeaders, static_cast<DWORD>(-1),
                           HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    return std::make_unique<WinInetRequest>(std::move(request));
  }

 private:
  UniqueInternet handle_;
};

class CKxSession final : public HttpSession {
 public:
  CKxSession()
      : handle_(InternetOpenA(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {
    if (!handle_) ThrowFailure("InternetOpen");
    InternetSetStatusCallbackA(handle_.get(), IgnoreStatus);
  }

  std::unique_ptr<HttpConnection> Connect(const std::string& server, std::uint16_t port) override {
    UniqueInternet connection(InternetConnectA(handle_.get(), server.c_str(), port, nullptr,
                                               nullptr, INTERNET_SERVICE_HTTP, 0, kRequestContext));
    if (!connection) ThrowFailure("InternetConnect");
    return std::make_unique<WinInetConnection>(std::move(connection));
  }

 private:
  UniqueInternet handle_;
};

// The pieces are gathered and written in larger blocks: a system call per
// 1024-byte piece would cost more than the transfer. What was gathered is
// written on Close, and also when the file goes without one (a failure), so
// the file always keeps every piece that was handed to it.
class Win32TargetFile final : public TargetFile {
 public:
  explicit Win32TargetFile(win::UniqueFile file) : file_(std::move(file)) {}
  ~Win32TargetFile() override { (void)Flush(); }

  bool Write(const char* data, std::size_t size) override {
    if (!file_ || failed_) return false;
    if (gathered_.size() + size > kBlockBytes && !Flush()) return false;
    gathered_.insert(gathered_.end(), data, data + size);
    return true;
  }

  bool Close() override {
    if (!file_) return !failed_;
    const bool flushed = Flush();
    return CloseHandle(file_.release()) != FALSE && flushed;
  }

 private:
  bool Flush() {
    if (!file_ || gathered_.empty()) return !failed_;
    DWORD written = 0;
    const bool ok = WriteFile(file_.get(), gathered_.data(), static_cast<DWORD>(gathered_.size()),
                              &written, nullptr) &&
                    written == gathered_.size();
    gathered_.clear();
    failed_ = failed_ || !ok;
    return ok;
  }

  static constexpr std::size_t kBlockBytes = 256 * 1024;
  win::UniqueFile file_;
  std::vector<char> gathered_;
  bool failed_ = false;
};

}  // namespace

std::optional<ParsedUrl> WinInetClient::ParseUrl(const std::string& url) {
  // Lengths without buffers: the parts are given as places in `url`.
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (url.size() > 0xFFFF || !InternetCrackUrlA(url.c_str(), 0, 0, &parts) ||
      parts.lpszHostName == nullptr || parts.dwHostNameLength == 0) {
    return std::nullopt;
  }
  ParsedUrl parsed;
  parsed.http = parts.nScheme == INTERNET_SCHEME_HTTP;
  parsed.server.assign(parts.lpszHostName, parts.dwHostNameLength);
  if (parts.lpszUrlPath != nullptr) parsed.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo != nullptr) {
    parsed.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  }
  if (parsed.object.empty()) parsed.object = "/";
  parsed.port = parts.nPort;
  return parsed;
}

std::unique_ptr<HttpSession> WinInetClient::OpenSession() { return std::make_unique<CKxSession>(); }

std::unique_ptr<TargetFile> Win32TargetFiles::Create(const std::string& path) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32TargetFile>(std::move(file));
}

}  // namespace kx::hostkit

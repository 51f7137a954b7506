#include "hostkit/net/wininet_client_win32.h"

#include <windows.h>
// windows.h first
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/file_attributes.h"
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
  // make the transfer's cost the number of pieces. A synchronous read waits
  // until all it asked for has come, so each read asks for what has
  // arrived, up to a block, and never more: progress and Cancel then follow
  // every piece of a slow line instead of waiting for a block to fill.
  std::size_t Read(char* buffer, std::size_t size) override {
    if (next_ == filled_) {
      DWORD available = 0;
      // Waits until something has arrived; none only at the body's end.
      if (!InternetQueryDataAvailable(handle_.get(), &available, 0, 0)) {
        ThrowFailure("InternetQueryDataAvailable");
      }
      const DWORD want =
          available > 0 ? std::min(available, kBufferBytes) : static_cast<DWORD>(kReadPieceBytes);
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

namespace {

std::unique_ptr<TargetFile> OpenForWriting(const std::string& path, DWORD disposition) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32TargetFile>(std::move(file));
}

// Windows refuses to write or rename over a read-only file or a folder. The
// attributes are looked at here, not left to the opening and renaming
// alone: a file system that lets its owner write anyway must not make the
// user's protected file go.
bool MayBeReplaced(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

// The content of `from` written into the file `to` itself, as it is and
// without renaming it.
bool CopyInto(const std::string& from, const std::string& to) {
  win::UniqueFile source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source) return false;
  std::unique_ptr<TargetFile> target = OpenForWriting(to, TRUNCATE_EXISTING);
  if (!target) return false;
  std::vector<char> block(256 * 1024);
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(source.get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr)) {
      return false;
    }
    if (got == 0) return target->Close();
    if (!target->Write(block.data(), got)) return false;
  }
}

}  // namespace

std::unique_ptr<TargetFile> Win32TargetFiles::CreateNew(const std::string& path) {
  return OpenForWriting(path, CREATE_NEW);
}

bool Win32TargetFiles::Replaceable(const std::string& path) {
  if (!MayBeReplaced(path)) return false;
  // Opened for writing and closed at once, without truncating: refused when
  // another program holds the file without sharing writes.
  win::UniqueFile probe(CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(probe);
}

std::unique_ptr<TargetFile> Win32TargetFiles::CreateBeside(const std::string& folder,
                                                           std::string& path) {
  // In the same folder, so that taking the earlier file's place is a rename
  // on one volume. The system makes the name unique and creates the file.
  char made[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.c_str(), "~kx", 0, made)) return nullptr;
  std::unique_ptr<TargetFile> file = OpenForWriting(made, TRUNCATE_EXISTING);
  if (!file) {
    DeleteFileA(made);
    return nullptr;
  }
  path = made;
  return file;
}

bool Win32TargetFiles::Replace(const std::string& from, const std::string& to) {
  if (!MayBeReplaced(to)) return false;
  // The earlier file stays hidden or system, as the user or system left it.
  if (win::RenameOverKeepingAttributes(from.c_str(), to.c_str())) return true;
  // No file that another program holds open can be renamed over, even when
  // it shares writing; the earlier file can still be written itself then.
  if (!CopyInto(from, to)) return false;
  DeleteFileA(from.c_str());
  return true;
}

void Win32TargetFiles::Remove(const std::string& path) { DeleteFileA(path.c_str()); }

}  // namespace kx::hostkit

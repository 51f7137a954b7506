#include "hostkit/net/wininet_client_win32.h"

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

// A handle in its place on the line, closed when it goes unless the line
// was cut first.
class LineHandle {
 public:
  LineHandle(WinInetLine& line, HINTERNET handle, const char* operation)
      : line_(line), place_(line.Hold(handle)) {
    if (place_ < 0) ThrowFailure(operation);
  }
  ~LineHandle() { line_.Close(place_); }
  LineHandle(const LineHandle&) = delete;
  LineHandle& operator=(const LineHandle&) = delete;
  // Null once the line is cut: the call then fails as on a closed handle.
  HINTERNET get() const noexcept { return line_.Get(place_); }
  WinInetLine& line() const noexcept { return line_; }

 private:
  WinInetLine& line_;
  const int place_;
};

class WinInetRequest final : public HttpRequest {
 public:
  WinInetRequest(WinInetLine& line, HINTERNET handle)
      : handle_(line, handle, "HttpOpenRequest") {}

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

  HINTERNET handle() const noexcept { return handle_.get(); }

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
  LineHandle handle_;
  std::vector<char> buffer_ = std::vector<char>(kBufferBytes);
  std::size_t next_ = 0;
  std::size_t filled_ = 0;
};

class WinInetConnection final : public HttpConnection {
 public:
  WinInetConnection(WinInetLine& line, HINTERNET handle)
      : handle_(line, handle, "InternetConnect") {}

  std::unique_ptr<HttpRequest> OpenGet(const std::string& object) override {
    auto request = std::make_unique<WinInetRequest>(
        handle_.line(), HttpOpenRequestA(handle_.get(), "GET", object.c_str(), nullptr, nullptr,
                                         nullptr, kRequestFlags, kRequestContext));
    // A header the request has already keeps its value.
    HttpAddRequestHeadersA(request->handle(), kRequestHeaders, static_cast<DWORD>(-1),
                           HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    return request;
  }

 private:
  LineHandle handle_;
};

class CKxSession final : public HttpSession {
 public:
  explicit CKxSession(WinInetLine& line)
      : line_(line),
        handle_(InternetOpenA(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {
    if (!handle_) ThrowFailure("InternetOpen");
    InternetSetStatusCallbackA(handle_.get(), IgnoreStatus);
  }

  std::unique_ptr<HttpConnection> Connect(const std::string& server, std::uint16_t port) override {
    return std::make_unique<WinInetConnection>(
        line_, InternetConnectA(handle_.get(), server.c_str(), port, nullptr, nullptr,
                                INTERNET_SERVICE_HTTP, 0, kRequestContext));
  }

 private:
  WinInetLine& line_;
  UniqueInternet handle_;
};

// The pieces are gathered and written in larger blocks: a system call per
// 1024-byte piece would cost more than the transfer. What was gathered is
// written on Close, and also when the file goes without one (a failure), so
// the file always keeps every piece that was handed to it.
class Win32TargetFile final : public TargetFile {
 public:
  // `to_disk`: Close also has the system write its buffers to the disk, for
  // a file that is to take an earlier one's place: the rename must never
  // put a file whose content is not there yet in place of a whole one.
  Win32TargetFile(win::UniqueFile file, bool to_disk) : file_(std::move(file)), to_disk_(to_disk) {}
  ~Win32TargetFile() override { (void)Flush(); }

  bool Write(const char* data, std::size_t size) override {
    if (!file_ || failed_) return false;
    if (gathered_.size() + size > kBlockBytes && !Flush()) return false;
    gathered_.insert(gathered_.end(), data, data + size);
    return true;
  }

  bool Close() override {
    if (!file_) return !failed_;
    const bool flushed = Flush() && (!to_disk_ || FlushFileBuffers(file_.get()));
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
  const bool to_disk_;
  std::vector<char> gathered_;
  bool failed_ = false;
};

}  // namespace

int WinInetLine::Hold(HINTERNET handle) noexcept {
  if (handle == nullptr) return -1;
  for (int place = 0; place < kPlaces; ++place) {
    HINTERNET empty = nullptr;
    if (places_[place].compare_exchange_strong(empty, handle)) {
      // A Cut that ran before the handle was in its place did not see it.
      if (cut_) Close(place);
      return place;
    }
  }
  InternetCloseHandle(handle);
  return -1;
}

HINTERNET WinInetLine::Get(int place) const noexcept {
  return place >= 0 && place < kPlaces ? places_[place].load() : nullptr;
}

void WinInetLine::Close(int place) noexcept {
  if (place < 0 || place >= kPlaces) return;
  if (HINTERNET handle = places_[place].exchange(nullptr)) InternetCloseHandle(handle);
}

void WinInetLine::Cut() noexcept {
  cut_ = true;
  // A request before its connection.
  for (int place = kPlaces - 1; place >= 0; --place) Close(place);
}

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

std::unique_ptr<HttpSession> WinInetClient::OpenSession() {
  return std::make_unique<CKxSession>(line_);
}

namespace {

std::unique_ptr<TargetFile> OpenForWriting(const std::string& path, DWORD disposition,
                                           bool to_disk) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32TargetFile>(std::move(file), to_disk);
}

// GetTempFileNameA checks its limit in characters, but writes bytes into a
// buffer of MAX_PATH: a folder of double-byte characters can be short
// enough for the one and too long for the other. The made name adds "\",
// the prefix, four digits and ".TMP" to the folder.
constexpr std::size_t kLongestTemporaryFolder = MAX_PATH - 14;

// Windows refuses to rename over a read-only file or a folder. The
// attributes are looked at here, not left to the renaming alone: a file
// system that lets its owner write anyway must not make the user's
// protected file go.
bool Protected(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0;
}

}  // namespace

std::unique_ptr<TargetFile> Win32TargetFiles::CreateNew(const std::string& path) {
  return OpenForWriting(path, CREATE_NEW, false);
}

bool Win32TargetFiles::Replaceable(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || Protected(attributes)) return false;
  // The rename that puts the finished file in place needs the earlier one
  // held by nobody: a program that has it open, even sharing reads and
  // writes as a C stream does, makes the rename fail. Asked the same way
  // now, before anything is fetched, and closed at once.
  win::UniqueFile probe(
      CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(probe);
}

std::unique_ptr<TargetFile> Win32TargetFiles::CreateBeside(const std::string& folder,
                                                           std::string& path) {
  if (folder.size() > kLongestTemporaryFolder) return nullptr;
  // In the same folder, so that taking the earlier file's place is a rename
  // on one volume. The system makes the name unique and creates the file.
  char made[MAX_PATH] = {};
  if (!GetTempFileNameA(folder.c_str(), "~kx", 0, made)) return nullptr;
  std::unique_ptr<TargetFile> file = OpenForWriting(made, TRUNCATE_EXISTING, true);
  if (!file) {
    DeleteFileA(made);
    return nullptr;
  }
  path = made;
  return file;
}

bool Win32TargetFiles::Replace(const std::string& from, const std::string& to) {
  // An earlier file is replaced whole by the rename or left as it is; it is
  // never written into, where a failure part way would leave neither the
  // old content nor the new. One that went during the download leaves its
  // name free: the rename simply takes it.
  if (Protected(GetFileAttributesA(to.c_str()))) return false;
  // The earlier file stays hidden or system, as the user or system left it.
  return win::RenameOverKeepingAttributes(from.c_str(), to.c_str());
}

void Win32TargetFiles::Remove(const std::string& path) { DeleteFileA(path.c_str()); }

}  // namespace kx::hostkit

// The HTTP machinery the download worker needs, as small interfaces: the
// Win32 layer implements them over WinInet, the tests over scripted answers.
// A failure of the machinery itself (name resolution, connection, sending,
// reading) is thrown as HttpFailure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace kx::hostkit {

// Identity and request constants of the download's HTTP session.
inline constexpr char kAgentName[] = "3D Domirel Designer";
inline constexpr std::uint32_t kRequestFlags = 0x20200000;  // reuse connection, no auto redirect
inline constexpr std::uintptr_t kRequestContext = 1;
inline constexpr char kRequestHeaders[] = "Accept: text/*\r\nUser-Agent: 3D Domirel Designer\r\n";
inline constexpr std::size_t kReadPieceBytes = 1024;

class HttpFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ParsedUrl {
  bool http = false;  // the service is plain HTTP
  std::string server;
  std::string object;  // path and query, as the request names them
  std::uint16_t port = 0;
};

// One GET request without automatic redirection.
class HttpRequest {
 public:
  virtual ~HttpRequest() = default;
  virtual void Send() = 0;
  virtual int StatusCode() = 0;
  // All response headers as one text with CR LF line ends.
  virtual std::string RawHeaders() = 0;
  // The Content-Length header as text; nullopt when the response has none.
  virtual std::optional<std::string> ContentLength() = 0;
  // Up to `size` bytes of the body; 0 at its end.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // The platform's dialog for a refused password; true when the user asked
  // to try again.
  virtual bool AskPasswordRetry() = 0;
};

class HttpConnection {
 public:
  virtual ~HttpConnection() = default;
  // A GET request for `object` with the request constants and headers above.
  virtual std::unique_ptr<HttpRequest> OpenGet(const std::string& object) = 0;
};

// One session per download, closed when it goes.
class HttpSession {
 public:
  virtual ~HttpSession() = default;
  virtual std::unique_ptr<HttpConnection> Connect(const std::string& server,
                                                  std::uint16_t port) = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // nullopt when `url` cannot be parsed.
  virtual std::optional<ParsedUrl> ParseUrl(const std::string& url) = 0;
  virtual std::unique_ptr<HttpSession> OpenSession() = 0;
};

// The file that receives the body.
class TargetFile {
 public:
  virtual ~TargetFile() = default;
  // false when not every byte was written.
  [[nodiscard]] virtual bool Write(const char* data, std::size_t size) = 0;
  // false when what was written could not be kept.
  [[nodiscard]] virtual bool Close() = 0;
};

// The files of the target folder. The worker writes a new name directly; a
// file that is there already is replaced only by a finished download, from
// a file of its own beside it.
class TargetFiles {
 public:
  virtual ~TargetFiles() = default;
  // Creates `path` for writing; null when it exists already or cannot be
  // made.
  virtual std::unique_ptr<TargetFile> CreateNew(const std::string& path) = 0;
  // True when `path` is a file that a finished download may replace: no
  // folder, not read-only, and not held open by another program, which
  // would keep it from being replaced whole.
  virtual bool Replaceable(const std::string& path) = 0;
  // Creates a file under a new name of its own in `folder` (given without
  // a trailing separator) for writing, and sets `path` to it; null, and
  // `path` untouched, when that fails.
  virtual std::unique_ptr<TargetFile> CreateBeside(const std::string& folder,
                                                   std::string& path) = 0;
  // Puts the closed file `from` in the place of the file `to` (or under its
  // name, when `to` has gone meanwhile); `from` is gone then. false when
  // `to` could not be replaced whole; it is then as it was.
  [[nodiscard]] virtual bool Replace(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& path) = 0;
};

}  // namespace kx::hostkit

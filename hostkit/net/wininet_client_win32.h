// The download's HTTP client over WinInet: CKxSession and its connections
// and requests. Failures of WinInet are thrown as HttpFailure.
#pragma once

#include <windows.h>
// windows.h first
#include <wininet.h>

#include <atomic>

#include "hostkit/net/http_client.h"

namespace kx::hostkit {

// The WinInet handles of one download's connection and request. Cut closes
// them from another thread (the dialog's, on Cancel): a call blocked on one
// of them, on a server that has gone silent or never answers, then returns
// with a failure; closing its handle is WinInet's one way to end a blocking
// call. Whichever side takes a handle from its place first closes it, so
// each is closed exactly once.
class WinInetLine {
 public:
  WinInetLine() = default;
  WinInetLine(const WinInetLine&) = delete;
  WinInetLine& operator=(const WinInetLine&) = delete;

  // Takes `handle` into a free place and returns the place; -1 for a null
  // handle. A handle that comes after the line was cut is closed at once,
  // and so is one for which no place is free (-1 then too).
  int Hold(HINTERNET handle) noexcept;
  // The handle in `place`; null once it is closed.
  HINTERNET Get(int place) const noexcept;
  // Closes the handle in `place` unless Cut has taken it.
  void Close(int place) noexcept;
  // Closes every handle held now, the last taken first, and every one held
  // from now on.
  void Cut() noexcept;

 private:
  static constexpr int kPlaces = 4;  // a connection and its request, and room
  std::atomic<HINTERNET> places_[kPlaces] = {};
  std::atomic<bool> cut_{false};
};

class WinInetClient final : public HttpClient {
 public:
  // Connections and requests are held in `line`, which outlives the client.
  explicit WinInetClient(WinInetLine& line) : line_(line) {}
  std::optional<ParsedUrl> ParseUrl(const std::string& url) override;
  // A CKxSession: the system's proxy settings, the agent name, context 1.
  std::unique_ptr<HttpSession> OpenSession() override;

 private:
  WinInetLine& line_;
};

// The target folder's files over CreateFile and WriteFile; a finished
// download takes an earlier file's place by a rename, and only so: an
// earlier file is never written into.
class Win32TargetFiles final : public TargetFiles {
 public:
  std::unique_ptr<TargetFile> CreateNew(const std::string& path) override;
  bool Replaceable(const std::string& path) override;
  std::unique_ptr<TargetFile> CreateBeside(const std::string& folder, std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override;
  void Remove(const std::string& path) override;
};

}  // namespace kx::hostkit

// The download's HTTP client over WinInet: CKxSession and its connections
// and requests. Failures of WinInet are thrown as HttpFailure.
#pragma once

#include "hostkit/net/http_client.h"

namespace kx::hostkit {

class WinInetClient final : public HttpClient {
 public:
  std::optional<ParsedUrl> ParseUrl(const std::string& url) override;
  // A CKxSession: the system's proxy settings, the agent name, context 1.
  std::unique_ptr<HttpSession> OpenSession() override;
};

// The target folder's files over CreateFile and WriteFile; a finished
// download takes an earlier file's place by a rename.
class Win32TargetFiles final : public TargetFiles {
 public:
  std::unique_ptr<TargetFile> CreateNew(const std::string& path) override;
  bool Replaceable(const std::string& path) override;
  std::unique_ptr<TargetFile> CreateBeside(const std::string& folder, std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override;
  void Remove(const std::string& path) override;
};

}  // namespace kx::hostkit

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

// The target file over CreateFile and WriteFile.
class Win32TargetFiles final : public TargetFiles {
 public:
  std::unique_ptr<TargetFile> Create(const std::string& path) override;
};

}  // namespace kx::hostkit

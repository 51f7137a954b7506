// The download's parsers of outside text (addresses, response headers) on
// arbitrary bytes: no crash, and a name that is accepted never leaves the
// folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hostkit/net/download_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const kx::DoubleByteRule& code_page : {kx::kCodePage932, kx::kSingleByteCodePage}) {
    const std::string name = kx::hostkit::UrlFileName(text, code_page);
    if (!kx::hostkit::IsSafeFileName(name, code_page)) continue;
    // Only dots and blanks name the folder or its parent once Windows drops
    // the trailing ones; ".." inside a name leads nowhere without a separator.
    if (name.find_last_not_of(". ") == std::string::npos || name.find(':') != std::string::npos ||
        name.find('/') != std::string::npos) {
      std::abort();
    }
    // Read by a code page without double-byte characters, every "\\" is a
    // separator.
    if (code_page.lead == kx::kSingleByteCodePage.lead && name.find('\\') != std::string::npos) {
      std::abort();
    }
  }
  (void)kx::hostkit::LocationTarget(text);
  (void)kx::hostkit::TotalBytesShown(text);
  return 0;
}

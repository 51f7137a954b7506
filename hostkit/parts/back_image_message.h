// The message a failed back image write shows, by cause.
#pragma once

#include <cstdint>
#include <string>

#include "hostkit/parts/back_image_files.h"

namespace kx::hostkit {

// The text for `cause` with %1 replaced by `path`.
[[nodiscard]] std::string FileErrorMessage(FileErrorCause cause, const std::string& path);

// The cause of a system error code (the value GetLastError gives); codes
// without a kind of their own are kGeneric, 0 is kNone.
[[nodiscard]] FileErrorCause FileErrorCauseFromSystemError(std::uint32_t code);

}  // namespace kx::hostkit

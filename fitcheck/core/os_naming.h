// How the operating system is named for the user and the log.
#pragma once

#include <string>

#include "fitcheck/core/system_info.h"

namespace kx {

struct OsNameResult {
  bool recognised = false;
  std::string name;
};

// The naming rule for the Windows 95 family and NT up to 4.0.
OsNameResult ClassicOsName(const VersionRecord& basic);

// The naming rule for NT 5.0 and later, from the extended record. Fails
// (with the text "非サポートバージョン") off NT or below version 5.
OsNameResult NtOsName(const VersionRecord& extended, SystemInfo& system);

}  // namespace kx

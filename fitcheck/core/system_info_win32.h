#pragma once

#include "fitcheck/core/system_info.h"

namespace kx {

class Win32SystemInfo final : public SystemInfo {
 public:
  bool BasicVersion(VersionRecord& out) override;
  bool ExtendedVersion(VersionRecord& out) override;
  int ProcessorArchitecture() override;
  std::optional<std::uint32_t> ProductType(std::uint32_t major, std::uint32_t minor,
                                           std::uint32_t sp_major, std::uint32_t sp_minor) override;
  bool IsServerR2() override;
  std::uint64_t TotalPhysicalMemory(bool use_64bit_query) override;
  void DesktopRect(int& left, int& top, int& right, int& bottom) override;
  bool CanLoadLibrary(const std::string& name) override;
};

}  // namespace kx

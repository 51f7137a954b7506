// What the environment probe asks the platform: version records, processor
// architecture, product type, memory, desktop size, library presence.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kx {

// The platform's version record; the extended fields are filled only by
// SystemInfo::ExtendedVersion.
struct VersionRecord {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platform_id = 0;  // 0, 1: the Windows 95 family; 2: NT
  std::string service_pack;       // at most 127 bytes
  // Extended record.
  std::uint16_t service_pack_major = 0;
  std::uint16_t service_pack_minor = 0;
  std::uint16_t suite_mask = 0;
  std::uint8_t product_type = 0;  // 1: workstation
};

inline constexpr std::uint32_t kPlatformNT = 2;
inline constexpr std::uint8_t kProductWorkstation = 1;
inline constexpr int kArchitectureX86 = 0;
inline constexpr int kArchitectureItanium = 6;
inline constexpr int kArchitectureX64 = 9;

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // The basic record (no extended fields); false when the query fails.
  virtual bool BasicVersion(VersionRecord& out) = 0;
  // The extended record; false when the query fails.
  virtual bool ExtendedVersion(VersionRecord& out) = 0;
  // The native processor architecture, or the emulated one where the
  // native query is not available.
  virtual int ProcessorArchitecture() = 0;
  // The edition of the installed product for the given version; none when
  // the platform has no such service.
  virtual std::optional<std::uint32_t> ProductType(std::uint32_t major, std::uint32_t minor,
                                                   std::uint32_t sp_major,
                                                   std::uint32_t sp_minor) = 0;
  // True on the second release of a 5.2 server.
  virtual bool IsServerR2() = 0;
  // Installed physical memory in bytes, from the older 32-bit status query
  // or from the 64-bit one.
  virtual std::uint64_t TotalPhysicalMemory(bool use_64bit_query) = 0;
  // The desktop window's rectangle.
  virtual void DesktopRect(int& left, int& top, int& right, int& bottom) = 0;
  // True when the library can be loaded (it is unloaded at once).
  virtual bool CanLoadLibrary(const std::string& name) = 0;
};

}  // namespace kx

#include "fitcheck/core/os_naming.h"

#include <iterator>

#include "common/text.h"

namespace kx {
namespace {

// Which version texts are known by name; the first matching row wins, so the
// rows for OSR2, 98 SE and NT 4.0 are reached only through the corrections.
struct ClassicRow {
  const char* version;
  const char* name;
};
constexpr ClassicRow kClassicNames[] = {
    {"4.0", "Windows 95"},     {"4.0", "Windows 95 OSR2"}, {"4.10", "Windows 98"},
    {"4.10", "Windows 98 SE"}, {"4.90", "Windows ME"},     {"3.51", "Windows NT 3.51"},
    {"4.0", "Windows NT 4.0"},
};

const char* VistaEdition(std::uint32_t product_type) {
  switch (product_type) {
    case 1: return "Ultimate Edition";
    case 2: return "Home Basic Edition";
    case 3: return "Home Premium Edition";
    case 4: return "Enterprise Edition";
    case 6: return "Business Edition";
    case 7: return "Standard Edition";
    case 8: return "Datacenter Edition";
    case 9: return "Small Business Server";
    case 10: return "Enterprise Edition";
    case 11: return "Starter Edition";
    case 12: return "Datacenter Edition (core installation)";
    case 13: return "Standard Edition (core installation)";
    case 14: return "Enterprise Edition (core installation)";
    case 15: return "Enterprise Edition for Itanium-based Systems";
    case 17: return "Web Server Edition";
    case 18: return "Cluster Server Edition";
    case 25: return "Small Business Server Premium Edition";
    default: return "";
  }
}

std::string Server2003Edition(const VersionRecord& v, int architecture) {
  const auto has = [&](std::uint16_t bit) { return (v.suite_mask & bit) != 0; };
  if (architecture == kArchitectureItanium) {
    if (has(0x80)) return "Datacenter Edition for Itanium-based Systems";
    if (has(0x2)) return "Enterprise Edition for Itanium-based Systems";
    return "";
  }
  if (architecture == kArchitectureX64) {
    if (has(0x80)) return "Datacenter x64 Edition";
    if (has(0x2)) return "Enterprise x64 Edition";
    return "Standard x64 Edition";
  }
  if (has(0x4000)) return "Compute Cluster Edition";
  if (has(0x80)) return "Datacenter Edition";
  if (has(0x2)) return "Enterprise Edition";
  if (has(0x400)) return "Web Edition";
  return "Standard Edition";
}

}  // namespace

OsNameResult ClassicOsName(const VersionRecord& basic) {
  std::string version = Format("%i.%i", static_cast<int>(basic.major), static_cast<int>(basic.minor));
  OsNameResult result{false, "unknown"};
  for (const ClassicRow& row : kClassicNames) {
    if (version == row.version) {
      result = {true, row.name};
      break;
    }
  }
  std::uint32_t build = basic.build;
  const char second = basic.service_pack.size() > 1 ? basic.service_pack[1] : '\0';
  if (basic.platform_id == 0 || basic.platform_id == 1) {
    if (version == "4.0" && (second == 'B' || second == 'C')) result = {true, "Windows 95 OSR2"};
    if (version == "4.10" && second == 'A') result = {true, "Windows 98 SE"};
    build %= 65536;
  } else if (basic.platform_id == kPlatformNT && basic.major == 4) {
    result = {true, "Windows NT 4.0"};
  }
  version += Format(".%ld", static_cast<long>(build));
  result.name = Format("%s (%s) %s", result.name.c_str(), version.c_str(), basic.service_pack.c_str());
  return result;
}

OsNameResult NtOsName(const VersionRecord& v, SystemInfo& system) {
  if (v.platform_id != kPlatformNT || v.major < 5) return {false, "非サポートバージョン"};
  const int architecture = system.ProcessorArchitecture();
  const bool workstation = v.product_type == kProductWorkstation;
  std::string name = "Windows ";
  if (v.major == 6 && v.minor == 1) {
    name += workstation ? "7 " : "Server 2008 R2 ";
  } else if (v.major == 6 && v.minor == 0) {
    name += workstation ? "Vista " : "Server 2008 ";
    // Where the platform lacks the edition query, no edition is named.
    if (const auto type = system.ProductType(6, 0, 0, 0)) name += VistaEdition(*type);
    if (architecture == kArchitectureX64) name += ", 64-bit";
    if (architecture == kArchitectureX86) name += ", 32-bit";
  } else if (v.major == 5 && v.minor == 2) {
    if (system.IsServerR2()) {
      name += "Server 2003 R2, ";
    } else if (v.suite_mask == 0x2000) {
      name += "Storage Server 2003";
    } else if (v.suite_mask == 0x8000) {
      name += "Home Server";
    } else if (workstation && architecture == kArchitectureX64) {
      name += "XP Professional x64 Edition";
    } else {
      name += "Server 2003, ";
    }
    if (!workstation) name += Server2003Edition(v, architecture);
  } else if (v.major == 5 && v.minor == 1) {
    name += "XP ";
    name += (v.suite_mask & 0x200) ? "Home Edition" : "Professional";
  } else if (v.major == 5 && v.minor == 0) {
    name += "2000 ";
    if (workstation) {
      name += "Professional";
    } else if (v.suite_mask & 0x80) {
      name += "Datacenter Server";
    } else if (v.suite_mask & 0x2) {
      name += "Advanced Server";
    } else {
      name += "Server";
    }
  }
  name += Format(" (%d.%d.%d)", static_cast<int>(v.major), static_cast<int>(v.minor),
                 static_cast<int>(v.build));
  if (!v.service_pack.empty()) name += " " + v.service_pack;
  return {true, name};
}

}  // namespace kx

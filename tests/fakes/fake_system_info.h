// A machine described by values, for tests of the environment probe and the
// wizard.
#pragma once

#include <set>
#include <string>

#include "fitcheck/core/system_info.h"

namespace kx::test {

class FakeSystemInfo final : public SystemInfo {
 public:
  VersionRecord version;  // basic fields are reported by both queries
  bool version_fails = false;
  int architecture = kArchitectureX86;
  std::optional<std::uint32_t> product_type;
  bool server_r2 = false;
  std::uint64_t memory_bytes = 4096ull << 20;
  int left = 0, top = 0, right = 1280, bottom = 1024;
  std::set<std::string> libraries{"D3DX9_34.DLL"};
  int memory_queries_64 = 0, memory_queries_32 = 0;

  // Windows 7 SP1 workstation, as Wine reports itself.
  static VersionRecord Windows7() {
    VersionRecord v;
    v.major = 6;
    v.minor = 1;
    v.build = 7601;
    v.platform_id = kPlatformNT;
    v.service_pack = "Service Pack 1";
    v.service_pack_major = 1;
    v.product_type = kProductWorkstation;
    return v;
  }

  bool BasicVersion(VersionRecord& out) override {
    if (version_fails) return false;
    out = version;
    out.service_pack_major = out.service_pack_minor = out.suite_mask = 0;
    out.product_type = 0;
    return true;
  }
  bool ExtendedVersion(VersionRecord& out) override {
    if (version_fails) return false;
    out = version;
    return true;
  }
  int ProcessorArchitecture() override { return architecture; }
  std::optional<std::uint32_t> ProductType(std::uint32_t, std::uint32_t, std::uint32_t,
                                           std::uint32_t) override {
    return product_type;
  }
  bool IsServerR2() override { return server_r2; }
  std::uint64_t TotalPhysicalMemory(bool use_64bit_query) override {
    ++(use_64bit_query ? memory_queries_64 : memory_queries_32);
    return memory_bytes;
  }
  void DesktopRect(int& l, int& t, int& r, int& b) override {
    l = left;
    t = top;
    r = right;
    b = bottom;
  }
  bool CanLoadLibrary(const std::string& name) override { return libraries.count(name) != 0; }
};

}  // namespace kx::test

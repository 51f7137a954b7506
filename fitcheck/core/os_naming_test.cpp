#include "fitcheck/core/os_naming.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_system_info.h"

namespace kx {
namespace {

VersionRecord Nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, const char* sp,
                 std::uint8_t product_type = kProductWorkstation, std::uint16_t suite = 0) {
  VersionRecord v;
  v.major = major;
  v.minor = minor;
  v.build = build;
  v.platform_id = kPlatformNT;
  v.service_pack = sp;
  v.product_type = product_type;
  v.suite_mask = suite;
  return v;
}

VersionRecord Win9x(std::uint32_t minor, std::uint32_t build, const char* sp) {
  VersionRecord v;
  v.major = 4;
  v.minor = minor;
  v.build = build;
  v.platform_id = 1;
  v.service_pack = sp;
  return v;
}

std::string NtName(const VersionRecord& v, int architecture = kArchitectureX86,
                   std::optional<std::uint32_t> product = std::nullopt, bool r2 = false) {
  test::FakeSystemInfo system;
  system.architecture = architecture;
  system.product_type = product;
  system.server_r2 = r2;
  const OsNameResult result = NtOsName(v, system);
  EXPECT_TRUE(result.recognised);
  return result.name;
}

TEST(ClassicOsNameTest, Windows95Family) {
  // The build number of the 95 family keeps only its low word.
  EXPECT_EQ(ClassicOsName(Win9x(0, 0x04000000 + 950, "")).name, "Windows 95 (4.0.950) ");
  EXPECT_EQ(ClassicOsName(Win9x(0, 1111, " B")).name, "Windows 95 OSR2 (4.0.1111)  B");
  EXPECT_EQ(ClassicOsName(Win9x(0, 1212, " C")).name, "Windows 95 OSR2 (4.0.1212)  C");
  EXPECT_EQ(ClassicOsName(Win9x(10, 1998, "")).name, "Windows 98 (4.10.1998) ");
  EXPECT_EQ(ClassicOsName(Win9x(10, 2222, " A ")).name, "Windows 98 SE (4.10.2222)  A ");
  EXPECT_EQ(ClassicOsName(Win9x(90, 3000, " ")).name, "Windows ME (4.90.3000)  ");
  // A one-character service-pack text has no second character.
  EXPECT_EQ(ClassicOsName(Win9x(0, 950, "B")).name, "Windows 95 (4.0.950) B");
}

TEST(ClassicOsNameTest, NtUpToFour) {
  EXPECT_EQ(ClassicOsName(Nt(4, 0, 1381, "Service Pack 6")).name,
            "Windows NT 4.0 (4.0.1381) Service Pack 6");
  EXPECT_EQ(ClassicOsName(Nt(3, 51, 1057, "")).name, "Windows NT 3.51 (3.51.1057) ");
  EXPECT_FALSE(ClassicOsName(Nt(5, 1, 2600, "Service Pack 3")).recognised);
  EXPECT_FALSE(ClassicOsName(Nt(6, 1, 7601, "")).recognised);
}

TEST(NtOsNameTest, DesktopVersions) {
  EXPECT_EQ(NtName(Nt(5, 1, 2600, "Service Pack 3")),
            "Windows XP Professional (5.1.2600) Service Pack 3");
  EXPECT_EQ(NtName(Nt(5, 1, 2600, "Service Pack 2", 1, 0x200)),
            "Windows XP Home Edition (5.1.2600) Service Pack 2");
  EXPECT_EQ(NtName(Nt(6, 0, 6002, "Service Pack 2"), kArchitectureX86, 3),
            "Windows Vista Home Premium Edition, 32-bit (6.0.6002) Service Pack 2");
  EXPECT_EQ(NtName(Nt(6, 0, 6001, ""), kArchitectureX64, 1),
            "Windows Vista Ultimate Edition, 64-bit (6.0.6001)");
  // Two blanks before the parenthesis for 6.1 and for every later version.
  EXPECT_EQ(NtName(Nt(6, 1, 7601, "Service Pack 1")), "Windows 7  (6.1.7601) Service Pack 1");
  EXPECT_EQ(NtName(Nt(6, 2, 9200, "")), "Windows  (6.2.9200)");
  EXPECT_EQ(NtName(Nt(5, 0, 2195, "Service Pack 4")),
            "Windows 2000 Professional (5.0.2195) Service Pack 4");
}

TEST(NtOsNameTest, VistaEditionsAndMissingEditionService) {
  EXPECT_EQ(NtName(Nt(6, 0, 6000, ""), kArchitectureX86, 10),
            "Windows Vista Enterprise Edition, 32-bit (6.0.6000)");
  EXPECT_EQ(NtName(Nt(6, 0, 6000, "", 3), kArchitectureItanium, 15),
            "Windows Server 2008 Enterprise Edition for Itanium-based Systems (6.0.6000)");
  EXPECT_EQ(NtName(Nt(6, 0, 6000, ""), kArchitectureX86, 5), "Windows Vista , 32-bit (6.0.6000)");
  // No edition service: the name simply has no edition, rather than a crash.
  EXPECT_EQ(NtName(Nt(6, 0, 6000, ""), kArchitectureX64, std::nullopt),
            "Windows Vista , 64-bit (6.0.6000)");
}

TEST(NtOsNameTest, Servers) {
  EXPECT_EQ(NtName(Nt(6, 1, 7601, "", 3)), "Windows Server 2008 R2  (6.1.7601)");
  EXPECT_EQ(NtName(Nt(6, 0, 6001, "", 2), kArchitectureX64, 7),
            "Windows Server 2008 Standard Edition, 64-bit (6.0.6001)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "Service Pack 2", 3, 0x80), kArchitectureX86, {}, true),
            "Windows Server 2003 R2, Datacenter Edition (5.2.3790) Service Pack 2");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3, 0x2000)),
            "Windows Storage Server 2003Standard Edition (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3, 0x8000)), "Windows Home ServerStandard Edition (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3, 0x4000 | 0x80)),
            "Windows Server 2003, Compute Cluster Edition (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3, 0x400)), "Windows Server 2003, Web Edition (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3, 0x2), kArchitectureX64),
            "Windows Server 2003, Enterprise x64 Edition (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3), kArchitectureX64),
            "Windows Server 2003, Standard x64 Edition (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3, 0x80), kArchitectureItanium),
            "Windows Server 2003, Datacenter Edition for Itanium-based Systems (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "", 3), kArchitectureItanium), "Windows Server 2003,  (5.2.3790)");
  EXPECT_EQ(NtName(Nt(5, 2, 3790, "Service Pack 2"), kArchitectureX64),
            "Windows XP Professional x64 Edition (5.2.3790) Service Pack 2");
  EXPECT_EQ(NtName(Nt(5, 0, 2195, "", 3, 0x80)), "Windows 2000 Datacenter Server (5.0.2195)");
  EXPECT_EQ(NtName(Nt(5, 0, 2195, "", 2, 0x2)), "Windows 2000 Advanced Server (5.0.2195)");
  EXPECT_EQ(NtName(Nt(5, 0, 2195, "", 3)), "Windows 2000 Server (5.0.2195)");
}

TEST(NtOsNameTest, RefusesWhatItDoesNotName) {
  test::FakeSystemInfo system;
  EXPECT_EQ(NtOsName(Nt(4, 0, 1381, ""), system).name, "非サポートバージョン");
  EXPECT_FALSE(NtOsName(Nt(4, 0, 1381, ""), system).recognised);
  EXPECT_FALSE(NtOsName(Win9x(10, 1998, ""), system).recognised);
}

}  // namespace
}  // namespace kx

#include "fitcheck/core/kx_env.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_graphics.h"
#include "tests/fakes/fake_system_info.h"
#include "tests/fakes/memory_log.h"

namespace kx {
namespace {

using test::FakeSystemInfo;

VersionRecord Xp(std::uint16_t sp_major) {
  VersionRecord v;
  v.major = 5;
  v.minor = 1;
  v.build = 2600;
  v.platform_id = kPlatformNT;
  v.service_pack = sp_major ? "Service Pack " + std::to_string(sp_major) : "";
  v.service_pack_major = sp_major;
  v.product_type = kProductWorkstation;
  return v;
}

VersionRecord Version(std::uint32_t major, std::uint32_t minor, std::uint8_t product_type) {
  VersionRecord v;
  v.major = major;
  v.minor = minor;
  v.build = 1000;
  v.platform_id = kPlatformNT;
  v.product_type = product_type;
  return v;
}

class KxEnvTest : public ::testing::Test {
 protected:
  FakeSystemInfo system;
  test::FakeGraphics graphics;
  test::MemoryLog log;
  KxEnvServices services{system, graphics, log.writer};
  std::string edition = "ZT";
  std::string version = "3";

  void SetMemoryMB(std::uint64_t mb) { system.memory_bytes = mb << 20; }
};

// CKxEnv is neither copyable nor movable: constructed in place.
#define MAKE_ENV(name) CKxEnv name(services, edition, version, "C:\\App\\")

TEST_F(KxEnvTest, NewGenerationFromTheEdition) {
  EXPECT_TRUE(IsNewGeneration("ZT", "3"));
  EXPECT_FALSE(IsNewGeneration("ZT", "2"));
  EXPECT_TRUE(IsNewGeneration("ZT", "10b"));
  EXPECT_FALSE(IsNewGeneration("ZT", "x9"));
  EXPECT_TRUE(IsNewGeneration("VEK", "0"));
  EXPECT_FALSE(IsNewGeneration("AB", "9"));
}

TEST_F(KxEnvTest, WineLikeWindows7IsAcceptable) {
  system.version = FakeSystemInfo::Windows7();
  MAKE_ENV(env);
  EXPECT_EQ(env.ServicePackMajor(), -1);
  EXPECT_EQ(env.GetOsName(), "Windows 7  (6.1.7601) Service Pack 1");
  EXPECT_EQ(env.ServicePackMajor(), 1);
  EXPECT_TRUE(env.IsOsAcceptable());
  EXPECT_EQ(env.GetModuleFolder(), "C:\\App\\");
}

TEST_F(KxEnvTest, XpNeedsServicePack2And510MB) {
  system.version = Xp(1);
  {
    MAKE_ENV(env);
    EXPECT_TRUE(env.GetOsName().find("Windows XP") != std::string::npos);
    EXPECT_EQ(env.ServicePackMajor(), 1);
    EXPECT_FALSE(env.IsOsAcceptable());
  }
  system.version = Xp(2);
  SetMemoryMB(509);
  {
    MAKE_ENV(env);
    EXPECT_TRUE(env.IsOsAcceptable());
    EXPECT_FALSE(env.IsMemoryAcceptable());
    EXPECT_EQ(env.GetMemoryText(), "509 MB");
  }
  SetMemoryMB(510);
  {
    MAKE_ENV(env);
    EXPECT_TRUE(env.IsMemoryAcceptable());
  }
}

TEST_F(KxEnvTest, XpProfessionalX64CountsAsXp) {
  system.version = Version(5, 2, kProductWorkstation);
  system.version.service_pack_major = 2;
  system.architecture = kArchitectureX64;
  SetMemoryMB(510);
  MAKE_ENV(env);
  EXPECT_TRUE(env.IsOsAcceptable());
  EXPECT_TRUE(env.IsMemoryAcceptable());
}

TEST_F(KxEnvTest, VistaNeeds1000MBAndAWorkstation) {
  system.version = Version(6, 0, kProductWorkstation);
  system.product_type = 6;
  SetMemoryMB(1000);
  {
    MAKE_ENV(env);
    EXPECT_TRUE(env.IsOsAcceptable());
    EXPECT_TRUE(env.IsMemoryAcceptable());
  }
  SetMemoryMB(999);
  {
    MAKE_ENV(env);
    EXPECT_FALSE(env.IsMemoryAcceptable());
  }
  system.version = Version(6, 0, 3);  // Server 2008
  {
    MAKE_ENV(env);
    EXPECT_FALSE(env.IsOsAcceptable());
  }
}

TEST_F(KxEnvTest, Windows2000OnlyForTheOlderGeneration) {
  system.version = Version(5, 0, kProductWorkstation);
  SetMemoryMB(250);
  {
    MAKE_ENV(env);  // ZT 3: new generation
    EXPECT_FALSE(env.IsOsAcceptable());
    EXPECT_FALSE(env.IsMemoryAcceptable());
  }
  version = "2";
  {
    MAKE_ENV(env);
    EXPECT_TRUE(env.IsOsAcceptable());
    EXPECT_TRUE(env.IsMemoryAcceptable());
  }
  SetMemoryMB(249);
  {
    MAKE_ENV(env);
    EXPECT_FALSE(env.IsMemoryAcceptable());
  }
}

TEST_F(KxEnvTest, EverythingElseIsRejected) {
  for (const VersionRecord& v : {Version(6, 2, kProductWorkstation), Version(10, 0, kProductWorkstation),
                                 Version(4, 0, kProductWorkstation)}) {
    system.version = v;
    MAKE_ENV(env);
    EXPECT_FALSE(env.IsOsAcceptable()) << env.GetOsName();
  }
  VersionRecord win98;
  win98.major = 4;
  win98.minor = 10;
  win98.platform_id = 1;
  system.version = win98;
  MAKE_ENV(env);
  EXPECT_FALSE(env.IsOsAcceptable());
}

TEST_F(KxEnvTest, FailedVersionQueryIsUnknownAndRejected) {
  system.version_fails = true;
  MAKE_ENV(env);
  EXPECT_EQ(env.GetOsName(), "Unknown OS Version");
  EXPECT_EQ(env.ServicePackMajor(), 0);
  EXPECT_FALSE(env.IsOsAcceptable());
  SetMemoryMB(999);
  MAKE_ENV(low);
  EXPECT_FALSE(low.IsMemoryAcceptable());  // threshold 1000 for an unknown system
}

TEST_F(KxEnvTest, MemoryQueryByVersionAndThe32BitCut) {
  system.version = Version(4, 0, 0);
  system.version.platform_id = 1;
  {
    MAKE_ENV(env);
    env.GetMemoryText();
    EXPECT_EQ(system.memory_queries_32, 1);
  }
  system.version = FakeSystemInfo::Windows7();
  system.memory_bytes = 8ull << 30;
  MAKE_ENV(env);
  EXPECT_EQ(env.GetMemoryText(), "8192 MB");
  EXPECT_EQ(system.memory_queries_64, 1);
  env.GetMemoryText();
  env.IsMemoryAcceptable();
  EXPECT_EQ(system.memory_queries_64, 1);  // measured once
}

TEST_F(KxEnvTest, ScreenThresholds) {
  const struct {
    int w, h;
    bool ok;
  } cases[] = {{1024, 576, true}, {1024, 575, false}, {1023, 768, false}, {1280, 1024, true}};
  for (const auto& c : cases) {
    system.left = 100;
    system.top = 50;
    system.right = 100 + c.w;
    system.bottom = 50 + c.h;
    MAKE_ENV(env);
    EXPECT_EQ(env.IsScreenAcceptable(), c.ok) << c.w << "x" << c.h;
    EXPECT_EQ(env.GetScreenText(), std::to_string(c.w) + " x " + std::to_string(c.h));
  }
}

TEST_F(KxEnvTest, DirectXPresenceAndVersionRecord) {
  system.version = FakeSystemInfo::Windows7();
  MAKE_ENV(env);
  EXPECT_TRUE(env.IsDirectXPresent());
  system.libraries.clear();
  EXPECT_FALSE(env.IsDirectXPresent());
  const VersionRecord v = env.GetVersionRecord();
  EXPECT_EQ(v.major, 6u);
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(env.GetOsName(), "Windows 7  (6.1.7601) Service Pack 1");
}

}  // namespace
}  // namespace kx

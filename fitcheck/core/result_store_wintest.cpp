#include <gtest/gtest.h>

#include <windows.h>

#include "common/registry_win32.h"
#include "fitcheck/core/module_files_win32.h"
#include "fitcheck/core/result_store.h"
#include "tests/fakes/fake_graphics.h"
#include "tests/fakes/fake_system_info.h"
#include "tests/fakes/memory_log.h"
#include "tests/win/registry_value.h"

namespace kx {
namespace {

// A product key of this test's own, removed afterwards.
class ResultStoreWinTest : public ::testing::Test {
 protected:
  const std::string product = "Software\\KxTest " + std::to_string(GetCurrentProcessId()) + "\\";
  const std::string environment = product + "Environment";
  Win32Registry registry;
  Win32ModuleFiles files;
  test::FakeGraphics graphics;
  test::FakeSystemInfo system;
  test::MemoryLog log;
  ResultStore store{registry, files, graphics, log.writer, environment, product + "Directories"};

  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, product.c_str()); }

  // The type and bytes of a value as the host application reads them.
  std::pair<DWORD, std::string> Read(const char* name) {
    const test::RegistryValue v = test::ReadRegistryValue(HKEY_CURRENT_USER, environment, name);
    if (v.status == test::RegistryValue::kNoKey) return {REG_NONE, "<no key>"};
    if (v.status == test::RegistryValue::kNoValue) return {REG_NONE, "<no value>"};
    return {v.type, v.bytes};
  }
  DWORD Dword(const char* name) {
    DWORD d = 0xFFFFFFFF;
    EXPECT_TRUE(test::ReadRegistryValue(HKEY_CURRENT_USER, environment, name).AsDword(d)) << name;
    return d;
  }
};

TEST_F(ResultStoreWinTest, ValuesAndTypesAsTheHostReadsThem) {
  graphics.spec = test::FakeGraphics::Capable();
  graphics.spec.VideoMemory = 128.0;
  graphics.chip = "Radeon 表示";
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\");
  env.CheckGLEnv();
  const KxGLOption c{true, true, false, true, true, true, "testC.bmp"};
  ASSERT_TRUE(store.WriteEnvCheckResult(1));
  ASSERT_TRUE(store.StoreGraphicSettings(c, env));

  EXPECT_EQ(Dword("EnvCheckResult"), 1u);
  EXPECT_EQ(Dword("GraphicLibrary"), 3u);
  EXPECT_EQ(Dword("ShadowMapAcceptable"), 1u);
  EXPECT_EQ(Dword("ShadowMapResolutionLv"), 0u);
  EXPECT_EQ(Dword("ShadingMethod"), 1u);
  EXPECT_EQ(Dword("PerspectiveViewAntialiasLv"), 1u);
  EXPECT_EQ(Dword("ReusePixelFormat"), 0u);
  EXPECT_EQ(Read("ChipType"), std::make_pair(DWORD{REG_SZ}, std::string("Radeon 表示\0", 12)));
  EXPECT_EQ(Read("VideoMemory"), std::make_pair(DWORD{REG_SZ}, std::string("128\0", 4)));

  char key_class[64] = {};
  DWORD class_size = sizeof key_class;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, environment.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  RegQueryInfoKeyA(key, key_class, &class_size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  EXPECT_STREQ(key_class, "Application Data");
}

TEST_F(ResultStoreWinTest, EmptyChipIsTheTerminatorAlone) {
  graphics.spec = test::FakeGraphics::Capable();
  graphics.spec.VideoMemory = 1.5;
  graphics.chip = "";
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\");
  env.CheckGLEnv();
  const KxGLOption j{false, false, false, false, true, true, "testJ.bmp"};
  ASSERT_TRUE(store.StoreGraphicSettings(j, env));
  EXPECT_EQ(Read("ChipType"), std::make_pair(DWORD{REG_SZ}, std::string(1, '\0')));
  EXPECT_EQ(Read("VideoMemory").second, std::string("1.5\0", 4));
  EXPECT_EQ(Dword("GraphicLibrary"), 1u);
}

TEST_F(ResultStoreWinTest, AKeyThatCannotBeCreatedIsReportedAsAFailure) {
  // Non-volatile keys cannot be made under a volatile one.
  HKEY parent = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, product.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &parent, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(parent);
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\");
  const KxGLOption h{true, false, false, false, true, true, "testH.bmp"};
  EXPECT_FALSE(store.WriteEnvCheckResult(2));
  EXPECT_FALSE(store.StoreGraphicSettings(h, env));
  EXPECT_EQ(Read("EnvCheckResult").second, "<no key>");
}

}  // namespace
}  // namespace kx

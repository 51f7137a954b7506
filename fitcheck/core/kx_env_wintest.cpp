#include <gtest/gtest.h>

#include <windows.h>

#include "fitcheck/core/kx_env.h"
#include "fitcheck/core/system_info_win32.h"
#include "tests/fakes/fake_graphics.h"
#include "tests/fakes/memory_log.h"

namespace kx {
namespace {

// Wine reports itself as Windows 7 SP1 workstation.
TEST(KxEnvWinTest, NamesAndJudgesWine) {
  Win32SystemInfo system;
  test::FakeGraphics graphics;
  test::MemoryLog log;
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\");
  EXPECT_EQ(env.GetOsName(), "Windows 7  (6.1.7601) Service Pack 1");
  EXPECT_EQ(env.ServicePackMajor(), 1);
  EXPECT_TRUE(env.IsOsAcceptable());
}

TEST(KxEnvWinTest, MemoryAndScreenAsThePlatformReportsThem) {
  Win32SystemInfo system;
  test::FakeGraphics graphics;
  test::MemoryLog log;
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\");
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  ASSERT_TRUE(GlobalMemoryStatusEx(&status));
  EXPECT_EQ(env.GetMemoryText(), std::to_string(status.ullTotalPhys >> 20) + " MB");
  EXPECT_EQ(env.GetScreenText(), std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                                     std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_GT(env.MemoryMB(), 0);
}

TEST(KxEnvWinTest, DirectXLibraryAndArchitecture) {
  Win32SystemInfo system;
  test::FakeGraphics graphics;
  test::MemoryLog log;
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\");
  // Wine ships d3dx9_34 as a built-in library.
  EXPECT_TRUE(env.IsDirectXPresent());
  EXPECT_FALSE(system.CanLoadLibrary("no_such_library_kx.dll"));
  // The system's architecture, not the program's: a 32-bit program on a
  // 64-bit system (WOW64) is told x64 too. A 32-bit prefix is an x86 system.
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  const bool system64 = sizeof(void*) == 8 || wow64;
  EXPECT_EQ(system.ProcessorArchitecture(), system64 ? kArchitectureX64 : kArchitectureX86);
  const auto vista_type = system.ProductType(6, 0, 0, 0);
  EXPECT_TRUE(vista_type.has_value());
}

}  // namespace
}  // namespace kx

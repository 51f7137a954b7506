#include "fitcheck/ui/directx_installer.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_file_system.h"

namespace kx {
namespace {

TEST(DirectXInstallerTest, TheDiscsFolderFirstThenTheRoot) {
  test::MemoryFileSystem files;
  EXPECT_EQ(FindDirectXInstaller("E:\\", files), "");
  files.AddFile("E:\\DXSETUP.exe");
  EXPECT_EQ(FindDirectXInstaller("E:\\", files), "E:\\DXSETUP.exe");
  files.AddFile("E:\\DIRECTX\\DXSETUP.exe");
  EXPECT_EQ(FindDirectXInstaller("E:\\", files), "E:\\DIRECTX\\DXSETUP.exe");
  files.AddFile("F:\\Setup\\DXSETUP.exe");
  EXPECT_EQ(FindDirectXInstaller("F:\\Setup", files), "F:\\Setup\\DXSETUP.exe");
  // A folder name ending in a double-byte character whose second byte is 0x5C.
  files.AddFile("F:\\表\\DXSETUP.exe");
  EXPECT_EQ(FindDirectXInstaller("F:\\表", files), "F:\\表\\DXSETUP.exe");
}

TEST(DirectXInstallerTest, ElevatedFromVersionSixOn) {
  EXPECT_STREQ(DirectXInstallerVerb(5), "open");
  EXPECT_STREQ(DirectXInstallerVerb(6), "runas");
  EXPECT_STREQ(DirectXInstallerVerb(10), "runas");
}

}  // namespace
}  // namespace kx

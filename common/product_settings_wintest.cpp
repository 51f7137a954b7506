#include <gtest/gtest.h>

#include <windows.h>

#include "common/file_system_win32.h"
#include "common/product_settings_win32.h"
#include "common/profile_store_win32.h"
#include "tests/win/temp_folder.h"

namespace kx {
namespace {

using test::TempFolder;

// The settings file beside this test program, removed again afterwards.
class SettingsFileBesideTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = ModuleFolderOf(Win32ProcessPaths().ExecutablePath()) + kSettingsFileName; }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  std::string path_;
};

TEST_F(SettingsFileBesideTest, OverridesThroughThePrivateProfileApi) {
  TempFolder::WriteFile(path_,
                        "; edition settings\r\n"
                        "[Other]\r\nProduct=ignored\r\n"
                        "[Settings]\r\nProduct=ドミレル表示\r\nCompany=\r\n"
                        "RegPath=Software\\Other\\\r\nViewerTitle=ビューア\r\n");
  Win32ProfileStore profiles;
  Win32FileSystem files;
  Win32ProcessPaths paths;
  ProductSettings settings(profiles, files, paths);
  settings.Load();
  EXPECT_EQ(settings.Product(), "ドミレル表示");
  EXPECT_EQ(settings.Company(), "Halvane");
  EXPECT_EQ(settings.RegistryProductKey("Directories"), "Software\\Other\\Directories");
  EXPECT_EQ(settings.ViewerTitle(), "ビューア");
  EXPECT_EQ(ReadViewerTitle(profiles, files, settings.ModuleFolder()), "ビューア");
}

TEST_F(SettingsFileBesideTest, FoldersOfTheRealPlatform) {
  Win32ProfileStore profiles;
  Win32FileSystem files;
  Win32ProcessPaths paths;
  ProductSettings settings(profiles, files, paths);
  settings.Load();
  const std::string module = settings.ModuleFolder();
  ASSERT_FALSE(module.empty());
  EXPECT_EQ(module.back(), '\\');
  // The folder of this very program, whichever test program it is built into.
  const std::string program = Win32ProcessPaths().ExecutablePath();
  EXPECT_EQ(module, ModuleFolderOf(program));
  EXPECT_TRUE(files.Exists(program));

  char appdata[MAX_PATH] = {};
  ASSERT_EQ(GetEnvironmentVariableA("LOCALAPPDATA", appdata, MAX_PATH) > 0, true);
  EXPECT_EQ(settings.LogFolder(), std::string(appdata) + "\\Halvane\\3DKXZT3\\");
  EXPECT_TRUE(files.Exists(settings.LogFolder()));
}

}  // namespace
}  // namespace kx

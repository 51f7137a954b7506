#include "common/product_settings.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_file_system.h"

namespace kx {
namespace {

class FixedPaths final : public ProcessPaths {
 public:
  std::string exe = "C:\\Program Files\\Domirel\\Fitcheck.exe";
  std::string appdata = "C:\\Users\\a b\\AppData\\Local";
  std::string ExecutablePath() override { return exe; }
  std::string LocalAppDataFolder() override { return appdata; }
};

class ProductSettingsTest : public ::testing::Test {
 protected:
  const std::string ini = "C:\\Program Files\\Domirel\\KxEnvSettings.ini";
  test::MemoryProfileStore profiles;
  test::MemoryFileSystem files;
  FixedPaths paths;
  ProductSettings settings{profiles, files, paths};

  void WriteIni(const std::string& key, const std::string& value) {
    files.AddFile(ini);
    profiles.Set(ini, "Settings", key, value);
  }
};

TEST(ApplicationNameTest, BaseNameWithoutExtension) {
  EXPECT_EQ(ApplicationNameOf("C:\\Program Files\\Domirel\\Fitview.exe"), "Fitview");
  EXPECT_EQ(ApplicationNameOf("C:\\a.b\\Fitcheck.exe"), "Fitcheck");
  EXPECT_EQ(ApplicationNameOf("Fitview"), "Fitview");
  // "表" ends in 0x5C: it is part of the name, not a folder separator.
  EXPECT_EQ(ApplicationNameOf("C:\\kx 表示\\表示.exe"), "表示");
}

TEST_F(ProductSettingsTest, DefaultsWithoutAFile) {
  settings.Load();
  EXPECT_EQ(settings.Product(), "3D ドミレルデザイナー");
  EXPECT_EQ(settings.Company(), "Halvane");
  EXPECT_EQ(settings.ViewerTitle(), "ドミレルデザイナー動作チェック");
  EXPECT_EQ(settings.EditionCode(), "ZT");
  EXPECT_EQ(settings.VersionCode(), "3");
  EXPECT_EQ(settings.RegistryProductKey("Environment"),
            "Software\\HALVANE\\3D Domirel Designer ZT 3\\Environment");
  EXPECT_EQ(settings.ModuleFolder(), "C:\\Program Files\\Domirel\\");
  EXPECT_EQ(settings.LogFolder(), "C:\\Users\\a b\\AppData\\Local\\Halvane\\3DKXZT3\\");
  // Two levels are created, the maker's folder first.
  EXPECT_EQ(files.created, (std::vector<std::string>{"C:\\Users\\a b\\AppData\\Local\\Halvane\\",
                                                     "C:\\Users\\a b\\AppData\\Local\\Halvane\\3DKXZT3\\"}));
  // Computed once.
  paths.appdata = "D:\\";
  EXPECT_EQ(settings.LogFolder(), "C:\\Users\\a b\\AppData\\Local\\Halvane\\3DKXZT3\\");
}

TEST_F(ProductSettingsTest, FileOverridesNonEmptyValuesOnly) {
  WriteIni("Company", "");
  WriteIni("Product", "別の製品");
  WriteIni("LogPath", "Logs");
  WriteIni("RegPath", "Software\\Other\\");
  settings.Load();
  EXPECT_EQ(settings.Company(), "Halvane");
  EXPECT_EQ(settings.Product(), "別の製品");
  EXPECT_EQ(settings.RegistryProductKey("Directories"), "Software\\Other\\Directories");
  EXPECT_EQ(settings.LogFolder(), "C:\\Users\\a b\\AppData\\Local\\Halvane\\Logs\\");
}

TEST_F(ProductSettingsTest, RegPathWithoutBackslashRunsTogether) {
  WriteIni("RegPath", "Software\\Other");
  settings.Load();
  EXPECT_EQ(settings.RegistryProductKey("Directories"), "Software\\OtherDirectories");
}

TEST_F(ProductSettingsTest, LongValueIsCutTo259Bytes) {
  WriteIni("Product", std::string(300, 'p'));
  settings.Load();
  EXPECT_EQ(settings.Product(), std::string(259, 'p'));
}

TEST_F(ProductSettingsTest, ViewerTitleAloneChangesBothReaders) {
  WriteIni("ViewerTitle", "テスト表示");
  settings.Load();
  EXPECT_EQ(settings.ViewerTitle(), "テスト表示");
  EXPECT_EQ(settings.Product(), "3D ドミレルデザイナー");
  EXPECT_EQ(ReadViewerTitle(profiles, files, "C:\\Program Files\\Domirel\\"), "テスト表示");
  EXPECT_EQ(ReadViewerTitle(profiles, files, "C:\\Elsewhere\\"), "ドミレルデザイナー動作チェック");
}

TEST_F(ProductSettingsTest, NoLocalAppDataStillGivesAFolder) {
  paths.appdata = "";
  EXPECT_EQ(settings.LogFolder(), "\\Halvane\\3DKXZT3\\");
}

TEST(ModuleFolderTest, Shapes) {
  EXPECT_EQ(ModuleFolderOf("C:\\App\\Fitcheck.exe"), "C:\\App\\");
  EXPECT_EQ(ModuleFolderOf("  C:\\App\\Fitcheck.exe  "), "C:\\App\\");
  EXPECT_EQ(ModuleFolderOf("C:\\Fitcheck.exe"), "C:\\");
  EXPECT_EQ(ModuleFolderOf("C:\\ソフト\\Fitcheck.exe"), "C:\\ソフト\\");
  EXPECT_EQ(ModuleFolderOf("Fitcheck.exe"), "");
  EXPECT_EQ(ModuleFolderOf(""), "");
}

}  // namespace
}  // namespace kx

#include <gtest/gtest.h>

#include "common/profile_store_win32.h"
#include "tests/win/temp_folder.h"

namespace kx {
namespace {

using test::TempFolder;

TEST(ProfileStoreWinTest, ValuesRoundTrip) {
  TempFolder folder("profile テスト");
  const std::string file = folder / "KxEnvCheck.ini";
  Win32ProfileStore store;
  ASSERT_TRUE(store.WriteString(file, "Fitcheck", "hwnd", "-2147483000"));
  ASSERT_TRUE(store.WriteString(file, "Fitcheck", "BmpFile", "C:\\表 示\\testA.bmp"));
  EXPECT_EQ(store.ReadInt(file, "Fitcheck", "hwnd", 0), -2147483000);
  EXPECT_EQ(store.ReadInt(file, "Fitcheck", "absent", -1), -1);
  EXPECT_EQ(store.ReadString(file, "Fitcheck", "BmpFile", "", 1024), "C:\\表 示\\testA.bmp");
  EXPECT_EQ(store.ReadString(file, "Fitcheck", "absent", "dflt", 1024), "dflt");
  EXPECT_EQ(store.ReadString(file, "Fitcheck", "BmpFile", "", 5), "C:\\");
}

TEST(ProfileStoreWinTest, AValueThatIsNoNumberReadsAsTheFallback) {
  TempFolder folder;
  const std::string file = folder / "KxEnvResult.ini";
  struct Row {
    const char* written;
    int read;
  };
  const Row rows[] = {
      {"0", 0},           {"-1", -1},          {"5", 5},
      {" 4 ", 4},         {"+3", 3},           {"", -9},
      {"  ", -9},         {"abc", -9},         {"12abc", -9},
      {"0x10", -9},       {"- 1", -9},         {"2147483647", 2147483647},
      {"2147483648", -9}, {"-2147483649", -9},
  };
  Win32ProfileStore store;
  for (const Row& row : rows) {
    ASSERT_TRUE(store.WriteString(file, "Fitcheck", "ResultCode", row.written));
    EXPECT_EQ(store.ReadInt(file, "Fitcheck", "ResultCode", -9), row.read)
        << '"' << row.written << '"';
  }
}

TEST(ProfileStoreWinTest, SectionEntriesAreZeroSeparated) {
  TempFolder folder;
  const std::string file = folder / "glspec.ini";
  TempFolder::WriteFile(file, "[DisablePhong]\r\nChipType1=Radeon\r\nNote=a=b\r\n[X]\r\ny=1\r\n");
  Win32ProfileStore store;
  EXPECT_EQ(store.ReadSection(file, "DisablePhong", 1024),
            std::string("ChipType1=Radeon\0Note=a=b\0", 26));
  EXPECT_EQ(store.ReadSection(file, "Missing", 1024), "");
}

}  // namespace
}  // namespace kx

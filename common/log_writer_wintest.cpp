#include <gtest/gtest.h>

#include "common/log_writer_win32.h"
#include "tests/win/temp_folder.h"

namespace kx {
namespace {

using test::TempFolder;

TEST(LogWriterWinTest, AppendsAcrossTwoOpensOfTheSameDaysFile) {
  TempFolder folder("ログ テスト");
  Win32LogClock clock;
  Win32LogStorage storage;
  const std::string pattern = folder / "envchk_<DATE>.log";
  std::string path;
  {
    LogWriter log(clock, storage);
    ASSERT_TRUE(log.Open(pattern, LogWriter::kAppend));
    path = log.Path();
    log.Log(kLogSeparator);
    log.Log("OS等環境のチェック開始");
  }
  {
    LogWriter log(clock, storage);
    ASSERT_TRUE(log.Open(pattern, LogWriter::kAppend));
    EXPECT_EQ(log.Path(), path);
    log.Log("A\rB");
  }
  const std::string bytes = TempFolder::ReadFile(path);
  // Three lines: "HH:MM:SS.mmm, " + text + CR LF, the text in Shift-JIS.
  ASSERT_EQ(bytes.size(), 3 * 16 + 35 + std::string("OS等環境のチェック開始").size() + 3);
  EXPECT_EQ(bytes.substr(12, 2), ", ");
  EXPECT_EQ(bytes.substr(14, 37), std::string(kLogSeparator) + "\r\n");
  EXPECT_NE(bytes.find("OS\x93\x99\x8A\xC2\x8B\xAB\x82\xCC\x83\x60\x83\x46\x83\x62\x83\x4E\x8A\x4A\x8E\x6E\r\n"),
            std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 5), "A\rB\r\n");
}

TEST(LogWriterWinTest, CreateNewFailsOnAnExistingFile) {
  TempFolder folder;
  TempFolder::WriteFile(folder / "x.log", "keep");
  Win32LogClock clock;
  Win32LogStorage storage;
  LogWriter log(clock, storage);
  EXPECT_FALSE(log.Open(folder / "x.log", LogWriter::kCreateNew));
  EXPECT_FALSE(log.IsOpen());
  EXPECT_EQ(TempFolder::ReadFile(folder / "x.log"), "keep");
  // No flag truncates.
  ASSERT_TRUE(log.Open(folder / "x.log", 0));
  log.Close();
  EXPECT_EQ(TempFolder::ReadFile(folder / "x.log"), "");
}

TEST(LogWriterWinTest, DeleteOnCloseAndReadSharing) {
  TempFolder folder;
  Win32LogClock clock;
  Win32LogStorage storage;
  LogWriter log(clock, storage);
  ASSERT_TRUE(log.Open(folder / "gone.log", LogWriter::kDeleteOnClose));
  log.Log("line");
  // Written through and readable by others while open.
  EXPECT_NE(TempFolder::ReadFile(folder / "gone.log").find("line\r\n"), std::string::npos);
  // A second writer is refused: the file is shared for reading only.
  LogWriter other(clock, storage);
  EXPECT_FALSE(other.Open(folder / "gone.log", LogWriter::kAppend));
  log.Close();
  EXPECT_FALSE(TempFolder::Exists(folder / "gone.log"));
}

TEST(LogWriterWinTest, NumberedPatternSkipsExistingFiles) {
  TempFolder folder;
  TempFolder::WriteFile(folder / "a_1.log", "");
  TempFolder::WriteFile(folder / "a_2.log", "");
  Win32LogClock clock;
  Win32LogStorage storage;
  LogWriter log(clock, storage);
  ASSERT_TRUE(log.Open(folder / "a_<NO>.log", LogWriter::kAppend));
  EXPECT_EQ(log.Path(), folder / "a_3.log");
}

TEST(LogWriterWinTest, MissingFolderFailsSilently) {
  Win32LogClock clock;
  Win32LogStorage storage;
  LogWriter log(clock, storage);
  EXPECT_FALSE(log.Open("Z:\\no such folder\\x\\log.txt", LogWriter::kAppend));
  log.Log("dropped");
}

}  // namespace
}  // namespace kx

#include <gtest/gtest.h>

#include "common/file_system_win32.h"
#include "common/profile_store_win32.h"
#include "fitcheck/core/checker_exchange.h"
#include "tests/fakes/memory_log.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx {
namespace {

using test::TempFolder;

class CheckerExchangeWinTest : public ::testing::Test {
 protected:
  // An installation and a temporary folder whose names hold blanks and
  // Japanese characters, as a user name may.
  TempFolder install{"ドミレル Designer"};
  TempFolder temp{"ユーザー 一時"};
  Win32ProfileStore profiles;
  Win32FileSystem files;
  test::MemoryLog log;
  CheckerExchange exchange{profiles, files, log.writer, temp.path(), install.path(), "C:\\ログ\\"};

  void SetUp() override {
    CreateDirectoryA((install / "data").c_str(), nullptr);
    TempFolder::WriteFile(install / "data\\testB.bmp", "BM");
    TempFolder::WriteFile(install / "data\\test.q3d", "model");
  }
  std::string ReadInOtherProcess(const std::string& file, const std::string& key) {
    const std::string probe = test::TestProgramFolder() + "profile_probe.exe";
    const test::ProcessResult r =
        test::RunProcess("\"" + probe + "\" read \"" + file + "\" Fitcheck " + key);
    EXPECT_EQ(r.exit_code, 0u);
    return r.output;
  }
};

TEST_F(CheckerExchangeWinTest, TheViewerProcessReadsTheRequestWhole) {
  const std::string folder = exchange.ExchangeFolder();
  EXPECT_EQ(folder, temp.path() + "~Fitcheck\\");
  EXPECT_TRUE(TempFolder::Exists(folder));
  const std::string request = folder + "KxEnvCheck.ini";
  const KxGLOption b{true, true, true, false, true, true, "testB.bmp"};
  ASSERT_TRUE(exchange.WriteRequest(b, request, folder + "KxEnvResult.ini", -5));

  EXPECT_EQ(ReadInOtherProcess(request, "BmpFile"), install.path() + "data\\testB.bmp");
  EXPECT_EQ(ReadInOtherProcess(request, "Q3dFile"), install.path() + "data\\test.q3d");
  EXPECT_EQ(ReadInOtherProcess(request, "ResultFile"), folder + "KxEnvResult.ini");
  EXPECT_EQ(ReadInOtherProcess(request, "Phong"), "0");
  EXPECT_EQ(ReadInOtherProcess(request, "hwnd"), "-5");
  EXPECT_EQ(ReadInOtherProcess(request, "LogFile"), "C:\\ログ\\env3dk_<DATE>.log");
}

TEST_F(CheckerExchangeWinTest, ResultWrittenByAnotherProcess) {
  const std::string result = exchange.ExchangeFolder() + "KxEnvResult.ini";
  const std::string probe = "\"" + test::TestProgramFolder() + "profile_probe.exe\"";
  EXPECT_FALSE(exchange.ReadResult(result));
  ASSERT_EQ(test::RunProcess(probe + " write \"" + result + "\" Fitcheck ResultCode 0").exit_code, 0u);
  EXPECT_TRUE(exchange.ReadResult(result));
  ASSERT_EQ(test::RunProcess(probe + " write \"" + result + "\" Fitcheck ResultCode 5").exit_code, 0u);
  EXPECT_FALSE(exchange.ReadResult(result));
  EXPECT_EQ(exchange.LastResultCode(), 5);
  TempFolder::WriteFile(result, "[Fitcheck]\r\nOther=1\r\n");
  EXPECT_FALSE(exchange.ReadResult(result));
  EXPECT_EQ(exchange.LastResultCode(), -1);
}

TEST_F(CheckerExchangeWinTest, MissingPictureWritesOnlyTheFirstTwoKeys) {
  const std::string request = exchange.ExchangeFolder() + "KxEnvCheck.ini";
  const KxGLOption c{true, true, false, true, true, true, "testC.bmp"};  // no such picture
  EXPECT_FALSE(exchange.WriteRequest(c, request, "r.ini", 1));
  EXPECT_EQ(exchange.LastResultCode(), 1);
  EXPECT_EQ(ReadInOtherProcess(request, "Q3dFile"), install.path() + "data\\test.q3d");
  EXPECT_EQ(ReadInOtherProcess(request, "ResultFile"), "<absent>");
}

}  // namespace
}  // namespace kx

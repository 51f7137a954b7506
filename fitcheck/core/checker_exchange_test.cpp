#include "fitcheck/core/checker_exchange.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_log.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;

class CheckerExchangeTest : public ::testing::Test {
 protected:
  test::MemoryProfileStore profiles;
  test::MemoryFileSystem files;
  test::MemoryLog log;
  CheckerExchange exchange{profiles, files, log.writer, "C:\\Temp\\", "C:\\App\\",
                           "C:\\Users\\u\\AppData\\Local\\Halvane\\3DKXZT3\\"};
  const std::string request = "C:\\Temp\\~Fitcheck\\KxEnvCheck.ini";
  const std::string result = "C:\\Temp\\~Fitcheck\\KxEnvResult.ini";
  const KxGLOption a{true, true, true, true, true, true, "testA.bmp"};
  const KxGLOption j{false, false, false, false, true, true, "testJ.bmp"};

  void AddData() {
    files.AddFile("C:\\App\\data\\testA.bmp");
    files.AddFile("C:\\App\\data\\testJ.bmp");
    files.AddFile("C:\\App\\data\\test.q3d");
  }
  std::string Value(const std::string& key) {
    const std::string* v = profiles.Find(request, "Fitcheck", key);
    return v ? *v : "<absent>";
  }
};

TEST_F(CheckerExchangeTest, FolderIsCreatedOnceOnFirstUse) {
  EXPECT_FALSE(exchange.FolderUsed());
  EXPECT_EQ(exchange.ExchangeFolder(), "C:\\Temp\\~Fitcheck\\");
  EXPECT_EQ(exchange.ExchangeFolder(), "C:\\Temp\\~Fitcheck\\");
  EXPECT_EQ(files.created, Strings{"C:\\Temp\\~Fitcheck\\"});
  EXPECT_TRUE(exchange.FolderUsed());
}

TEST_F(CheckerExchangeTest, RequestKeysInOrder) {
  AddData();
  ASSERT_TRUE(exchange.WriteRequest(a, request, result, 0x1234));
  EXPECT_EQ(profiles.write_order,
            (Strings{"Fitcheck/BmpFile", "Fitcheck/Q3dFile", "Fitcheck/ResultFile", "Fitcheck/DirectX",
                     "Fitcheck/AntiAlias", "Fitcheck/Shadow", "Fitcheck/Phong", "Fitcheck/NoOpenGLAcc",
                     "Fitcheck/hwnd", "Fitcheck/LogFile"}));
  EXPECT_EQ(Value("BmpFile"), "C:\\App\\data\\testA.bmp");
  EXPECT_EQ(Value("Q3dFile"), "C:\\App\\data\\test.q3d");
  EXPECT_EQ(Value("ResultFile"), result);
  EXPECT_EQ(Value("DirectX"), "1");
  EXPECT_EQ(Value("hwnd"), "4660");
  EXPECT_EQ(Value("LogFile"), "C:\\Users\\u\\AppData\\Local\\Halvane\\3DKXZT3\\env3dk_<DATE>.log");
  EXPECT_EQ(exchange.LastResultCode(), 0);
}

TEST_F(CheckerExchangeTest, EachFlagUnderItsOwnKey) {
  // Configurations whose neighbouring flags differ, so that a flag written
  // under another flag's key shows.
  struct Row {
    KxGLOption option;
    const char* directx;
    const char* anti_alias;
    const char* shadow;
    const char* phong;
    const char* no_opengl_acc;
  };
  const Row rows[] = {
      {{true, false, true, false, true, true, "testF.bmp"}, "1", "0", "1", "0", "1"},
      {{true, true, false, true, true, true, "testC.bmp"}, "1", "1", "0", "1", "1"},
      {{true, false, false, true, true, true, "testG.bmp"}, "1", "0", "0", "1", "1"},
      {{false, false, false, false, false, true, "testI.bmp"}, "0", "0", "0", "0", "0"},
  };
  for (const Row& row : rows) {
    files.AddFile("C:\\App\\data\\" + row.option.BmpFile);
    files.AddFile("C:\\App\\data\\test.q3d");
    ASSERT_TRUE(exchange.WriteRequest(row.option, request, result, 1)) << row.option.BmpFile;
    EXPECT_EQ(Value("DirectX"), row.directx) << row.option.BmpFile;
    EXPECT_EQ(Value("AntiAlias"), row.anti_alias) << row.option.BmpFile;
    EXPECT_EQ(Value("Shadow"), row.shadow) << row.option.BmpFile;
    EXPECT_EQ(Value("Phong"), row.phong) << row.option.BmpFile;
    EXPECT_EQ(Value("NoOpenGLAcc"), row.no_opengl_acc) << row.option.BmpFile;
    EXPECT_EQ(Value("BmpFile"), "C:\\App\\data\\" + row.option.BmpFile);
  }
}

TEST_F(CheckerExchangeTest, WindowWithTheTopBitIsWrittenNegative) {
  AddData();
  ASSERT_TRUE(exchange.WriteRequest(a, request, result, static_cast<std::int32_t>(0x80001234u)));
  EXPECT_EQ(Value("hwnd"), "-2147478988");
}

TEST_F(CheckerExchangeTest, ASecondRequestRewritesEveryKey) {
  AddData();
  ASSERT_TRUE(exchange.WriteRequest(a, request, result, 1));
  ASSERT_TRUE(exchange.WriteRequest(j, request, result, 2));
  for (const char* key : {"DirectX", "AntiAlias", "Shadow", "Phong"}) EXPECT_EQ(Value(key), "0") << key;
  EXPECT_EQ(Value("NoOpenGLAcc"), "1");
  EXPECT_EQ(Value("BmpFile"), "C:\\App\\data\\testJ.bmp");
  EXPECT_EQ(Value("hwnd"), "2");
  EXPECT_EQ(profiles.write_order.size(), 20u);
}

TEST_F(CheckerExchangeTest, MissingFilesStopAfterTheModelKey) {
  files.AddFile("C:\\App\\data\\test.q3d");  // the picture is missing
  EXPECT_FALSE(exchange.WriteRequest(a, request, result, 1));
  EXPECT_EQ(profiles.write_order, (Strings{"Fitcheck/BmpFile", "Fitcheck/Q3dFile"}));
  EXPECT_EQ(exchange.LastResultCode(), 1);

  test::MemoryProfileStore other_profiles;
  test::MemoryFileSystem other_files;
  other_files.AddFile("C:\\App\\data\\testA.bmp");  // the model is missing
  CheckerExchange other{other_profiles, other_files, log.writer, "C:\\Temp\\", "C:\\App\\", ""};
  EXPECT_FALSE(other.WriteRequest(a, request, result, 1));
  EXPECT_EQ(other.LastResultCode(), 1);
  EXPECT_EQ(other_profiles.write_order.size(), 2u);
}

TEST_F(CheckerExchangeTest, AKeyThatCannotBeWrittenFailsTheRequest) {
  AddData();
  profiles.failing_key = "Shadow";  // a locked or read-only request file fails every key alike
  EXPECT_FALSE(exchange.WriteRequest(a, request, result, 1));
  EXPECT_EQ(exchange.LastResultCode(), 0);  // not the missing files' code
  EXPECT_EQ(log.Messages(), Strings{"設定ファイルへの書き込み失敗 Key=Shadow"});
  profiles.failing_key.clear();
  EXPECT_TRUE(exchange.WriteRequest(a, request, result, 1));
}

TEST_F(CheckerExchangeTest, ResultCodes) {
  files.AddFile(result);
  profiles.Set(result, "Fitcheck", "ResultCode", "0");
  EXPECT_TRUE(exchange.ReadResult(result));
  EXPECT_EQ(exchange.LastResultCode(), 0);
  profiles.Set(result, "Fitcheck", "ResultCode", "5");
  EXPECT_FALSE(exchange.ReadResult(result));
  EXPECT_EQ(exchange.LastResultCode(), 5);
  profiles.files[result]["Fitcheck"].clear();
  EXPECT_FALSE(exchange.ReadResult(result));
  EXPECT_EQ(exchange.LastResultCode(), -1);
  profiles.Set(result, "Fitcheck", "ResultCode", "");  // a viewer cut off while writing
  EXPECT_FALSE(exchange.ReadResult(result));
  EXPECT_EQ(exchange.LastResultCode(), -1);
  // No file: fails and logs the previous code.
  files.files.clear();
  EXPECT_FALSE(exchange.ReadResult(result));
  EXPECT_EQ(exchange.LastResultCode(), -1);
  EXPECT_EQ(
      log.Messages(),
      (Strings{"３Ｄ表示モジュールからの結果コード:0", "３Ｄ表示モジュールからの結果コード:5",
               "３Ｄ表示モジュールからの結果コード:-1", "３Ｄ表示モジュールからの結果コード:-1",
               "３Ｄ表示モジュールからの結果コード:-1"}));
}

TEST_F(CheckerExchangeTest, NoFileBeforeAnyTestLogsZero) {
  EXPECT_FALSE(exchange.ReadResult(result));
  EXPECT_EQ(log.Messages(), Strings{"３Ｄ表示モジュールからの結果コード:0"});
}

}  // namespace
}  // namespace kx

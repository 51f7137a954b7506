#include "common/viewer_exchange.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_file_system.h"

namespace kx {
namespace {

// Notes the keys asked for, in order, and answers from a memory store.
class RecordingProfiles final : public ProfileStore {
 public:
  test::MemoryProfileStore store;
  std::vector<std::string> keys_read;

  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback,
                         std::size_t buffer_size) override {
    keys_read.push_back(key);
    return store.ReadString(file, section, key, fallback, buffer_size);
  }
  int ReadInt(const std::string& file, const std::string& section, const std::string& key,
              int fallback) override {
    keys_read.push_back(key);
    return store.ReadInt(file, section, key, fallback);
  }
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
    return store.WriteString(file, section, key, value);
  }
  std::string ReadSection(const std::string& file, const std::string& section,
                          std::size_t buffer_size) override {
    return store.ReadSection(file, section, buffer_size);
  }
};

class ViewerRequestTest : public ::testing::Test {
 protected:
  const std::string request_path = "C:\\Temp\\~Fitcheck\\KxEnvCheck.ini";
  const std::string bmp = "C:\\Program Files\\App\\data\\testA.bmp";
  const std::string q3d = "C:\\Program Files\\App\\data\\test.q3d";
  RecordingProfiles profiles;
  test::MemoryFileSystem files;
  ViewerRequest request;

  void Key(const std::string& key, const std::string& value) {
    profiles.store.Set(request_path, "Fitcheck", key, value);
  }
  void WriteFullRequest() {
    files.AddFile(request_path);
    files.AddFile(bmp);
    files.AddFile(q3d);
    Key("BmpFile", bmp);
    Key("Q3dFile", q3d);
    Key("ResultFile", "C:\\Temp\\~Fitcheck\\KxEnvResult.ini");
    Key("DirectX", "1");
    Key("AntiAlias", "0");
    Key("Shadow", "2");  // any non-zero value is true
    Key("Phong", "1");
    Key("NoOpenGLAcc", "0");
    Key("hwnd", "-2147220000");
    Key("LogFile", "C:\\Users\\a b\\AppData\\Local\\Halvane\\3DKXZT3\\env3dk_<DATE>.log");
  }
};

TEST_F(ViewerRequestTest, ReadsEveryKeyInTheWrittenOrder) {
  WriteFullRequest();
  ASSERT_EQ(ReadViewerRequest(profiles, files, request_path, request), RequestReading::kComplete);
  EXPECT_EQ(request.bmp_file, bmp);
  EXPECT_EQ(request.q3d_file, q3d);
  EXPECT_EQ(request.result_file, "C:\\Temp\\~Fitcheck\\KxEnvResult.ini");
  EXPECT_TRUE(request.direct_x);
  EXPECT_FALSE(request.anti_alias);
  EXPECT_TRUE(request.shadow);
  EXPECT_TRUE(request.phong);
  EXPECT_FALSE(request.no_opengl_acc);
  // A handle with its top bit set travels as a negative number.
  EXPECT_EQ(request.checker_window, -2147220000);
  EXPECT_EQ(request.log_file, "C:\\Users\\a b\\AppData\\Local\\Halvane\\3DKXZT3\\env3dk_<DATE>.log");
  EXPECT_EQ(profiles.keys_read,
            (std::vector<std::string>{"BmpFile", "Q3dFile", "ResultFile", "DirectX", "AntiAlias",
                                      "Shadow", "Phong", "NoOpenGLAcc", "hwnd", "LogFile"}));
}

TEST_F(ViewerRequestTest, NoRequestFileLeavesEverythingAsItWas) {
  WriteFullRequest();
  files.files.erase(request_path);
  request.log_file = "kept.log";
  request.checker_window = 77;
  EXPECT_EQ(ReadViewerRequest(profiles, files, request_path, request),
            RequestReading::kRequestMissing);
  EXPECT_TRUE(profiles.keys_read.empty());
  EXPECT_EQ(request.log_file, "kept.log");
  EXPECT_EQ(request.checker_window, 77);
  EXPECT_TRUE(request.bmp_file.empty());
  // No command-line argument at all.
  EXPECT_EQ(ReadViewerRequest(profiles, files, "", request), RequestReading::kRequestMissing);
}

TEST_F(ViewerRequestTest, MissingKeysKeepTheCurrentValues) {
  files.AddFile(request_path);
  files.AddFile(bmp);
  files.AddFile(q3d);
  Key("BmpFile", "");  // present but empty: does not replace
  Key("Q3dFile", q3d);
  request.bmp_file = bmp;
  request.result_file = "earlier.ini";
  request.direct_x = true;
  request.checker_window = 55;
  ASSERT_EQ(ReadViewerRequest(profiles, files, request_path, request), RequestReading::kComplete);
  EXPECT_EQ(request.bmp_file, bmp);
  EXPECT_EQ(request.result_file, "earlier.ini");
  EXPECT_TRUE(request.direct_x);         // flag default: the current value
  EXPECT_FALSE(request.anti_alias);
  EXPECT_TRUE(request.no_opengl_acc);    // the viewer's own initial value
  EXPECT_EQ(request.checker_window, 0);  // "hwnd" defaults to none, not to the current value
  EXPECT_TRUE(request.log_file.empty());
}

TEST_F(ViewerRequestTest, MissingPictureOrModelStillReadsTheLogFile) {
  WriteFullRequest();
  files.files.erase(bmp);
  EXPECT_EQ(ReadViewerRequest(profiles, files, request_path, request),
            RequestReading::kDataFileMissing);
  EXPECT_FALSE(request.log_file.empty());
  EXPECT_FALSE(request.result_file.empty());

  files.AddFile(bmp);
  files.files.erase(q3d);
  ViewerRequest second;
  EXPECT_EQ(ReadViewerRequest(profiles, files, request_path, second),
            RequestReading::kDataFileMissing);

  // A request that names no picture at all.
  files.AddFile(q3d);
  Key("BmpFile", "");
  ViewerRequest third;
  EXPECT_EQ(ReadViewerRequest(profiles, files, request_path, third),
            RequestReading::kDataFileMissing);
}

TEST_F(ViewerRequestTest, TextValuesAreCutTo1023Bytes) {
  WriteFullRequest();
  Key("LogFile", std::string(1500, 'x'));
  ASSERT_EQ(ReadViewerRequest(profiles, files, request_path, request), RequestReading::kComplete);
  EXPECT_EQ(request.log_file, std::string(1023, 'x'));
}

TEST(ViewerResultTest, WritesTheCodeAsSignedDecimal) {
  test::MemoryProfileStore profiles;
  const std::string path = "C:\\Temp\\~Fitcheck\\KxEnvResult.ini";
  EXPECT_TRUE(WriteViewerResult(profiles, path, 5));
  EXPECT_EQ(*profiles.Find(path, "Fitcheck", "ResultCode"), "5");
  EXPECT_TRUE(WriteViewerResult(profiles, path, -1));
  EXPECT_EQ(*profiles.Find(path, "Fitcheck", "ResultCode"), "-1");
  EXPECT_TRUE(WriteViewerResult(profiles, path, 0));
  EXPECT_EQ(*profiles.Find(path, "Fitcheck", "ResultCode"), "0");
}

TEST(ViewerResultTest, NoResultFileNamedWritesNothing) {
  test::MemoryProfileStore profiles;
  EXPECT_FALSE(WriteViewerResult(profiles, "", 0));
  EXPECT_TRUE(profiles.write_order.empty());
  profiles.fail_writes = true;
  EXPECT_FALSE(WriteViewerResult(profiles, "C:\\r.ini", 0));
}

}  // namespace
}  // namespace kx

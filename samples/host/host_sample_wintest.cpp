// The sample host application run as its users would run it unattended
// ("/auto"), its log checked against what Hostkit, the engine, the loopback
// HTTP server (whose port the test command gives in KX_HTTP_PORT) and the
// recording mail client answer or saw.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::test {
namespace {

std::string BinFolder() { return TestProgramFolder() + "..\\bin\\"; }

// "family.item = value" lines of the sample's log.
std::map<std::string, std::string> ReadLog(const std::string& path) {
  std::map<std::string, std::string> values;
  std::istringstream lines(TempFolder::ReadFile(path));
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find(" = ");
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 3);
  }
  return values;
}

// The server's address of `path`.
std::string Url(const std::string& path) {
  const char* port = std::getenv("KX_HTTP_PORT");
  return std::string("http://127.0.0.1:") + (port ? port : "0") + path;
}

class HostSampleWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("KX_HTTP_PORT"), nullptr) << "run through tests/http/loopback_server.py";
    SetEnvironmentVariableA("KX_MAPI_RECORD", mail_record_.c_str());
  }
  void TearDown() override { SetEnvironmentVariableA("KX_MAPI_RECORD", nullptr); }

  // Runs the sample unattended, with the recording mail client and a file
  // to download; its exit status is the number of failures.
  DWORD RunSample(const std::string& extra = "") {
    const ProcessResult run =
        RunProcess("\"" + BinFolder() + "HostSample.exe\" /auto \"" + log_ + "\" /mapi \"" +
                   BinFolder() + "mapi32_standard\" /url " + Url("/data/50000/parts.dat") + extra);
    values_ = ReadLog(log_);
    return run.exit_code;
  }

  TempFolder folder_{"host sample"};
  std::string log_ = folder_ / "host log.txt";
  std::string mail_record_ = folder_ / "mail.txt";
  std::map<std::string, std::string> values_;
};

TEST_F(HostSampleWinTest, EveryFamilyRunsWithoutFailure) {
  EXPECT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  EXPECT_EQ(values_["sample.failures"], "0");
  EXPECT_EQ(values_["engine.model.read"], "0");
}

TEST_F(HostSampleWinTest, CapabilitiesAreWhatHostkitAnswers) {
  ASSERT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  win::LoadedModule hostkit((BinFolder() + "Hostkit.dll").c_str());
  const auto get_gl_type = hostkit.Entry<decltype(EnvChk_GetGLType)>("EnvChk_GetGLType");
  const auto level = hostkit.Entry<decltype(GetAvailableMultiSampleLevel)>(
      "GetAvailableMultiSampleLevel");
  ASSERT_TRUE(get_gl_type && level);
  EXPECT_EQ(values_["caps.GetGLType"],
            std::to_string(get_gl_type((BinFolder() + "kx3d.dll").c_str())));
  EXPECT_EQ(values_["caps.GetAvailableMultiSampleLevel"], std::to_string(level(0, 0)));
  EXPECT_FALSE(values_["caps.GetGLSpec.chip"].empty());
}

TEST_F(HostSampleWinTest, TheMainWindowWearsTheFrameUntilItCloses) {
  ASSERT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  EXPECT_EQ(values_["frame.QNDFrameCreateEx"], "0x10000");  // the first slot
  EXPECT_EQ(values_["frame.QNDFrameDraw"], "0");
  EXPECT_EQ(values_["frame.hittest.caption"], std::to_string(HTCAPTION));
  EXPECT_EQ(values_["frame.QNDFrameDelete"], "0");
}

TEST_F(HostSampleWinTest, TheDownloadStoresWhatTheServerSent) {
  ASSERT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  EXPECT_EQ(values_["download.DownloadProgressDoModal"], "1");
  EXPECT_EQ(values_["download.automatic"], "1");
  const std::string file = values_["download.file"];
  ASSERT_EQ(file.substr(file.size() - 10), "\\parts.dat");
  const std::string body = TempFolder::ReadFile(file);
  ASSERT_EQ(body.size(), 50000u);
  for (size_t i : {size_t{0}, size_t{1}, size_t{1024}, size_t{49999}}) {
    EXPECT_EQ(static_cast<unsigned char>(body[i]), ((i * 31 + (i >> 10)) & 0xFF)) << i;
  }
  DeleteFileA(file.c_str());
}

TEST_F(HostSampleWinTest, TheModelIsMailedAsAnAttachment) {
  ASSERT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  EXPECT_EQ(values_["mail.SendQ3DMail"], "0");
  const std::string record = TempFolder::ReadFile(mail_record_);
  EXPECT_NE(record.find("call=MAPISendMail"), std::string::npos) << record;
  EXPECT_NE(record.find("SMTP:plans@example.invalid"), std::string::npos) << record;
  EXPECT_NE(record.find("間取りプランの送付"), std::string::npos) << record;
  EXPECT_NE(record.find("test.q3d"), std::string::npos) << record;
}

TEST_F(HostSampleWinTest, AMissingModelIsReportedAndNothingElseRuns) {
  EXPECT_NE(RunSample(" /model \"" + folder_ / "none.q3d" + "\""), 0u);
  EXPECT_EQ(values_["engine.model"].substr(0, 6), "FAILED");
  EXPECT_EQ(values_.count("caps.GetGLType"), 0u);
}

}  // namespace
}  // namespace kx::test

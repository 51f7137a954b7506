// The sample host application run as its users would run it unattended
// ("/auto"), its log checked against what Hostkit and the engine answer to
// this test directly.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

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

class HostSampleWinTest : public ::testing::Test {
 protected:
  // Runs the sample unattended; its exit status is the number of failures.
  DWORD RunSample(const std::string& extra = "") {
    const ProcessResult run = RunProcess("\"" + BinFolder() + "HostSample.exe\" /auto \"" + log_ +
                                         "\"" + extra);
    values_ = ReadLog(log_);
    return run.exit_code;
  }

  TempFolder folder_{"host sample"};
  std::string log_ = folder_ / "host log.txt";
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

TEST_F(HostSampleWinTest, AMissingModelIsReportedAndNothingElseRuns) {
  EXPECT_NE(RunSample(" /model \"" + folder_ / "none.q3d" + "\""), 0u);
  EXPECT_EQ(values_["engine.model"].substr(0, 6), "FAILED");
  EXPECT_EQ(values_.count("caps.GetGLType"), 0u);
}

}  // namespace
}  // namespace kx::test

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

#include "fitview/engine_api/kx3d_api.h"
#include "hostkit/include/hostkit.h"
#include "hostkit/parts/standin_engine_test_support.h"
#include "hostkit/parts/wall_records_test_support.h"
#include "hostkit/render/render_resource.h"
#include "hostkit/shell/search_resource.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/unique_resource.h"
#include "standins/kx3d/parts_model.h"
#include "standins/kx3d/q3d_model.h"
#include "tests/driver/dialog_driver.h"
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

  std::string CommandLine(const std::string& extra) const {
    return "\"" + BinFolder() + "HostSample.exe\" /auto \"" + log_ + "\" /mapi \"" + BinFolder() +
           "mapi32_standard\" /url " + Url("/data/50000/parts.dat") + extra;
  }

  // Runs the sample unattended, without the dialogs that wait for a user,
  // with the recording mail client and a file to download; its exit status
  // is the number of failures.
  DWORD RunSample(const std::string& extra = "") {
    const ProcessResult run = RunProcess(CommandLine(" /nodialogs" + extra));
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
  // The version it was built with is the one of the library it loaded.
  const std::string version = std::to_string(HOSTKIT_VERSION_MAJOR) + "." +
                              std::to_string(HOSTKIT_VERSION_MINOR) + "." +
                              std::to_string(HOSTKIT_VERSION_PATCH);
  EXPECT_EQ(values_["sample.sdk.version"], version);
  EXPECT_EQ(values_["sample.hostkit.version"], version);
}

TEST_F(HostSampleWinTest, CapabilitiesAreWhatHostkitAnswers) {
  ASSERT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  win::LoadedModule hostkit((BinFolder() + "Hostkit.dll").c_str());
  const auto get_gl_type = hostkit.Entry<decltype(EnvChk_GetGLType)>("EnvChk_GetGLType");
  const auto level =
      hostkit.Entry<decltype(GetAvailableMultiSampleLevel)>("GetAvailableMultiSampleLevel");
  ASSERT_TRUE(get_gl_type && level);
  EXPECT_EQ(values_["caps.GetGLType"],
            std::to_string(get_gl_type((BinFolder() + "kx3d.dll").c_str())));
  EXPECT_EQ(values_["caps.GetAvailableMultiSampleLevel"], std::to_string(level(0, 0)));
  EXPECT_FALSE(values_["caps.GetGLSpec.chip"].empty());
}

// The model the sample opened, opened here in the same engine and read
// through Hostkit as the sample reads it: the sample's log shows the same
// blocks in the same order, and the record text it wrote back came back.
TEST_F(HostSampleWinTest, ThePartsItLoggedAreTheEnginesParts) {
  ASSERT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  win::LoadedModule engine((BinFolder() + "kx3d.dll").c_str());
  const auto initialize = engine.Entry<decltype(Kxi_Initialize)>("Kxi_Initialize");
  const auto read_header = engine.Entry<decltype(Kxi_ReadModelHeader)>("Kxi_ReadModelHeader");
  const auto read_model = engine.Entry<decltype(Kxi_ReadModelFile)>("Kxi_ReadModelFile");
  const auto terminate = engine.Entry<decltype(Kxi_Terminate)>("Kxi_Terminate");
  ASSERT_TRUE(initialize && read_header && read_model && terminate);
  ASSERT_EQ(initialize(), 0);
  const std::string model = BinFolder() + "data\\test.q3d";
  int32_t version = 0, parts = 0, triangles = 0, handle = -1, count = 0;
  read_header(model.c_str(), &version, &parts, &triangles, &handle);
  char message[512] = {};
  ASSERT_EQ(read_model(-1, model.c_str(), message, handle, &count), 0);

  win::LoadedModule hostkit((BinFolder() + "Hostkit.dll").c_str());
  const auto collect =
      hostkit.Entry<decltype(CollectPartsAttributeBlocks)>("CollectPartsAttributeBlocks");
  const auto next =
      hostkit.Entry<decltype(GetNextPartsAttributeBlock)>("GetNextPartsAttributeBlock");
  const auto read = hostkit.Entry<decltype(GetPartsAttribute)>("GetPartsAttribute");
  const auto release =
      hostkit.Entry<decltype(ReleasePartsAttributBlock)>("ReleasePartsAttributBlock");
  ASSERT_TRUE(collect && next && read && release);
  int32_t blocks = 0;
  PartsAttributeBlock* head = collect(0, HOSTKIT_COLLECT_MERGE, &blocks, 0);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(values_["parts.collect.merged"], std::to_string(blocks));
  int index = 0;
  for (PartsAttributeBlock* block = head; block != nullptr; block = next(block), ++index) {
    BSTR text = nullptr;
    ASSERT_EQ(read(block, HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_TEXT, 1), &text), 1);
    // A byte string with its terminating NUL.
    EXPECT_EQ(values_["parts.block." + std::to_string(index) + ".name"],
              std::string(reinterpret_cast<const char*>(text)))
        << index;
    SysFreeString(text);
  }
  EXPECT_EQ(index, blocks);
  EXPECT_EQ(release(head), 1);
  terminate();

  EXPECT_EQ(values_["parts.block.1.name"], "ground");
  EXPECT_EQ(values_["parts.UpdatePartsAttributeBlock"], "1");
  EXPECT_EQ(values_["parts.readback.record5"], "サンプルの壁");
}

TEST_F(HostSampleWinTest, ExtendedInformationAndTheBackImageComeBackAsStored) {
  ASSERT_EQ(RunSample(), 0u) << TempFolder::ReadFile(log_);
  EXPECT_EQ(values_["extend.SetExtendPartsInfo"], "1");
  EXPECT_EQ(values_["extend.string2"], "サンプル工房");
  EXPECT_EQ(values_["extend.GetExtendBackImage"], "1");
  EXPECT_EQ(values_["extend.backimage.name"], "plan.bmp");
  EXPECT_EQ(values_["extend.backimage.bytes"], "70 of 70");
  EXPECT_EQ(values_["extend.ClearExtendBackImage"], "1");
  // test.q3d has no walls: only the shapes step changes the option word.
  EXPECT_EQ(values_["extend.walls.m0s0"], "0x00000000");
  EXPECT_EQ(values_["extend.shapes.m0s0"], "0x01000000");
}

// A room turned a quarter turn about Z, seen along +X: its first wall's
// normal (0, 1, 0) then points at the viewer, the second's away; the third
// shape is no wall. The window (part 2, link id 77) is named by the first
// wall. The sample's display bits land on exactly those shapes.
TEST_F(HostSampleWinTest, DisplayBitsFollowTheWallsFacingTheView) {
  using namespace hostkit::test_support;
  kx3d::PartsModel parts;
  kx3d::ShapeModel room, window;
  room.shapes = {MakeShape(0x00345678, KindRecord(20), FaceRecord(0, 1, 0, 0, {77})),
                 MakeShape(0x7F000001, KindRecord(20), FaceRecord(0, -1, 0, 0, {77})),
                 MakeShape(0x55000002, KindRecord(5), FaceRecord(0, 1, 0, 5))};
  window.shapes = {MakeShape(0x00000010, "", "")};
  parts.models = {room, window};
  kx3d::Placement turned;
  turned.rotation[2] = 1.57079632679f;
  parts.AddPart(0, 0, turned);
  parts.AddPart(0, 1);
  ASSERT_TRUE(parts.SetPartsBlock(2, 302, Int32Bytes(77)));
  kx3d::StoredView view;
  view.direction[0] = 1;
  parts.views.push_back(view);
  const std::string model = folder_ / "room.q3d";
  TempFolder::WriteFile(model, FloorGeometry() + parts.Encode());

  ASSERT_EQ(RunSample(" /model \"" + model + "\""), 0u) << TempFolder::ReadFile(log_);
  EXPECT_EQ(values_["extend.walls.m0s0"], "0x08345678");   // faces the viewer
  EXPECT_EQ(values_["extend.walls.m0s1"], "0x77000001");   // faces away: the bit cleared
  EXPECT_EQ(values_["extend.walls.m0s2"], "0x55000002");   // no wall
  EXPECT_EQ(values_["extend.walls.m1s0"], "0x08000010");   // linked from the facing wall
  EXPECT_EQ(values_["extend.shapes.m0s0"], "0x09345678");  // part 1's shapes
  EXPECT_EQ(values_["extend.shapes.m1s0"], "0x08000010");  // part 2 is not below part 1
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

// The folder KX_HOST_SHOTS names, or empty: scripts/demo host keeps the
// pictures of the walk and the sample's log there.
std::string ShotFolder() {
  char folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("KX_HOST_SHOTS", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(folder) + "\\" : std::string();
}

// A picture of the dialog, or of the whole screen (the sample's framed main
// window with its log behind the dialog) when `whole_screen`.
void ShotIfAsked(const DialogDriver& dialog, const std::string& name, bool whole_screen = false) {
  if (ShotFolder().empty()) return;
  Sleep(300);  // let it finish painting
  (void)SaveScreenshot(ShotFolder() + name + ".bmp", whole_screen ? nullptr : dialog.window());
}

// The whole sample as a user meets it: the rendering settings and the parts
// search asked for on the way, answered here as a user would.
TEST_F(HostSampleWinTest, TheDialogsAskTheUserAndTheirAnswersReachTheHost) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string line = CommandLine("");
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info));
  win::UniqueHandle process(info.hProcess), thread(info.hThread);

  DialogDriver render;
  ASSERT_TRUE(render.WaitFor("レンダリング設定", IDC_RENDER_START, 60000));
  ShotIfAsked(render, "0-host-window", true);
  ASSERT_TRUE(render.Click(IDC_RENDER_ROOF_HALF));
  ShotIfAsked(render, "1-render-settings");
  ASSERT_TRUE(render.Click(IDC_RENDER_START));
  ASSERT_TRUE(render.WaitUntilGone(15000));

  DialogDriver words;
  ASSERT_TRUE(words.WaitFor("部品検索", IDC_SEARCH_WORDS, 15000));
  ASSERT_TRUE(words.TypeText(IDC_SEARCH_WORDS, "test"));
  ShotIfAsked(words, "2-search-words");
  ASSERT_TRUE(words.Click(IDOK));

  // The search runs by itself and ends its progress dialog.
  ASSERT_EQ(WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
  DWORD failures = 0xFFFFFFFF;
  GetExitCodeProcess(process.get(), &failures);
  values_ = ReadLog(log_);
  EXPECT_EQ(failures, 0u) << TempFolder::ReadFile(log_);
  if (!ShotFolder().empty()) CopyFileA(log_.c_str(), (ShotFolder() + "host.log").c_str(), FALSE);

  EXPECT_EQ(values_["render.RenderDialogDoModal"], "1");
  EXPECT_EQ(values_["render.roof"], std::to_string(HOSTKIT_ROOF_SEMI_TRANSPARENT));
  EXPECT_FALSE(values_["render.Settings.Width"].empty());
  EXPECT_EQ(values_["search.SearchWordDoModal"], "1");
  EXPECT_EQ(values_["search.words"], "test");
  EXPECT_EQ(values_["search.SearchProgressDoModal"], "1");
  // test.q3d and the ten sample pictures testA.bmp ... testJ.bmp.
  EXPECT_EQ(values_["search.hits"], "11");
  EXPECT_EQ(values_["style.GetStyleFileName"], "0");
  EXPECT_EQ(values_["style.file"].substr(values_["style.file"].size() - 10), "nordic.sty");
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\HostkitSample");
}

TEST_F(HostSampleWinTest, AMissingModelIsReportedAndNothingElseRuns) {
  EXPECT_NE(RunSample(" /model \"" + folder_ / "none.q3d" + "\""), 0u);
  EXPECT_EQ(values_["engine.model"].substr(0, 6), "FAILED");
  EXPECT_EQ(values_.count("caps.GetGLType"), 0u);
}

}  // namespace
}  // namespace kx::test

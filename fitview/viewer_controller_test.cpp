#include "fitview/viewer_controller.h"

#include <gtest/gtest.h>

#include "fitview/kx_engine_fake.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_log.h"

namespace kx {
namespace {

using Lines = std::vector<std::string>;

constexpr WindowId kViewControl = 0x1004;
constexpr WindowId kChecker = 0x50a2;

// A small picture with edges and shades; `flipped` turns it upside down.
RgbPicture Scene(bool flipped = false) {
  RgbPicture p(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const int row = flipped ? 63 - y : y;
      std::uint8_t* px = p.At(x, y);
      px[0] = static_cast<std::uint8_t>(row < 30 ? 170 : 60 + x);
      px[1] = static_cast<std::uint8_t>(row < 30 ? 200 : 120);
      px[2] = static_cast<std::uint8_t>((x / 8 + row / 8) % 2 ? 230 : 40);
    }
  }
  return p;
}

class RecordingWindow final : public ViewerWindow {
 public:
  Lines events;
  ViewerGeometry geometry;
  WindowId measured_for = -1;
  bool picture_loads = true;

  void ShowStartupNotice() override { events.push_back("notice shown"); }
  void RemoveStartupNotice() override { events.push_back("notice removed"); }
  void SetIconsAndTitle(const std::string& title) override { events.push_back("title " + title); }
  WindowId ViewControl() override { return kViewControl; }
  ViewerGeometry Measure(WindowId checker) override {
    measured_for = checker;
    return geometry;
  }
  void ApplyLayout(const WindowPlace& p) override {
    events.push_back(Format("layout %d,%d %dx%d", p.x, p.y, p.width, p.height));
  }
  bool ShowSamplePicture(const std::string& path) override {
    events.push_back("picture " + path);
    return picture_loads;
  }
  void FreeSamplePicture() override { events.push_back("picture freed"); }
  void EndDialog(int result) override { events.push_back(Format("end %d", result)); }
  void PostReady() override { events.push_back("post ready"); }
  void PostNotify(WindowId to, int kind, std::int32_t detail) override {
    events.push_back(Format("notify %lx %d %d", static_cast<long>(to), kind, detail));
  }
  void SendClosing(WindowId to) override {
    events.push_back(Format("closing %lx", static_cast<long>(to)));
  }
  void PaintIcon() override { events.push_back("paint icon"); }
  void PaintDialog() override { events.push_back("paint dialog"); }
  void InvalidateLabels() override { events.push_back("labels invalidated"); }
  void PaintSample() override { events.push_back("paint sample"); }
  void FinishPainting() override { events.push_back("finish painting"); }
  RgbPicture ReadView() override { return view; }
  RgbPicture ReadSample() override { return sample; }
  void StartDrawBound(unsigned ms) override { events.push_back(Format("draw bound %u", ms)); }
  void StopDrawBound() override { events.push_back("draw bound stopped"); }

  RgbPicture view = Scene();
  RgbPicture sample = Scene();
};

class ViewerControllerTest : public ::testing::Test {
 protected:
  const std::string request = "C:\\Users\\a b\\AppData\\Local\\Temp\\~Fitcheck\\KxEnvCheck.ini";
  const std::string result = "C:\\Users\\a b\\AppData\\Local\\Temp\\~Fitcheck\\KxEnvResult.ini";
  const std::string bmp = "C:\\Program Files\\App\\data\\testI.bmp";
  const std::string q3d = "C:\\Program Files\\App\\data\\test.q3d";
  const std::string log_path = "C:\\Logs\\env3dk_<DATE>.log";

  test::RecordingEngine engine;
  test::FakeKxHost host;
  test::MemoryProfileStore profiles;
  test::MemoryFileSystem files;
  test::FakeLogClock clock;
  test::MemoryLogStorage log_storage;
  LogWriter log{clock, log_storage};
  KxIf session{engine, host, files, log};
  RecordingWindow window;
  ViewerController viewer{window, session, profiles, files, log, "動作チェック画面"};

  ViewerControllerTest() {
    clock.now = LocalTime{2026, 12, 7, 9, 5, 7, 42};
    host.windows[kViewControl] = {320, 320};
    window.geometry.work_area = {0, 0, 1280, 1024};
    window.geometry.outer = {0, 0, 500, 300};
    window.geometry.client_width = 492;
    window.geometry.client_height = 270;
    window.geometry.checker = ScreenRect{300, 0, 980, 500};
    files.AddFile(request);
    files.AddFile(bmp);
    files.AddFile(q3d);
    Key("BmpFile", bmp);
    Key("Q3dFile", q3d);
    Key("ResultFile", result);
    Key("DirectX", "0");
    Key("AntiAlias", "0");
    Key("Shadow", "0");
    Key("Phong", "0");
    Key("NoOpenGLAcc", "1");
    Key("hwnd", Format("%ld", static_cast<long>(kChecker)));
    Key("LogFile", log_path);
    viewer.SetRequestPath(request);
  }

  void Key(const std::string& key, const std::string& value) {
    profiles.Set(request, "Fitcheck", key, value);
  }
  // Lines of the log file, without their time stamps.
  Lines Logged() const {
    Lines lines;
    auto it = log_storage.files.find("C:\\Logs\\env3dk_20261207.log");
    if (it == log_storage.files.end()) return lines;
    const std::string& bytes = it->second;
    for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      lines.push_back(bytes.substr(start + 14, end - start - 14));
    }
    return lines;
  }
  std::string ResultValue(const char* key) const {
    const std::string* value = profiles.Find(result, "Fitcheck", key);
    return value ? *value : "absent";
  }
  std::string ResultCode() const { return ResultValue("ResultCode"); }
  Lines TakeEvents() { return std::exchange(window.events, {}); }
};

TEST_F(ViewerControllerTest, NormalRunFromStartToClose) {
  viewer.Start();
  EXPECT_EQ(TakeEvents(), (Lines{"notice shown", "title 動作チェック画面",
                                 "layout 315,587 650x350",  // below the checker
                                 "picture " + bmp}));
  EXPECT_EQ(window.measured_for, kChecker);
  EXPECT_EQ(ResultCode(), "absent");  // nothing reported before the view is shown

  viewer.OnShown();
  EXPECT_EQ(TakeEvents(), (Lines{"draw bound 90000"}));
  viewer.OnPaint(false);
  EXPECT_EQ(TakeEvents(), (Lines{"paint dialog", "paint sample", "notice removed",
                                 "labels invalidated", "post ready"}));
  viewer.OnReady();
  EXPECT_EQ(TakeEvents(), (Lines{"finish painting", "draw bound stopped", "notify 50a2 2 0",
                                 "notify 50a2 5 0"}));
  EXPECT_EQ(ResultCode(), "0");
  EXPECT_EQ(ResultValue("Likeness"), "0");
  EXPECT_EQ(ResultValue("LikenessVerdict"), "0");

  viewer.OnPaint(false);  // the notice goes only once, ready is reported once
  EXPECT_EQ(TakeEvents(), (Lines{"paint dialog", "paint sample", "labels invalidated"}));

  viewer.OnCloseRequest(kChecker);
  EXPECT_EQ(TakeEvents(), (Lines{"closing 50a2", "end 1"}));
  viewer.OnDestroy();
  EXPECT_EQ(TakeEvents(), (Lines{"picture freed"}));
  EXPECT_EQ(ResultCode(), "0");

  EXPECT_EQ(Logged(), (Lines{"-----------------------------------",
                             "設定ファイルのロード終了",
                             "KxIf::Initialize 開始",
                             "KxIf::InitializeEnv 終了",
                             "KxIf::InitializeDraw 開始",
                             "LibType=1 NoOGAcc=1 ForceRGB=0 ShMapLv=0 Shading=0 AALevel=0",
                             "KxIf::InitializeGraphics 開始",
                             "Kxi_InitDrawEx Option=2 LibType=1",
                             "Kxi_InitDrawEx 初期化終了",
                             "KxIf::InitializeGraphics 終了",
                             "KxIf::InitializeDraw 終了",
                             "KxIf::Initialize 終了",
                             "VLSDK初期化終了",
                             "サンプルビットマップのロード終了",
                             "KxIf::OpenQ3dFile 開始",
                             "ヘッダ取得 終了",
                             "KxIf::InitializeEnv 終了",
                             "KxIf::InitializeDraw 開始",
                             "LibType=1 NoOGAcc=1 ForceRGB=0 ShMapLv=0 Shading=0 AALevel=0",
                             "KxIf::InitializeGraphics 開始",
                             "Kxi_InitDrawEx Option=2 LibType=1",
                             "Kxi_InitDrawEx 初期化終了",
                             "KxIf::InitializeGraphics 終了",
                             "KxIf::InitializeDraw 終了",
                             "描画初期化 終了",
                             "ファイル読込 終了 ret=1",
                             "クリッピング領域の初期化 終了",
                             "KxIf::OpenQ3dFile 終了",
                             "q3dファイルのロード終了",
                             "ファイル読込み終了",
                             "初期処理終了",
                             "結果ファイルに処理結果を保存終了 Code=0",
                             "３Ｄ表示の自動判定 Likeness=0 LikenessVerdict=0 (alike)",
                             "VLSDK : Terminateの終了",
                             "結果ファイルに処理結果を保存終了 Code=0"}));
  // The engine drew into the view control, was redrawn on paint and ended.
  EXPECT_EQ(engine.calls.at(8), "1241(4100,3,0x2,null,1)");
  EXPECT_EQ(std::count(engine.calls.begin(), engine.calls.end(), "1202(3)"), 2);
  EXPECT_EQ(Lines(engine.calls.end() - 2, engine.calls.end()), (Lines{"4()", "1203()"}));
}

TEST_F(ViewerControllerTest, NoRequestFile) {
  files.files.erase(request);
  viewer.Start();
  EXPECT_EQ(TakeEvents(), (Lines{"notice shown", "title 動作チェック画面", "notice removed", "end 2"}));
  EXPECT_EQ(viewer.ResultCode(), 3);
  viewer.OnShown();
  viewer.OnDestroy();
  EXPECT_EQ(TakeEvents(), (Lines{"picture freed"}));
  // Neither a log nor a result file is named: nothing is written anywhere.
  EXPECT_TRUE(log_storage.files.empty());
  EXPECT_TRUE(profiles.write_order.empty());
  // The engine is still ended.
  EXPECT_EQ(engine.calls, (Lines{"4()", "1203()"}));
}

TEST_F(ViewerControllerTest, MissingPictureEndsWithCode3) {
  files.files.erase(bmp);
  viewer.Start();
  EXPECT_EQ(TakeEvents(), (Lines{"notice shown", "title 動作チェック画面", "notice removed", "end 2"}));
  EXPECT_EQ(ResultCode(), "3");
  viewer.OnShown();  // never ready
  viewer.OnDestroy();
  EXPECT_EQ(TakeEvents(), (Lines{"picture freed"}));
  EXPECT_EQ(ResultCode(), "3");
  EXPECT_EQ(Logged(), (Lines{"-----------------------------------",
                             "結果ファイルに処理結果を保存終了 Code=3",
                             "起動中のエラー終了。 結果コード: 3",
                             "VLSDK : Terminateの終了",
                             "結果ファイルに処理結果を保存終了 Code=3"}));
  // The engine was never started, only ended.
  EXPECT_EQ(engine.calls, (Lines{"4()", "1203()"}));
}

TEST_F(ViewerControllerTest, EngineStartFailureEndsWithCode4) {
  engine.init_draw_result = kEngineSetupFailed;
  viewer.Start();
  EXPECT_EQ(TakeEvents(), (Lines{"notice shown", "title 動作チェック画面",
                                 "layout 315,587 650x350", "notice removed", "end 2"}));
  EXPECT_EQ(ResultCode(), "4");
  const Lines lines = Logged();
  EXPECT_EQ(Lines(lines.end() - 5, lines.end()),
            (Lines{"Kxi_InitDrawEx 初期化エラー", "KxIf::InitializeGraphics 終了",
                   "KxIf::InitializeDraw 終了", "結果ファイルに処理結果を保存終了 Code=4",
                   "起動中のエラー終了。 結果コード: 4"}));
  viewer.OnDestroy();
  EXPECT_EQ(Logged().back(), "結果ファイルに処理結果を保存終了 Code=4");
}

TEST_F(ViewerControllerTest, ErrorEndLineFollowsTheResult) {
  engine.initialize_result = 1;
  viewer.Start();
  const Lines lines = Logged();
  EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
            (Lines{"Kxi_Initializeエラー", "結果ファイルに処理結果を保存終了 Code=4",
                   "起動中のエラー終了。 結果コード: 4"}));
}

TEST_F(ViewerControllerTest, ModelHeaderFailureEndsWithCode5) {
  engine.header_handle = -1;
  viewer.Start();
  EXPECT_EQ(ResultCode(), "5");
  const Lines lines = Logged();
  EXPECT_EQ(Lines(lines.end() - 6, lines.end()),
            (Lines{"VLSDK初期化終了", "サンプルビットマップのロード終了", "KxIf::OpenQ3dFile 開始",
                   "q3dファイルのロード終了", "結果ファイルに処理結果を保存終了 Code=5",
                   "起動中のエラー終了。 結果コード: 5"}));
  viewer.OnShown();
  EXPECT_EQ(TakeEvents().back(), "end 2");  // no ready message
}

TEST_F(ViewerControllerTest, ClosedByTheUserAfterReadyKeepsCode0) {
  viewer.Start();
  viewer.OnShown();
  viewer.OnReady();
  viewer.OnShown();  // shown again: reported once only
  TakeEvents();
  viewer.OnDestroy();
  EXPECT_EQ(ResultCode(), "0");
  EXPECT_EQ(TakeEvents(), (Lines{"picture freed"}));
}

TEST_F(ViewerControllerTest, CloseRequestWithoutAWindowToTell) {
  viewer.Start();
  TakeEvents();
  viewer.OnCloseRequest(0);
  EXPECT_EQ(TakeEvents(), (Lines{"end 1"}));
}

TEST_F(ViewerControllerTest, NoCheckerWindowNamed) {
  Key("hwnd", "0");
  window.geometry.checker.reset();  // what the window reports for none
  viewer.Start();
  EXPECT_EQ(window.measured_for, 0);
  EXPECT_EQ(TakeEvents().at(2), "layout 315,337 650x350");  // centred in the work area
  viewer.OnShown();
  viewer.OnPaint(false);
  viewer.OnReady();
  // Ready and the likeness are still written, but there is no one to post to.
  for (const std::string& event : TakeEvents()) EXPECT_NE(event.rfind("notify", 0), 0u) << event;
  EXPECT_EQ(ResultCode(), "0");
  EXPECT_EQ(ResultValue("LikenessVerdict"), "0");
}

TEST_F(ViewerControllerTest, ReadyComesAfterTheEnginesFirstFrame) {
  viewer.Start();
  viewer.OnShown();
  TakeEvents();
  engine.calls.clear();
  EXPECT_EQ(ResultCode(), "absent");  // not before the first paint
  viewer.OnPaint(false);
  const Lines events = TakeEvents();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), "post ready");
  // The sample was painted before the engine drew its frame.
  EXPECT_EQ(events.at(1), "paint sample");
  EXPECT_EQ(engine.calls, (Lines{"1202(3)"}));
}

TEST_F(ViewerControllerTest, ViewUnlikeTheSampleIsReportedUnlike) {
  window.view = Scene(true);
  viewer.Start();
  viewer.OnShown();
  viewer.OnPaint(false);
  TakeEvents();
  viewer.OnReady();
  EXPECT_EQ(TakeEvents().back(), "notify 50a2 5 2");
  EXPECT_EQ(ResultValue("LikenessVerdict"), "2");
  EXPECT_NE(ResultValue("Likeness"), "0");
  EXPECT_EQ(ResultCode(), "0");  // the result code keeps its meaning
}

TEST_F(ViewerControllerTest, ViewNeverDrawnIsUnlikeAfterTheBound) {
  viewer.Start();
  viewer.OnShown();
  TakeEvents();
  viewer.OnDrawBound();
  EXPECT_EQ(TakeEvents(), (Lines{"draw bound stopped", "draw bound stopped", "post ready"}));
  EXPECT_EQ(ResultValue("Likeness"), "1");
  EXPECT_EQ(ResultValue("LikenessVerdict"), "2");
  EXPECT_EQ(Logged().back(), "３Ｄ表示の自動判定 Likeness=1 LikenessVerdict=2 (not drawn)");
  // A frame that comes late neither reports ready again nor measures again.
  viewer.OnPaint(false);
  EXPECT_EQ(TakeEvents().back(), "labels invalidated");
  viewer.OnReady();
  EXPECT_EQ(TakeEvents(), (Lines{"finish painting", "notify 50a2 2 0", "notify 50a2 5 2"}));
  EXPECT_EQ(ResultValue("LikenessVerdict"), "2");
}

TEST_F(ViewerControllerTest, NoResultFileNamed) {
  Key("ResultFile", "");
  viewer.Start();
  viewer.OnShown();
  viewer.OnReady();
  viewer.OnDestroy();
  EXPECT_TRUE(profiles.write_order.empty());
  for (const std::string& line : Logged()) EXPECT_EQ(line.find("結果ファイル"), std::string::npos);
}

TEST_F(ViewerControllerTest, PaintingAndSizing) {
  viewer.Start();
  TakeEvents();
  engine.calls.clear();
  viewer.OnPaint(true);
  EXPECT_EQ(TakeEvents(), (Lines{"paint icon"}));
  EXPECT_TRUE(engine.calls.empty());
  host.windows[kViewControl] = {300, 200};
  viewer.OnSize();
  EXPECT_EQ(engine.calls, (Lines{"1818(100,100,100,100,100,100,300,200)"}));
}

TEST_F(ViewerControllerTest, ConfigurationComesFromTheRequest) {
  Key("DirectX", "1");
  Key("Shadow", "1");
  Key("Phong", "1");
  viewer.Start();
  EXPECT_EQ(engine.calls.at(8), "1241(4100,3,0x203020,null,3)");
}

}  // namespace
}  // namespace kx

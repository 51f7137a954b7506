#include "fitview/kx_if.h"

#include <gtest/gtest.h>

#include "fitview/kx_engine_fake.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_log.h"

namespace kx {
namespace {

using Lines = std::vector<std::string>;

constexpr WindowId kView = 1004;

class KxIfTest : public ::testing::Test {
 protected:
  test::RecordingEngine engine;
  test::FakeKxHost host;
  test::MemoryFileSystem files;
  test::MemoryLog log;
  KxIf session{engine, host, files, log.writer};

  KxIfTest() { host.windows[kView] = {320, 320}; }

  // Engine calls and log lines of one step, without those of earlier steps.
  Lines TakeCalls() { return std::exchange(engine.calls, {}); }
  Lines TakeLog() {
    Lines all = log.Messages();
    Lines fresh(all.begin() + static_cast<std::ptrdiff_t>(logged_), all.end());
    logged_ = all.size();
    return fresh;
  }

 private:
  std::size_t logged_ = 0;
};

TEST_F(KxIfTest, InitializeCallsTheEngineInOrder) {
  session.Configure({/*direct_x=*/true, /*anti_alias=*/true, false, false, true});
  ASSERT_TRUE(session.Initialize(kView));
  EXPECT_EQ(TakeCalls(), (Lines{"3()",
                                "2907(5,1)", "2907(4,1)",
                                "1257(0x10000,1)", "1257(0x10001,1)", "1257(0x10002,120)",
                                "1218(0)", "2907(12,0)",
                                "1241(1004,3,0x30120,null,2)", "4011()",
                                "1817(0)", "1713()",
                                "1818(100,100,100,100,100,100,320,320)"}));
  EXPECT_EQ(TakeLog(), (Lines{"KxIf::Initialize 開始",
                              "KxIf::InitializeEnv 終了",
                              "KxIf::InitializeDraw 開始",
                              "LibType=2 NoOGAcc=1 ForceRGB=0 ShMapLv=0 Shading=0 AALevel=1",
                              "KxIf::InitializeGraphics 開始",
                              "Kxi_InitDrawEx Option=196896 LibType=2",
                              "Kxi_InitDrawEx 初期化終了",
                              "KxIf::InitializeGraphics 終了",
                              "KxIf::InitializeDraw 終了",
                              "KxIf::Initialize 終了"}));
  EXPECT_TRUE(session.DrawingReady());
}

TEST_F(KxIfTest, OptionWordsAndLibraryCodes) {
  struct Case {
    KxConfiguration configuration;
    const char* set_up;
  };
  const Case cases[] = {
      // OpenGL: shadow, Phong and anti-aliasing do not apply.
      {{false, true, true, true, true}, "1241(1004,3,0x2,null,1)"},
      {{false, false, false, false, false}, "1241(1004,3,0x0,null,1)"},
      {{true, true, false, false, true}, "1241(1004,3,0x30120,null,2)"},
      {{true, false, true, true, true}, "1241(1004,3,0x203020,null,3)"},
      {{true, false, false, false, false}, "1241(1004,3,0x20,null,2)"},
      {{true, true, true, false, true}, "1241(1004,3,0x33120,null,3)"},
      {{true, false, false, true, true}, "1241(1004,3,0x200020,null,3)"},
  };
  for (const Case& c : cases) {
    test::RecordingEngine fresh_engine;
    KxIf fresh{fresh_engine, host, files, log.writer};
    fresh.Configure(c.configuration);
    ASSERT_TRUE(fresh.Initialize(kView));
    std::string set_up = "no set-up";
    for (const std::string& call : fresh_engine.calls) {
      if (call.rfind("1241(", 0) == 0) set_up = call;
    }
    EXPECT_EQ(set_up, c.set_up);
  }
}

TEST_F(KxIfTest, PhongReachesTheEngineEnvironmentToo) {
  session.Configure({true, false, false, true, true});
  ASSERT_TRUE(session.Initialize(kView));
  const Lines calls = TakeCalls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "2907(12,1)"), calls.end());
}

TEST_F(KxIfTest, BuiltInFieldsAskForEveryEffect) {
  // Without a configuration: DirectX with shader effects, anti-aliasing
  // level 1, shadow-map level 3 and Phong shading.
  ASSERT_TRUE(session.Initialize(kView));
  EXPECT_EQ(TakeLog().at(3), "LibType=3 NoOGAcc=1 ForceRGB=0 ShMapLv=3 Shading=1 AALevel=1");
  EXPECT_EQ(session.DrawOptions().option, 0x233120);
  EXPECT_EQ(session.DrawOptions().library_code, 3);
}

TEST_F(KxIfTest, EngineStartFailureStopsAtOnce) {
  engine.initialize_result = -5;
  EXPECT_FALSE(session.Initialize(kView));
  EXPECT_EQ(TakeCalls(), (Lines{"3()"}));
  EXPECT_EQ(TakeLog(), (Lines{"KxIf::Initialize 開始", "Kxi_Initializeエラー"}));
  // Not ready: redraw and fit do nothing, terminate still ends the engine.
  session.Redraw();
  session.FitViewToWindow();
  EXPECT_TRUE(TakeCalls().empty());
  session.Terminate();
  EXPECT_EQ(TakeCalls(), (Lines{"4()", "1203()"}));
  EXPECT_EQ(TakeLog(), (Lines{"VLSDK : Terminateの終了"}));
}

TEST_F(KxIfTest, DrawingSetUpFailures) {
  engine.init_draw_result = kEngineSetupFailed;
  EXPECT_FALSE(session.Initialize(kView));
  const Lines calls = TakeCalls();
  // No confirmation after a failed set-up, but the two drawing steps still
  // follow, and nothing is fitted.
  EXPECT_EQ(Lines(calls.end() - 3, calls.end()),
            (Lines{"1241(1004,3,0x233120,null,3)", "1817(0)", "1713()"}));
  const Lines lines = TakeLog();
  EXPECT_EQ(Lines(lines.end() - 3, lines.end()),
            (Lines{"Kxi_InitDrawEx 初期化エラー", "KxIf::InitializeGraphics 終了",
                   "KxIf::InitializeDraw 終了"}));
  EXPECT_FALSE(session.DrawingReady());

  // Any other result of the set-up is success; a confirmation of -1200 is not.
  engine.init_draw_result = -1;
  engine.confirm_result = kEngineSetupFailed;
  EXPECT_FALSE(session.Initialize(kView));
  EXPECT_EQ(TakeLog().at(6), "Kxi_InitDrawEx 初期化エラー");
  engine.confirm_result = 1;
  EXPECT_TRUE(session.Initialize(kView));
}

TEST_F(KxIfTest, OpenQ3dFileSetsUpDrawingAgain) {
  session.Configure({true, true, false, false, true});
  ASSERT_TRUE(session.Initialize(kView));
  TakeCalls();
  TakeLog();
  const std::string model = " C:\\Program Files\\App\\data\\..\\data\\test.q3d";
  host.canonical[model] = " C:\\Program Files\\App\\data\\test.q3d ";
  ASSERT_TRUE(session.OpenQ3dFile(model));
  EXPECT_EQ(TakeCalls(),
            (Lines{"3()",
                   "2303(0,0,C:\\Program Files\\App\\data\\)",
                   "2303(0,0,C:\\Users\\a b\\AppData\\Local\\Temp\\~Fitcheck)",
                   "4100(" + model + ")",
                   "2907(5,1)", "2907(4,1)",
                   "1257(0x10000,1)", "1257(0x10001,1)", "1257(0x10002,120)",
                   "1525(0,0)", "1915()",
                   "1218(0)", "2907(12,0)",
                   "1203()",  // the first set-up ends before the second begins
                   "1241(1004,3,0x30120,null,2)", "4011()",
                   "1817(0)", "1713()",
                   "1525(0,1)",
                   "2301(-1," + model + ",7)",
                   "2306(0,0)", "2306(0,0)",
                   "1818(100,100,100,100,100,100,320,320)",
                   "1817(0)"}));
  EXPECT_EQ(TakeLog(), (Lines{"KxIf::OpenQ3dFile 開始",
                              "ヘッダ取得 終了",
                              "KxIf::InitializeEnv 終了",
                              "KxIf::InitializeDraw 開始",
                              "LibType=2 NoOGAcc=1 ForceRGB=0 ShMapLv=0 Shading=0 AALevel=1",
                              "KxIf::InitializeGraphics 開始",
                              "Kxi_InitDrawEx Option=196896 LibType=2",
                              "Kxi_InitDrawEx 初期化終了",
                              "KxIf::InitializeGraphics 終了",
                              "KxIf::InitializeDraw 終了",
                              "描画初期化 終了",
                              "ファイル読込 終了 ret=1",
                              "クリッピング領域の初期化 終了",
                              "KxIf::OpenQ3dFile 終了"}));
  // The work folder was missing and has been created.
  EXPECT_EQ(files.created, (Lines{"C:\\Users\\a b\\AppData\\Local\\Temp\\~Fitcheck"}));
}

TEST_F(KxIfTest, OpenQ3dFileRegistersFolders) {
  // A folder name ending in a character whose second byte is a backslash.
  files.folders.insert("C:\\Users\\a b\\AppData\\Local\\Temp\\~Fitcheck");
  ASSERT_TRUE(session.OpenQ3dFile("C:\\データ表\\表.q3d"));
  Lines calls = TakeCalls();
  EXPECT_EQ(calls.at(1), "2303(0,0,C:\\データ表\\)");
  EXPECT_TRUE(files.created.empty());  // already there

  // A bare file name has no folder part; an empty path stays empty.
  ASSERT_TRUE(session.OpenQ3dFile("test.q3d"));
  EXPECT_EQ(TakeCalls().at(1), "2303(0,0,)");
  host.canonical[""] = "\\";  // what the platform would make of it
  ASSERT_TRUE(session.OpenQ3dFile(""));
  EXPECT_EQ(TakeCalls().at(1), "2303(0,0,)");
}

TEST_F(KxIfTest, OpenQ3dFileWithoutAHeader) {
  engine.header_handle = -3;
  EXPECT_FALSE(session.OpenQ3dFile("C:\\data\\test.q3d"));
  const Lines calls = TakeCalls();
  EXPECT_EQ(Lines(calls.end() - 3, calls.end()),
            (Lines{"4100(C:\\data\\test.q3d)", "2306(0,0)", "2306(0,0)"}));
  EXPECT_EQ(TakeLog(), (Lines{"KxIf::OpenQ3dFile 開始"}));
}

TEST_F(KxIfTest, FailedModelBodyStillCountsAsOpened) {
  ASSERT_TRUE(session.Initialize(kView));
  engine.read_result = -2;
  EXPECT_TRUE(session.OpenQ3dFile("C:\\data\\test.q3d"));
  const Lines lines = TakeLog();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ファイル読込 終了 ret=-2"), lines.end());
}

TEST_F(KxIfTest, RedrawAndFitFollowTheViewWindow) {
  ASSERT_TRUE(session.Initialize(kView));
  TakeCalls();
  session.Redraw();
  host.windows[kView] = {400, 250};
  session.FitViewToWindow();
  EXPECT_EQ(TakeCalls(), (Lines{"1202(3)", "1818(100,100,100,100,100,100,400,250)"}));
  // A window that can no longer be measured is not fitted.
  host.windows.clear();
  session.FitViewToWindow();
  EXPECT_TRUE(TakeCalls().empty());
}

}  // namespace
}  // namespace kx

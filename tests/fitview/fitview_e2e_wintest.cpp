// Fitview end to end: this program plays the checker towards the real
// Fitview.exe and the stand-in engine, as the wizard does for one 3D test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>

#include "common/exchange_contract.h"
#include "fitview/viewer_layout.h"
#include "tests/driver/dialog_driver.h"
#include "tests/fitview/checker_double.h"
#include "tests/fitview/screen_image.h"
#include "tests/fitview/viewer_install.h"

namespace kx::test {
namespace {

using Lines = std::vector<std::string>;

constexpr char kDefaultTitle[] = "ドミレルデザイナー動作チェック";

// The message numbers both programs must agree on, written out here rather
// than taken from the shared header.
constexpr UINT kCloseMessage = WM_USER + 11;    // 1035, to the viewer
constexpr UINT kClosingMessage = WM_USER + 12;  // 1036, from the viewer
constexpr UINT kNotifyMessage = WM_USER + 13;   // 1037, from the viewer
static_assert(kCloseMessage == 1035 && kClosingMessage == 1036 && kNotifyMessage == 1037);

// Bounds of the waits for the viewer: to ready, to its first drawn frame, to
// its end. On a quiet machine each is met within seconds; the shipping
// build's tests run emulated, where a busy machine makes that a minute (the
// first frame is rendered in software). Only a viewer that hangs meets them.
constexpr DWORD kStartTimeoutMs = 180000;
constexpr DWORD kDrawTimeoutMs = 120000;
constexpr DWORD kEndTimeoutMs = 120000;

// A configuration of the test plan: its request flags, sample picture and
// what the engine session makes of it.
struct Configuration {
  const char* entry;
  RequestFlags flags;
  const char* fields;  // the session's field line
  int option;
  int library_code;
  // An entry whose sample lacks one feature of this one, or none.
  const char* unlike;
};

const Configuration kEntryA = {"A", {true, true, true, true, true},
                               "LibType=3 NoOGAcc=1 ForceRGB=0 ShMapLv=3 Shading=1 AALevel=1",
                               0x233120, 3, "E"};
const Configuration kEntryD = {"D", {true, true, false, false, true},
                               "LibType=2 NoOGAcc=1 ForceRGB=0 ShMapLv=0 Shading=0 AALevel=1",
                               0x30120, 2, "H"};
const Configuration kEntryI = {"I", {false, false, false, false, false},
                               "LibType=1 NoOGAcc=0 ForceRGB=0 ShMapLv=0 Shading=0 AALevel=0",
                               0, 1, nullptr};
const Configuration kEntryJ = {"J", {false, false, false, false, true},
                               "LibType=1 NoOGAcc=1 ForceRGB=0 ShMapLv=0 Shading=0 AALevel=0",
                               0x2, 1, nullptr};

std::string Sample(const Configuration& c) { return std::string("test") + c.entry + ".bmp"; }

// The log of one drawing set-up.
Lines DrawingSetUp(const Configuration& c) {
  return {"KxIf::InitializeEnv 終了",
          "KxIf::InitializeDraw 開始",
          c.fields,
          "KxIf::InitializeGraphics 開始",
          "Kxi_InitDrawEx Option=" + std::to_string(c.option) +
              " LibType=" + std::to_string(c.library_code),
          "Kxi_InitDrawEx 初期化終了",
          "KxIf::InitializeGraphics 終了",
          "KxIf::InitializeDraw 終了"};
}

// Every line of a run that was shown and then closed, in order; the engine's
// answer to reading the model body stands as "ret=*".
Lines NormalRunLog(const Configuration& c) {
  Lines lines = {"-----------------------------------", "設定ファイルのロード終了",
                 "KxIf::Initialize 開始"};
  const Lines set_up = DrawingSetUp(c);
  lines.insert(lines.end(), set_up.begin(), set_up.end());
  lines.insert(lines.end(), {"KxIf::Initialize 終了", "VLSDK初期化終了",
                             "サンプルビットマップのロード終了", "KxIf::OpenQ3dFile 開始",
                             "ヘッダ取得 終了"});
  lines.insert(lines.end(), set_up.begin(), set_up.end());
  lines.insert(lines.end(), {"描画初期化 終了", "ファイル読込 終了 ret=*",
                             "クリッピング領域の初期化 終了", "KxIf::OpenQ3dFile 終了",
                             "q3dファイルのロード終了", "ファイル読込み終了", "初期処理終了",
                             "結果ファイルに処理結果を保存終了 Code=0",
                             "３Ｄ表示の自動判定 Likeness=* LikenessVerdict=0 (alike)",
                             "VLSDK : Terminateの終了",
                             "結果ファイルに処理結果を保存終了 Code=0"});
  return lines;
}

Lines WithoutReadResult(Lines lines) {
  static const std::regex read_line("^(ファイル読込 終了 ret=)-?[0-9]+$");
  // Not by a pattern: the Shift-JIS bytes of this line hold a backslash.
  static const std::string likeness = "３Ｄ表示の自動判定 Likeness=";
  for (std::string& line : lines) {
    line = std::regex_replace(line, read_line, "$1*");
    if (line.rfind(likeness, 0) == 0) {
      const std::size_t end = line.find(' ', likeness.size());
      if (end != std::string::npos) line.replace(likeness.size(), end - likeness.size(), "*");
    }
  }
  return lines;
}

ScreenRect ClientRectOf(HWND viewer, int id) {
  RECT rect = {};
  const HWND control = GetDlgItem(viewer, id);
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, viewer, reinterpret_cast<POINT*>(&rect), 2);
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

// Position of a child window in the z-order, 0 on top.
int ZOrder(HWND viewer, int id) {
  const HWND control = GetDlgItem(viewer, id);
  int index = 0;
  for (HWND child = GetWindow(viewer, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == control) return index;
    ++index;
  }
  return -1;
}

// Top-level windows with `title`.
int CountWindows(const std::string& title) {
  int count = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); w;
       w = FindWindowExA(nullptr, w, nullptr, title.c_str())) {
    ++count;
  }
  return count;
}

std::string ShotFolder() {
  char folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("KX_SHOT_DIR", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(folder) + "\\" : std::string();
}

// Where two pictures count as alike: the engine draws the view as it drew
// the sample, so they should agree but for the odd edge pixel that another
// rasteriser rounds differently. The smallest feature of a configuration
// (anti-aliased edges) changes about 1.2% of the pixels by more than 15
// levels; a third of that is allowed.
constexpr double kAlikeMean = 2.0;
constexpr double kAlikeChangedShare = 0.004;
bool Alike(const ImageDifference& d) {
  return d.mean < kAlikeMean && d.changed_share < kAlikeChangedShare;
}

constexpr WPARAM kLikenessKind = 5;

// The labels lie over the top-left corner of both pictures.
constexpr int kLabelWidth = 51;
constexpr int kLabelHeight = 15;

class FitviewEndToEnd : public ::testing::Test {
 protected:
  // Starts the viewer for `c` and waits for its ready notification.
  void StartShown(ViewerInstall& install, CheckerDouble& checker, const Configuration& c) {
    ASSERT_TRUE(install.copied_all) << "the build's bin folder lacks the viewer or its data";
    WriteRequest(install.request(), install.data(Sample(c)), install.data("test.q3d"),
                 install.result(), c.flags, checker.window(), install.log());
    ASSERT_TRUE(checker.Start(install.viewer(), install.request()));
    ASSERT_TRUE(checker.WaitForNotify(exchange::kNotifyViewShown, kStartTimeoutMs))
        << "no ready notification; result " << install.ResultCode();
    // Ready reports the result code it wrote.
    EXPECT_EQ(checker.notifications.front(),
              std::make_pair(static_cast<WPARAM>(exchange::kNotifyViewShown), LPARAM{0}));
    EXPECT_EQ(install.ResultCode(), "0");
    const int ms_to_shown = static_cast<int>(checker.MillisecondsToShown());
    RecordProperty(std::string("ms_to_shown_") + c.entry, std::to_string(ms_to_shown));
    std::printf("entry %s: ready %d ms after start\n", c.entry, ms_to_shown);
  }

  // Closes the viewer as the checker does and waits for it to end: the close
  // request names the checker's window, which is told before the viewer ends.
  void CloseAndWait(CheckerDouble& checker, HWND viewer) {
    PostMessageA(viewer, kCloseMessage, reinterpret_cast<WPARAM>(checker.window()), 0);
    ASSERT_TRUE(checker.WaitForEnd(kEndTimeoutMs));
    EXPECT_EQ(checker.closing_received, 1);
    // Ready, then the likeness, then closing.
    EXPECT_EQ(checker.private_messages,
              (std::vector<UINT>{kNotifyMessage, kNotifyMessage, kClosingMessage}));
  }

  // Runs `c` from start to close and checks the window, the picture, the
  // messages, the result and the log.
  void RunShownAndClosed(const Configuration& c, const std::string& engine,
                         const std::string& title) {
    ViewerInstall install(engine);
    if (title != kDefaultTitle) install.SetViewerTitle(title);
    CheckerDouble checker;
    StartShown(install, checker, c);
    if (HasFatalFailure()) return;

    const HWND viewer = FindWindowA(nullptr, title.c_str());
    ASSERT_NE(viewer, nullptr) << "no window titled as the settings say";
    DWORD owner = 0;
    GetWindowThreadProcessId(viewer, &owner);
    EXPECT_EQ(owner, checker.ProcessId());
    CheckWindow(viewer, checker.window());
    CheckPicture(viewer, install.data(Sample(c)), c.entry);
    if (c.unlike) {
      // The view has the features of its own configuration.
      const Image other = LoadBitmapFile(install.data(std::string("test") + c.unlike + ".bmp"));
      const Image view = Crop(CaptureClient(viewer), 322, 0, 320, 320);
      const ImageDifference d = Compare(view, other, 0, 0, kLabelWidth, kLabelHeight);
      std::printf("entry %s: 3D view against sample %s: mean %.3f, changed %.4f\n", c.entry,
                  c.unlike, d.mean, d.changed_share);
      EXPECT_FALSE(Alike(d)) << "the view looks like the sample of entry " << c.unlike;
    }

    // The viewer's own measure agrees: alike, written beside the result code.
    ASSERT_TRUE(checker.WaitForNotify(kLikenessKind, kDrawTimeoutMs));
    EXPECT_EQ(checker.notifications.at(1), std::make_pair(kLikenessKind, LPARAM{0}));
    EXPECT_EQ(install.ResultValue("LikenessVerdict"), "0");
    EXPECT_LT(std::stod(install.ResultValue("Likeness")), 5e-7);

    CloseAndWait(checker, viewer);
    EXPECT_EQ(install.ResultCode(), "0");
    EXPECT_EQ(WithoutReadResult(install.LogMessages()), NormalRunLog(c));
  }

  void CheckWindow(HWND viewer, HWND checker) {
    RECT client;
    GetClientRect(viewer, &client);
    EXPECT_EQ(client.right, 642);
    EXPECT_EQ(client.bottom, 320);
    EXPECT_EQ(ClientRectOf(viewer, 1003), (ScreenRect{0, 0, 320, 320}));
    EXPECT_EQ(ClientRectOf(viewer, 1007), (ScreenRect{0, 0, 51, 15}));
    EXPECT_EQ(ClientRectOf(viewer, 1009), (ScreenRect{320, 0, 322, 320}));
    EXPECT_EQ(ClientRectOf(viewer, 1004), (ScreenRect{322, 0, 642, 320}));
    EXPECT_EQ(ClientRectOf(viewer, 1008), (ScreenRect{322, 0, 373, 15}));
    EXPECT_LT(ZOrder(viewer, 1007), ZOrder(viewer, 1003));
    EXPECT_LT(ZOrder(viewer, 1008), ZOrder(viewer, 1004));

    // Centred in the space below the checker's window.
    RECT work, outer, above;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(viewer, &outer);
    GetWindowRect(checker, &above);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, work.left + (work.right - work.left - width) / 2);
    const int half = (work.bottom - above.bottom - height - work.top) / 2;
    ASSERT_GE(half, 0) << "the screen is too small for this test";
    EXPECT_EQ(outer.top, above.bottom + half);
  }

  // The 3D view (right) looks like the sample picture (left).
  void CheckPicture(HWND viewer, const std::string& sample_file, const std::string& name) {
    const Image sample = LoadBitmapFile(sample_file);
    ASSERT_EQ(sample.width, 320);
    ASSERT_EQ(sample.height, 320);
    Image shot, left, right;
    ImageDifference shown{255, 1};
    ImageDifference view{255, 1};
    // Where a label lies over a picture, that corner differs from the sample.
    const auto labelled = [&sample](const Image& picture) {
      return Compare(Crop(picture, 0, 0, kLabelWidth, kLabelHeight),
                     Crop(sample, 0, 0, kLabelWidth, kLabelHeight))
                 .mean > 10.0;
    };
    // The window reports ready once its first frame is on the screen; a
    // device that renders in software on a slow machine takes many seconds
    // to that. Wait for the picture this test is about, not a fixed time.
    const ULONGLONG since = GetTickCount64();
    int pictures = 0;
    const bool drawn = WaitUntil(
        [&] {
          ++pictures;
          shot = CaptureClient(viewer);
          if (shot.width != 642) return false;
          left = Crop(shot, 0, 0, 320, 320);
          right = Crop(shot, 322, 0, 320, 320);
          shown = Compare(left, sample, 0, 0, kLabelWidth, kLabelHeight);
          view = Compare(left, right, 0, 0, kLabelWidth, kLabelHeight);
          return shown.mean < 1.0 && Alike(view) && labelled(left) && labelled(right);
        },
        kDrawTimeoutMs, 200);
    std::printf("entry %s: %s %lu ms after ready (picture %d)\n", name.c_str(),
                drawn ? "drawn" : "still not drawn",
                static_cast<unsigned long>(GetTickCount64() - since), pictures);
    ASSERT_EQ(shot.width, 642);
    std::printf("entry %s: 3D view against sample: mean %.3f, changed %.4f, far %.4f\n",
                name.c_str(), view.mean, view.changed_share, view.far_share);
    const std::string shots = ShotFolder();
    if (!shots.empty()) SaveBitmapFile(shot, shots + "viewer_" + name + ".bmp");

    // The left picture is the sample file itself.
    EXPECT_LT(shown.mean, 1.0) << "the sample picture is not shown as it is";
    EXPECT_TRUE(labelled(left) && labelled(right)) << "the labels are not on top of the pictures";

    EXPECT_GT(Contrast(right), 20.0) << "the 3D view is plain";
    EXPECT_TRUE(Alike(view)) << "3D view against sample: mean " << view.mean << ", changed "
                             << view.changed_share;
    // The comparison tells a moved scene from the same one.
    const ImageDifference moved =
        Compare(Crop(left, 24, 0, 296, 320), Crop(right, 0, 0, 296, 320), 0, 0, kLabelWidth,
                kLabelHeight);
    std::printf("entry %s: moved scene: mean %.3f, changed %.4f, far %.4f\n", name.c_str(),
                moved.mean, moved.changed_share, moved.far_share);
    EXPECT_FALSE(Alike(moved));
  }
};

TEST_F(FitviewEndToEnd, OpenGLWithAcceleration) {
  RunShownAndClosed(kEntryI, "KX3D.dll", kDefaultTitle);
}

TEST_F(FitviewEndToEnd, OpenGLWithoutAcceleration) {
  RunShownAndClosed(kEntryJ, "kx3dlib\\kx3d.ogl", kDefaultTitle);
}

TEST_F(FitviewEndToEnd, Direct3DWithAntiAliasing) {
  // The window title comes from the settings file beside the viewer.
  RunShownAndClosed(kEntryD, "kx3dlib\\kx3d.drx", "表示テスト 動作チェック");
}

TEST_F(FitviewEndToEnd, Direct3DWithShaderEffects) {
  RunShownAndClosed(kEntryA, "KX3D.dll", kDefaultTitle);
}

// Starts the viewer for a request that cannot be shown and checks that it
// ends on its own with `code`, without a ready notification.
class FitviewErrorEnd : public FitviewEndToEnd {
 protected:
  void ExpectErrorEnd(ViewerInstall& install, CheckerDouble& checker, const std::string& code) {
    ASSERT_TRUE(checker.Start(install.viewer(), install.request()));
    EXPECT_FALSE(checker.WaitForNotify(exchange::kNotifyViewShown, kStartTimeoutMs));
    ASSERT_TRUE(checker.WaitForEnd(kEndTimeoutMs));
    EXPECT_TRUE(checker.notifications.empty());
    EXPECT_EQ(checker.closing_received, 0);
    EXPECT_EQ(install.ResultCode(), code);
    EXPECT_EQ(CountWindows(kDefaultTitle), 0);
  }
  void WriteRequestFor(ViewerInstall& install, CheckerDouble& checker, const std::string& bmp) {
    WriteRequest(install.request(), bmp, install.data("test.q3d"), install.result(),
                 kEntryD.flags, checker.window(), install.log());
  }
};

TEST_F(FitviewErrorEnd, MissingPictureEndsWithCode3) {
  ViewerInstall install;
  CheckerDouble checker;
  WriteRequestFor(install, checker, install.data("testX.bmp"));
  ExpectErrorEnd(install, checker, "3");
  EXPECT_EQ(install.LogMessages(),
            (Lines{"-----------------------------------", "結果ファイルに処理結果を保存終了 Code=3",
                   "起動中のエラー終了。 結果コード: 3", "VLSDK : Terminateの終了",
                   "結果ファイルに処理結果を保存終了 Code=3"}));
}

TEST_F(FitviewErrorEnd, NoRequestFileWritesNothing) {
  ViewerInstall install;
  CheckerDouble checker;
  ExpectErrorEnd(install, checker, "absent");
  EXPECT_FALSE(TempFolder::Exists(install.log()));
}

TEST_F(FitviewErrorEnd, UnreadableModelEndsWithCode5) {
  ViewerInstall install;
  CheckerDouble checker;
  TempFolder::WriteFile(install.data("test.q3d"), "not a model");
  WriteRequestFor(install, checker, install.data("testD.bmp"));
  ExpectErrorEnd(install, checker, "5");
  const Lines lines = install.LogMessages();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(Lines(lines.end() - 6, lines.end()),
            (Lines{"KxIf::OpenQ3dFile 開始", "q3dファイルのロード終了",
                   "結果ファイルに処理結果を保存終了 Code=5", "起動中のエラー終了。 結果コード: 5",
                   "VLSDK : Terminateの終了", "結果ファイルに処理結果を保存終了 Code=5"}));
}

TEST_F(FitviewErrorEnd, EngineStartFailureEndsWithCode4) {
  ViewerInstall install;
  CheckerDouble checker;
  install.SetEngineFailure("Kxi_Initialize", 1);
  WriteRequestFor(install, checker, install.data("testD.bmp"));
  ExpectErrorEnd(install, checker, "4");
  EXPECT_EQ(install.LogMessages(),
            (Lines{"-----------------------------------", "設定ファイルのロード終了",
                   "KxIf::Initialize 開始", "Kxi_Initializeエラー",
                   "結果ファイルに処理結果を保存終了 Code=4", "起動中のエラー終了。 結果コード: 4",
                   "VLSDK : Terminateの終了", "結果ファイルに処理結果を保存終了 Code=4"}));
}

TEST_F(FitviewErrorEnd, DrawingSetUpFailureEndsWithCode4) {
  ViewerInstall install;
  CheckerDouble checker;
  install.SetEngineFailure("Kxi_InitDrawEx", 1);
  WriteRequestFor(install, checker, install.data("testD.bmp"));
  ExpectErrorEnd(install, checker, "4");
  const Lines lines = install.LogMessages();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(Lines(lines.end() - 5, lines.end()),
            (Lines{"KxIf::InitializeDraw 終了", "結果ファイルに処理結果を保存終了 Code=4",
                   "起動中のエラー終了。 結果コード: 4", "VLSDK : Terminateの終了",
                   "結果ファイルに処理結果を保存終了 Code=4"}));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Kxi_InitDrawEx 初期化エラー"), lines.end());
}

TEST_F(FitviewErrorEnd, ModelHeaderFailureEndsWithCode5) {
  ViewerInstall install;
  CheckerDouble checker;
  install.SetEngineFailure("Kxi_ReadModelHeader", 0);
  WriteRequestFor(install, checker, install.data("testD.bmp"));
  ExpectErrorEnd(install, checker, "5");
  const Lines lines = install.LogMessages();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(Lines(lines.end() - 6, lines.end()),
            (Lines{"KxIf::OpenQ3dFile 開始", "q3dファイルのロード終了",
                   "結果ファイルに処理結果を保存終了 Code=5", "起動中のエラー終了。 結果コード: 5",
                   "VLSDK : Terminateの終了", "結果ファイルに処理結果を保存終了 Code=5"}));
}

TEST_F(FitviewEndToEnd, BothPicturesAreOnTheScreenWhenReadyArrives) {
  ViewerInstall install;
  CheckerDouble checker;
  Image at_ready;
  checker.on_view_shown = [&] {
    const HWND viewer = FindWindowA(nullptr, kDefaultTitle);
    if (viewer) at_ready = CaptureClient(viewer);
  };
  StartShown(install, checker, kEntryD);
  if (HasFatalFailure()) return;
  ASSERT_EQ(at_ready.width, 642) << "no picture of the viewer when ready arrived";
  const std::string shots = ShotFolder();
  if (!shots.empty()) SaveBitmapFile(at_ready, shots + "viewer_at_ready.bmp");
  const Image sample = LoadBitmapFile(install.data(Sample(kEntryD)));
  const ImageDifference shown =
      Compare(Crop(at_ready, 0, 0, 320, 320), sample, 0, 0, kLabelWidth, kLabelHeight);
  const ImageDifference view =
      Compare(Crop(at_ready, 322, 0, 320, 320), sample, 0, 0, kLabelWidth, kLabelHeight);
  EXPECT_LT(shown.mean, 1.0) << "the sample is not on the screen";
  EXPECT_TRUE(Alike(view)) << "the view is not drawn: mean " << view.mean << ", changed "
                           << view.changed_share;
  const HWND viewer = FindWindowA(nullptr, kDefaultTitle);
  ASSERT_NE(viewer, nullptr);
  CloseAndWait(checker, viewer);
}

TEST_F(FitviewEndToEnd, CoveredViewIsMeasuredFromItsOwnWindow) {
  // A window over the whole screen from before the viewer starts: the screen
  // shows that window, but the view is read from its own window.
  win::UniqueWindow cover(CreateWindowExA(WS_EX_TOPMOST, "STATIC", "cover", WS_POPUP | WS_VISIBLE,
                                          0, 0, GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                          nullptr, nullptr));
  ASSERT_TRUE(cover);
  ViewerInstall install;
  CheckerDouble checker;
  StartShown(install, checker, kEntryJ);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(checker.WaitForNotify(kLikenessKind, kDrawTimeoutMs));
  EXPECT_EQ(checker.notifications.at(1), std::make_pair(kLikenessKind, LPARAM{0}));
  EXPECT_EQ(install.ResultValue("LikenessVerdict"), "0");
  const HWND viewer = FindWindowA(nullptr, kDefaultTitle);
  ASSERT_NE(viewer, nullptr);
  CloseAndWait(checker, viewer);
}

TEST_F(FitviewEndToEnd, FailedSecondSetUpShowsAnEmptyView) {
  // The set-up that comes with the model only decides whether drawing is
  // ready: the viewer still reports its view, and the user sees that the
  // view does not look like the sample.
  ViewerInstall install;
  CheckerDouble checker;
  install.SetEngineFailure("Kxi_InitDrawEx", 2);
  StartShown(install, checker, kEntryD);
  if (HasFatalFailure()) return;
  const HWND viewer = FindWindowA(nullptr, kDefaultTitle);
  ASSERT_NE(viewer, nullptr);
  // Whatever the view paints, it has painted once the sample beside it shows.
  const Image sample = LoadBitmapFile(install.data(Sample(kEntryD)));
  Image shot;
  EXPECT_TRUE(WaitUntil(
      [&] {
        shot = CaptureClient(viewer);
        return shot.width == 642 &&
               Compare(Crop(shot, 0, 0, 320, 320), sample, 0, 0, kLabelWidth, kLabelHeight).mean <
                   1.0;
      },
      kDrawTimeoutMs, 200))
      << "the sample picture is not shown";
  ASSERT_EQ(shot.width, 642);
  const std::string shots = ShotFolder();
  if (!shots.empty()) SaveBitmapFile(shot, shots + "viewer_no_second_set_up.bmp");
  const ImageDifference d = Compare(Crop(shot, 0, 0, 320, 320), Crop(shot, 322, 0, 320, 320), 0,
                                    0, kLabelWidth, kLabelHeight);
  EXPECT_FALSE(Alike(d)) << "mean " << d.mean << ", changed " << d.changed_share;
  // The viewer's measure sees it too.
  ASSERT_TRUE(checker.WaitForNotify(kLikenessKind, kDrawTimeoutMs));
  EXPECT_EQ(checker.notifications.at(1), std::make_pair(kLikenessKind, LPARAM{2}));
  EXPECT_EQ(install.ResultValue("LikenessVerdict"), "2");
  CloseAndWait(checker, viewer);
  EXPECT_EQ(install.ResultCode(), "0");
}

TEST_F(FitviewEndToEnd, SecondViewerShowsNoSecondWindow) {
  ViewerInstall install;
  CheckerDouble checker;
  StartShown(install, checker, kEntryD);
  if (HasFatalFailure()) return;
  const HWND first = FindWindowA(nullptr, kDefaultTitle);
  ASSERT_NE(first, nullptr);

  // A second viewer with a request of its own.
  ViewerInstall second_install;
  CheckerDouble second;
  WriteRequest(second_install.request(), second_install.data("testI.bmp"),
               second_install.data("test.q3d"), second_install.result(), kEntryI.flags,
               second.window(), second_install.log());
  // Somebody else in front: the second start must bring the first back.
  SetForegroundWindow(checker.window());
  ASSERT_NE(GetForegroundWindow(), first);
  ASSERT_TRUE(second.Start(install.viewer(), second_install.request()));
  ASSERT_TRUE(second.WaitForEnd(kEndTimeoutMs)) << "the second viewer keeps running";
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(second.notifications.empty());
  EXPECT_EQ(second_install.ResultCode(), "absent");
  EXPECT_FALSE(TempFolder::Exists(second_install.log()));
  EXPECT_EQ(CountWindows(kDefaultTitle), 1);
  EXPECT_TRUE(checker.Running());

  // A close request without a window to answer: nobody is told, the viewer
  // still ends and keeps its ready code.
  PostMessageA(first, exchange::kViewerClose, 0, 0);
  ASSERT_TRUE(checker.WaitForEnd(kEndTimeoutMs));
  EXPECT_EQ(checker.closing_received, 0);
  EXPECT_EQ(install.ResultCode(), "0");
}

TEST_F(FitviewEndToEnd, GoneCheckerWindowCentresTheViewer) {
  ViewerInstall install;
  CheckerDouble checker;
  // A checker window that no longer exists when the viewer starts.
  HWND gone = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
  DestroyWindow(gone);
  WriteRequest(install.request(), install.data("testJ.bmp"), install.data("test.q3d"),
               install.result(), kEntryJ.flags, gone, install.log());
  ASSERT_TRUE(checker.Start(install.viewer(), install.request()));
  // Nobody to notify: wait until the viewer has written its ready code.
  ASSERT_TRUE(WaitUntil([&] { return install.ResultCode() == "0"; }, kStartTimeoutMs))
      << "result " << install.ResultCode();
  const HWND viewer = FindWindowA(nullptr, kDefaultTitle);
  ASSERT_NE(viewer, nullptr);
  RECT work, outer;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(viewer, &outer);
  EXPECT_EQ(outer.top, work.top + (work.bottom - work.top - (outer.bottom - outer.top)) / 2);
  EXPECT_EQ(outer.left, work.left + (work.right - work.left - (outer.right - outer.left)) / 2);
  PostMessageA(viewer, exchange::kViewerClose, 0, 0);
  ASSERT_TRUE(checker.WaitForEnd(kEndTimeoutMs));
  EXPECT_TRUE(checker.notifications.empty());
}

TEST_F(FitviewEndToEnd, ClosedByTheUserKeepsCode0) {
  ViewerInstall install;
  CheckerDouble checker;
  // The log of an earlier test of the same day: the viewer appends to it.
  TempFolder::WriteFile(install.log(), "09:00:00.000, 前のテストの行\r\n");
  StartShown(install, checker, kEntryJ);
  if (HasFatalFailure()) return;
  const HWND viewer = FindWindowA(nullptr, kDefaultTitle);
  ASSERT_NE(viewer, nullptr);
  // The close box of the caption.
  PostMessageA(viewer, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(checker.WaitForEnd(kEndTimeoutMs));
  EXPECT_EQ(checker.closing_received, 0);
  EXPECT_EQ(install.ResultCode(), "0");
  const Lines log = install.LogMessages();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(Lines(log.begin(), log.begin() + 2),
            (Lines{"前のテストの行", "-----------------------------------"}));
}

// Started from the exchange folder with the request named without a
// folder: the viewer reads that request, not one of that name in the
// Windows folder (where the private-profile functions look for it).
TEST_F(FitviewEndToEnd, ARelativeRequestPathIsReadFromTheCurrentFolder) {
  ViewerInstall install;
  CheckerDouble checker;
  WriteRequest(install.request(), install.data(Sample(kEntryJ)), install.data("test.q3d"),
               install.result(), kEntryJ.flags, checker.window(), install.log());
  const std::string request = install.request();
  const std::string exchange = request.substr(0, request.rfind('\\'));
  char before[MAX_PATH] = {};
  ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, before), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA(exchange.c_str()));
  const bool started = checker.Start(install.viewer(), "KxEnvCheck.ini");
  SetCurrentDirectoryA(before);
  ASSERT_TRUE(started);
  ASSERT_TRUE(checker.WaitForNotify(exchange::kNotifyViewShown, kStartTimeoutMs))
      << "no ready notification; result " << install.ResultCode();
  const HWND viewer = FindWindowA(nullptr, kDefaultTitle);
  ASSERT_NE(viewer, nullptr);
  CloseAndWait(checker, viewer);
  EXPECT_EQ(install.ResultCode(), "0");
}

}  // namespace
}  // namespace kx::test

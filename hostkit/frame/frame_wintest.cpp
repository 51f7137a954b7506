// The frame exports on real windows: handles, subclassing and stacking,
// hit tests, and the caption buttons driven by mouse messages, checked by
// the system commands they post.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

#include <vector>

#include "hostkit/frame/frame_test_support.h"

namespace kx::hostkit::test {
namespace {

class FrameExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hk.complete()) << "Hostkit.dll or a frame export is missing";
  }
  FrameExports& hk = Exports();
};

TEST_F(FrameExportsTest, UnknownHandlesAreRefusedByEveryExport) {
  EXPECT_EQ(hk.create(nullptr), 0);
  EXPECT_EQ(hk.create_ex(nullptr, 0x4, nullptr), 0);
  LRESULT slot = 55;
  for (const int32_t handle : {0, 1, 0xFFFF, 0x1FFFF, 0x20000, 0x10000 + 700, -1}) {
    EXPECT_EQ(hk.remove(handle), -1) << handle;
    EXPECT_EQ(hk.draw(handle, 0, 0), -1) << handle;
    EXPECT_EQ(hk.set_color(handle, 1, 0, 0xFF), -1) << handle;
    EXPECT_EQ(hk.set_image(handle, 1, 0, 0, 0), -1) << handle;
    EXPECT_EQ(hk.load_image(handle, "C:\\windows\\x.bmp"), -1) << handle;
    EXPECT_EQ(hk.proc(handle, WM_NCHITTEST, 0, 0, &slot, 0), -1) << handle;
  }
  EXPECT_EQ(slot, 55);
}

TEST_F(FrameExportsTest, CreateSubclassesAndDeleteGivesTheProcedureBack) {
  TestWindow window;
  const int32_t frame = hk.create(window.get());
  ASSERT_GE(frame, 0x10000);
  ASSERT_LE(frame, 0x1FFFF);
  EXPECT_NE(window.CurrentProcedure(), window.OwnProcedure());
  EXPECT_EQ(hk.draw(frame, 1, 2), 0);

  EXPECT_EQ(hk.remove(frame), 0);
  EXPECT_EQ(window.CurrentProcedure(), window.OwnProcedure());
  EXPECT_EQ(hk.remove(frame), -1);
  EXPECT_EQ(hk.draw(frame, 0, 0), -1);
  // The freed slot is the lowest: the same handle value comes back.
  const int32_t again = hk.create(window.get());
  EXPECT_EQ(again, frame);
  EXPECT_EQ(hk.remove(again), 0);
}

TEST_F(FrameExportsTest, StackedFramesKeepTheWindowSubclassedUntilTheLastGoes) {
  TestWindow window;
  const int32_t lower = hk.create(window.get());
  const int32_t middle = hk.create(window.get());
  const int32_t upper = hk.create(window.get());
  ASSERT_TRUE(lower && middle && upper);
  EXPECT_EQ(HitTestAt(window.get(), window.Frame().left + 200, window.Frame().top + 1), HTTOP);

  EXPECT_EQ(hk.remove(middle), 0);
  // The upper frame now passes on to the lower one, which still works.
  EXPECT_EQ(HitTestAt(window.get(), window.Frame().left + 200, window.Frame().top + 1), HTTOP);
  EXPECT_EQ(hk.remove(lower), 0);
  EXPECT_NE(window.CurrentProcedure(), window.OwnProcedure());
  EXPECT_EQ(hk.remove(upper), 0);
  EXPECT_EQ(window.CurrentProcedure(), window.OwnProcedure());
}

TEST_F(FrameExportsTest, LooksAndImagesCheckTheirArguments) {
  TestWindow window;
  const int32_t frame = hk.create(window.get());
  ASSERT_NE(frame, 0);
  EXPECT_EQ(hk.set_color(frame, 19, 3, RGB(1, 2, 3)), 0);
  EXPECT_EQ(hk.set_color(frame, 20, 0, 0), -1);
  EXPECT_EQ(hk.set_color(frame, 1, 4, 0), -1);
  EXPECT_EQ(hk.set_color(frame, -1, 0, 0), -1);
  EXPECT_EQ(hk.set_image(frame, 20, 0, 0, 0), -1);
  EXPECT_EQ(hk.set_image(frame, 1, -1, 0, 0), -1);
  EXPECT_EQ(hk.set_image(frame, 1, 0, -1, 0), 0);

  EXPECT_EQ(hk.load_image(frame, ""), -1);
  EXPECT_EQ(hk.load_image(frame, nullptr), -1);
  EXPECT_EQ(hk.load_image(frame, "C:\\no such folder\\none.bmp"), -1);
  const std::string bitmap = WriteTwoColourBitmap(8, 4, RGB(255, 0, 0), RGB(0, 0, 255));
  const int32_t first = hk.load_image(frame, bitmap.c_str());
  const int32_t second = hk.load_image(frame, bitmap.c_str());
  EXPECT_GE(first, 0);
  EXPECT_EQ(second, first + 1);
  EXPECT_EQ(hk.set_image(frame, 1, 0, second, 0), 0);
  DeleteFileA(bitmap.c_str());
  EXPECT_EQ(hk.remove(frame), 0);
}

TEST_F(FrameExportsTest, HitTestsNameTheFramePartsAndLeaveTheRestToTheWindow) {
  TestWindow window;
  const int32_t frame = hk.create(window.get());
  ASSERT_NE(frame, 0);
  const RECT r = window.Frame();
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  const int caption_y = r.top + fy + GetSystemMetrics(SM_CYCAPTION) / 2;
  const int middle_x = (r.left + r.right) / 2, middle_y = (r.top + r.bottom) / 2;
  struct Case {
    int x, y;
    LRESULT code;
    const char* what;
  } cases[] = {
      {middle_x, caption_y, HTCAPTION, "caption"},
      {r.left + fx + 4, caption_y, HTSYSMENU, "icon"},
      {r.left + fx / 2, middle_y, HTLEFT, "left border"},
      {r.right - 1 - fx / 2, middle_y, HTRIGHT, "right border"},
      {middle_x, r.top + fy / 2, HTTOP, "top border"},
      {middle_x, r.bottom - 1 - fy / 2, HTBOTTOM, "bottom border"},
      {r.left + 1, r.top + 1, HTTOPLEFT, "top-left corner"},
      {r.right - 2, r.top + 1, HTTOPRIGHT, "top-right corner"},
      {r.left + 1, r.bottom - 2, HTBOTTOMLEFT, "bottom-left corner"},
      {r.right - 2, r.bottom - 2, HTBOTTOMRIGHT, "bottom-right corner"},
      // Answered by the window's own procedure.
      {middle_x, middle_y, HTCLIENT, "client area"},
      {r.left + fx + 10,
       r.top + fy + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) / 2, HTMENU,
       "menu bar"},
  };
  for (const Case& c : cases) EXPECT_EQ(HitTestAt(window.get(), c.x, c.y), c.code) << c.what;
  // Three buttons side by side: minimise, maximise, close.
  const auto close = FindCaptionPart(window.get(), HTCLOSE);
  const auto maximise = FindCaptionPart(window.get(), HTMAXBUTTON);
  const auto minimise = FindCaptionPart(window.get(), HTMINBUTTON);
  ASSERT_TRUE(close && maximise && minimise);
  EXPECT_LT(minimise->x, maximise->x);
  EXPECT_LT(maximise->x, close->x);
  EXPECT_LT(close->x, r.right - fx);

  // The same through QNDFrameProc, with and without a result slot.
  LRESULT slot = 0;
  EXPECT_EQ(hk.proc(frame, WM_NCHITTEST, 0, MAKELPARAM(close->x, close->y), &slot, 0), 0);
  EXPECT_EQ(slot, HTCLOSE);
  EXPECT_EQ(hk.proc(frame, WM_NCHITTEST, 0, MAKELPARAM(middle_x, middle_y), &slot, 0), 0);
  EXPECT_EQ(slot, HTCLIENT);
  EXPECT_EQ(hk.proc(frame, WM_NCHITTEST, 0, MAKELPARAM(middle_x, middle_y), nullptr, 0), 0);
  EXPECT_EQ(hk.remove(frame), 0);
}

// A message the frame leaves to the window: the window procedure's answer
// reaches the host whole, all 64 bits of it in the 64-bit build.
TEST_F(FrameExportsTest, ProcHandsBackTheWindowProceduresWholeAnswer) {
  TestWindow window;
  const int32_t frame = hk.create(window.get());
  ASSERT_NE(frame, 0);
  const LPARAM value = static_cast<LPARAM>(static_cast<uintptr_t>(0x0123456789ABCDEFull));
  LRESULT slot = 0x5A5A5A5A;
  EXPECT_EQ(hk.proc(frame, kInvertingMessage, 0, value, &slot, 0), 0);
  EXPECT_EQ(slot, ~value);
  EXPECT_EQ(hk.remove(frame), 0);
}

// Mouse messages as the system sends them while the user works a button.
class FrameButtonTest : public FrameExportsTest {
 protected:
  void Press(POINT screen, LRESULT code) {
    SendMessageA(window.get(), WM_NCLBUTTONDOWN, code, MAKELPARAM(screen.x, screen.y));
  }
  void MoveTo(POINT screen) {
    POINT client = screen;
    ScreenToClient(window.get(), &client);
    SendMessageA(window.get(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  }
  void Release(POINT screen) {
    POINT client = screen;
    ScreenToClient(window.get(), &client);
    SendMessageA(window.get(), WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  }
  POINT ClientMiddle() const {
    const RECT r = window.Frame();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  TestWindow window;
  int32_t frame = 0;
  void SetUp() override {
    FrameExportsTest::SetUp();
    frame = hk.create(window.get());
    ASSERT_NE(frame, 0);
    TakePostedCommands(window.get());
  }
  void TearDown() override { EXPECT_EQ(hk.remove(frame), 0); }
};

TEST_F(FrameButtonTest, ReleasingOnThePressedButtonPostsItsCommand) {
  struct Case {
    LRESULT code;
    WPARAM command;
  } cases[] = {{HTCLOSE, SC_CLOSE}, {HTMINBUTTON, SC_MINIMIZE}, {HTMAXBUTTON, SC_MAXIMIZE}};
  for (const Case& c : cases) {
    const auto button = FindCaptionPart(window.get(), c.code);
    ASSERT_TRUE(button) << c.code;
    Press(*button, c.code);
    EXPECT_EQ(GetCapture(), window.get()) << c.code;
    EXPECT_TRUE(TakePostedCommands(window.get()).empty()) << "nothing before the release";
    Release(*button);
    EXPECT_EQ(TakePostedCommands(window.get()), std::vector<WPARAM>{c.command}) << c.code;
    EXPECT_EQ(GetCapture(), nullptr) << c.code;
  }
}

TEST_F(FrameButtonTest, MovingOffAndReleasingOutsideEveryPartPostsNothing) {
  const auto close = FindCaptionPart(window.get(), HTCLOSE);
  ASSERT_TRUE(close);
  Press(*close, HTCLOSE);
  MoveTo(ClientMiddle());
  Release(ClientMiddle());
  EXPECT_TRUE(TakePostedCommands(window.get()).empty());
  EXPECT_EQ(GetCapture(), nullptr);
  // The window is still there and still decorated.
  EXPECT_TRUE(IsWindow(window.get()));
  EXPECT_EQ(HitTestAt(window.get(), close->x, close->y), HTCLOSE);
}

TEST_F(FrameButtonTest, ReleasingOnAnotherButtonOrTheCaptionPostsNothing) {
  const auto close = FindCaptionPart(window.get(), HTCLOSE);
  const auto minimise = FindCaptionPart(window.get(), HTMINBUTTON);
  ASSERT_TRUE(close && minimise);
  Press(*close, HTCLOSE);
  MoveTo(*minimise);
  Release(*minimise);
  EXPECT_TRUE(TakePostedCommands(window.get()).empty());
  const RECT r = window.Frame();
  const POINT caption = {(r.left + r.right) / 2, close->y};
  Press(*minimise, HTMINBUTTON);
  Release(caption);
  EXPECT_TRUE(TakePostedCommands(window.get()).empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameButtonTest, MovingBackOntoTheButtonBeforeReleasingStillCounts) {
  const auto minimise = FindCaptionPart(window.get(), HTMINBUTTON);
  ASSERT_TRUE(minimise);
  Press(*minimise, HTMINBUTTON);
  MoveTo(ClientMiddle());
  MoveTo(*minimise);
  Release(*minimise);
  EXPECT_EQ(TakePostedCommands(window.get()), std::vector<WPARAM>{SC_MINIMIZE});
}

TEST_F(FrameButtonTest, TheSecondPressOfADoubleClickIsAPressToo) {
  const auto close = FindCaptionPart(window.get(), HTCLOSE);
  ASSERT_TRUE(close);
  Press(*close, HTCLOSE);
  Release(*close);
  SendMessageA(window.get(), WM_NCLBUTTONDBLCLK, HTCLOSE, MAKELPARAM(close->x, close->y));
  EXPECT_EQ(GetCapture(), window.get());
  Release(*close);
  EXPECT_EQ(TakePostedCommands(window.get()), (std::vector<WPARAM>{SC_CLOSE, SC_CLOSE}));
}

TEST_F(FrameButtonTest, MaximiseButtonOfAMaximisedWindowRestores) {
  ShowWindow(window.get(), SW_MAXIMIZE);
  Pump();
  const auto maximise = FindCaptionPart(window.get(), HTMAXBUTTON);
  ASSERT_TRUE(maximise);
  Press(*maximise, HTMAXBUTTON);
  Release(*maximise);
  EXPECT_EQ(TakePostedCommands(window.get()), std::vector<WPARAM>{SC_RESTORE});
}

TEST_F(FrameButtonTest, PostedCommandsWorkTheWindow) {
  const auto maximise = FindCaptionPart(window.get(), HTMAXBUTTON);
  ASSERT_TRUE(maximise);
  Press(*maximise, HTMAXBUTTON);
  Release(*maximise);
  Pump();  // the posted command reaches the window's own procedure
  EXPECT_TRUE(IsZoomed(window.get()));
  const auto restore = FindCaptionPart(window.get(), HTMAXBUTTON);
  ASSERT_TRUE(restore);
  Press(*restore, HTMAXBUTTON);
  Release(*restore);
  Pump();
  EXPECT_FALSE(IsZoomed(window.get()));
}

// A host that works the mouse in its own window, as a drag or a splitter
// does: it captures on button-down and, on button-up, notes whether it still
// held the capture and lets it go.
struct HostMouse {
  static inline WNDPROC previous = nullptr;
  static inline int ups = 0;
  static inline int ups_with_capture = 0;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_LBUTTONDOWN) SetCapture(window);
    if (message == WM_LBUTTONUP) {
      ++ups;
      if (GetCapture() == window) {
        ++ups_with_capture;
        ReleaseCapture();
      }
    }
    return CallWindowProcA(previous, window, message, wparam, lparam);
  }
};

TEST_F(FrameExportsTest, TheHostsOwnDragKeepsItsButtonUpAndItsCapture) {
  TestWindow window;
  HostMouse::previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HostMouse::Proc)));
  HostMouse::ups = HostMouse::ups_with_capture = 0;
  const int32_t frame = hk.create(window.get());
  ASSERT_NE(frame, 0);
  const RECT r = window.Frame();
  const auto close = FindCaptionPart(window.get(), HTCLOSE);
  ASSERT_TRUE(close);
  auto client = [&](POINT screen) {
    ScreenToClient(window.get(), &screen);
    return MAKELPARAM(screen.x, screen.y);
  };
  const POINT middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  const POINT caption = {middle.x, close->y};
  const POINT left_border = {r.left + GetSystemMetrics(SM_CXFRAME) / 2, middle.y};
  // The drag starts in the client area and ends anywhere, frame included.
  int expected = 0;
  for (const POINT end : {middle, caption, *close, left_border}) {
    SendMessageA(window.get(), WM_LBUTTONDOWN, MK_LBUTTON, client(middle));
    ASSERT_EQ(GetCapture(), window.get());
    SendMessageA(window.get(), WM_LBUTTONUP, 0, client(end));
    ++expected;
    EXPECT_EQ(HostMouse::ups, expected) << end.x << "," << end.y;
    EXPECT_EQ(HostMouse::ups_with_capture, expected) << end.x << "," << end.y;
  }
  EXPECT_TRUE(TakePostedCommands(window.get()).empty());

  // A press on close that loses the capture (another window took it) is
  // over: the host's next release on close is the host's, and closes nothing.
  TakePostedCommands(window.get());
  SendMessageA(window.get(), WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(close->x, close->y));
  ASSERT_EQ(GetCapture(), window.get());
  ReleaseCapture();
  SendMessageA(window.get(), WM_LBUTTONDOWN, MK_LBUTTON, client(middle));
  SendMessageA(window.get(), WM_LBUTTONUP, 0, client(*close));
  EXPECT_EQ(HostMouse::ups, expected + 1);
  EXPECT_EQ(HostMouse::ups_with_capture, expected + 1);
  EXPECT_TRUE(TakePostedCommands(window.get()).empty());
  EXPECT_EQ(hk.remove(frame), 0);
  SetWindowLongPtrA(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostMouse::previous));
}

// A procedure that subclasses the window after the frame did, as a tooltip
// with TTF_SUBCLASS or the host itself does, and passes everything on.
struct LaterSubclass {
  static inline WNDPROC previous = nullptr;
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWindowProcA(previous, window, message, wparam, lparam);
  }
};

TEST_F(FrameExportsTest, DeletingTheFrameUnderALaterSubclassKeepsTheChainWhole) {
  TestWindow window;
  const int32_t frame = hk.create(window.get());
  ASSERT_NE(frame, 0);
  LaterSubclass::previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass::Proc)));
  const RECT r = window.Frame();
  const int middle_x = (r.left + r.right) / 2, middle_y = (r.top + r.bottom) / 2;

  EXPECT_EQ(hk.remove(frame), 0);
  EXPECT_EQ(window.CurrentProcedure(), &LaterSubclass::Proc) << "the later subclass is kept";
  EXPECT_EQ(HitTestAt(window.get(), middle_x, middle_y), HTCLIENT);
  // Decorated and undecorated again while the later subclass stays on top.
  const int32_t again = hk.create(window.get());
  ASSERT_NE(again, 0);
  EXPECT_EQ(HitTestAt(window.get(), middle_x, r.top + 1), HTTOP);
  EXPECT_EQ(HitTestAt(window.get(), middle_x, middle_y), HTCLIENT);
  EXPECT_EQ(hk.remove(again), 0);
  EXPECT_EQ(window.CurrentProcedure(), &LaterSubclass::Proc);

  // The later subclass goes, putting back the procedure it found.
  SetWindowLongPtrA(window.get(), GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(LaterSubclass::previous));
  EXPECT_EQ(HitTestAt(window.get(), middle_x, middle_y), HTCLIENT);
  EXPECT_EQ(window.CurrentProcedure(), window.OwnProcedure());
}

TEST_F(FrameExportsTest, WindowDestroyedBeforeItsFrameLeavesAHandleThatStillDeletes) {
  int32_t frame = 0;
  {
    TestWindow window;
    frame = hk.create(window.get());
    ASSERT_NE(frame, 0);
  }
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);  // paints nothing: the window is gone
  LRESULT slot = 9;
  EXPECT_EQ(hk.proc(frame, WM_NCHITTEST, 0, 0, &slot, 0), 0);
  EXPECT_EQ(hk.remove(frame), 0);
  // A new window, perhaps with the same handle value, is decorated afresh.
  TestWindow next;
  const int32_t again = hk.create(next.get());
  ASSERT_NE(again, 0);
  EXPECT_NE(next.CurrentProcedure(), next.OwnProcedure());
  EXPECT_EQ(HitTestAt(next.get(), next.Frame().left + 200, next.Frame().top + 1), HTTOP);
  EXPECT_EQ(hk.remove(again), 0);
  EXPECT_EQ(next.CurrentProcedure(), next.OwnProcedure());
}

}  // namespace
}  // namespace kx::hostkit::test

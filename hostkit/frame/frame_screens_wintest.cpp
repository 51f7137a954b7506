// What a decorated window looks like on the screen: the frame read back
// pixel by pixel in each part, active, inactive, maximised, in the system's
// colours, in the host's colours and with a bitmap. With KX_FRAME_SHOTS set
// to a folder, every picture is also saved there.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

#include <string>

#include "hostkit/frame/frame_test_support.h"

namespace kx::hostkit::test {
namespace {

constexpr COLORREF kCaption = RGB(200, 30, 30);
constexpr COLORREF kCaptionInactive = RGB(120, 120, 160);
constexpr COLORREF kTitle = RGB(255, 255, 0);
constexpr COLORREF kShadow = RGB(0, 0, 255);
constexpr COLORREF kIcon = RGB(0, 200, 0);
constexpr COLORREF kLeft = RGB(10, 20, 200), kTop = RGB(20, 200, 200), kRight = RGB(200, 20, 200),
                   kBottom = RGB(100, 50, 0), kBorderInactive = RGB(90, 90, 90);
constexpr COLORREF kClose = RGB(250, 128, 0), kClosePressed = RGB(30, 30, 30);
constexpr COLORREF kMinimise = RGB(0, 128, 250), kMinimiseHot = RGB(255, 255, 255);
constexpr COLORREF kMaximise = RGB(128, 0, 250), kRestore = RGB(250, 0, 128);
constexpr COLORREF kStrip = RGB(60, 180, 60);

struct Sample {
  int x, y;  // window coordinates
  COLORREF expected;
  const char* what;
};

class FrameScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hk.complete());
    fx = GetSystemMetrics(SM_CXFRAME);
    fy = GetSystemMetrics(SM_CYFRAME);
    caption = GetSystemMetrics(SM_CYCAPTION);
    menu = GetSystemMetrics(SM_CYMENU);
  }

  // The window as the screen shows it now.
  ScreenImage Shoot(HWND window, const std::string& name) {
    Pump(150);
    RECT r = {};
    GetWindowRect(window, &r);
    ScreenImage image = ScreenImage::Capture(r);
    image.SaveIfAsked(name);
    return image;
  }

  void ExpectSamples(const ScreenImage& image, std::initializer_list<Sample> samples) {
    for (const Sample& s : samples) {
      EXPECT_EQ(image.At(s.x, s.y), s.expected)
          << s.what << " at " << s.x << "," << s.y << ": got " << std::hex << image.At(s.x, s.y)
          << " expected " << s.expected;
    }
  }

  // A button's middle in window coordinates.
  POINT Button(HWND window, LRESULT code) {
    const auto p = FindCaptionPart(window, code);
    RECT r = {};
    GetWindowRect(window, &r);
    return p ? POINT{p->x - r.left, p->y - r.top} : POINT{-1, -1};
  }

  // The host's own looks for every painted part, nothing from the system.
  int32_t CreateCustomFrame(HWND window) {
    const int32_t frame = hk.create_ex(window, HOSTKIT_FRAME_KEEP_LOOKS, nullptr);
    struct Look {
      int part, state;
      COLORREF colour;
    } looks[] = {{1, 0, kCaption},
                 {1, 1, kCaptionInactive},
                 {2, 0, kTitle},
                 {2, 1, kTitle},
                 {3, 0, HOSTKIT_LOOK_NO_TEXT},
                 {4, 0, kIcon},
                 {6, 0, kLeft},
                 {7, 0, kTop},
                 {8, 0, kRight},
                 {9, 0, kBottom},
                 {6, 1, kBorderInactive},
                 {7, 1, kBorderInactive},
                 {8, 1, kBorderInactive},
                 {9, 1, kBorderInactive},
                 {10, 0, kClose},
                 {10, 2, kClosePressed},
                 {11, 0, kMinimise},
                 {11, 3, kMinimiseHot},
                 {12, 0, kMaximise},
                 {13, 0, kRestore},
                 {19, 0, kStrip}};
    for (const Look& l : looks) EXPECT_EQ(hk.set_color(frame, l.part, l.state, l.colour), 0);
    return frame;
  }

  FrameExports& hk = Exports();
  int fx = 0, fy = 0, caption = 0, menu = 0;
};

TEST_F(FrameScreenTest, SystemLooksActiveAndInactive) {
  TestWindow window("枠");
  const RECT r = window.Frame();
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int caption_y = fy + caption / 2, menu_y = fy + caption + menu / 2;
  // Undecorated, the system draws its own caption: the desktop is one on
  // which non-client areas are drawn as on a real screen.
  ScreenImage plain = Shoot(window.get(), "frame_none");
  EXPECT_NE(plain.At(width / 2, caption_y), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(plain.At(width / 2, menu_y), GetSysColor(COLOR_MENU));

  const int32_t frame = hk.create(window.get());
  ASSERT_NE(frame, 0);
  RedrawWindow(window.get(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const POINT close = Button(window.get(), HTCLOSE);

  ScreenImage active = Shoot(window.get(), "frame_system_active");
  ExpectSamples(active,
                {{width / 2, caption_y, GetSysColor(COLOR_ACTIVECAPTION), "caption"},
                 {fx / 2, height / 2, GetSysColor(COLOR_ACTIVEBORDER), "left border"},
                 {width / 2, fy / 2, GetSysColor(COLOR_ACTIVEBORDER), "top border"},
                 {width - 1 - fx / 2, height / 2, GetSysColor(COLOR_ACTIVEBORDER), "right border"},
                 {width / 2, height - 1 - fy / 2, GetSysColor(COLOR_ACTIVEBORDER), "bottom border"},
                 {width - fx - 3, menu_y, GetSysColor(COLOR_MENU), "menu strip"},
                 {width / 2, menu_y, GetSysColor(COLOR_MENU), "menu bar drawn by the system"}});
  // The close glyph: a button face with a dark cross in it.
  const RECT close_box = {close.x - 5, close.y - 4, close.x + 5, close.y + 4};
  EXPECT_GT(active.Count(close_box, GetSysColor(COLOR_BTNFACE)), 10);
  EXPECT_GT(active.Count(close_box, GetSysColor(COLOR_BTNTEXT)), 4);

  // A change of system settings places the parts again and keeps the host's looks.
  EXPECT_EQ(hk.set_color(frame, 1, 0, kCaption), 0);
  SendMessageA(window.get(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);
  ScreenImage changed = Shoot(window.get(), "frame_system_setting_change");
  ExpectSamples(changed, {{width / 2, caption_y, kCaption, "caption in the host's colour"}});
  EXPECT_GT(changed.Count(close_box, GetSysColor(COLOR_BTNTEXT)), 4) << "close glyph kept";
  EXPECT_EQ(hk.set_color(frame, 1, 0, GetSysColor(COLOR_ACTIVECAPTION)), 0);

  // Another window takes the focus: the frame turns inactive.
  TestWindow other("他", false, 700, 500, 300, 200);
  ScreenImage inactive = Shoot(window.get(), "frame_system_inactive");
  ExpectSamples(inactive, {{width / 2, caption_y, GetSysColor(COLOR_INACTIVECAPTION), "caption"},
                           {fx / 2, height / 2, GetSysColor(COLOR_INACTIVEBORDER), "left border"},
                           {width - fx - 3, menu_y, GetSysColor(COLOR_MENU), "menu strip"}});
  EXPECT_EQ(hk.remove(frame), 0);
}

TEST_F(FrameScreenTest, HostColoursInEveryPart) {
  TestWindow window("枠");
  const int32_t frame = CreateCustomFrame(window.get());
  ASSERT_NE(frame, 0);
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);
  const RECT r = window.Frame();
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int caption_y = fy + caption / 2;
  const POINT close = Button(window.get(), HTCLOSE);
  const POINT maximise = Button(window.get(), HTMAXBUTTON);
  const POINT minimise = Button(window.get(), HTMINBUTTON);

  ScreenImage image = Shoot(window.get(), "frame_custom_active");
  ExpectSamples(image, {{width / 2, caption_y, kCaption, "caption"},
                        {fx + 1 + GetSystemMetrics(SM_CXSMICON) / 2, caption_y, kIcon, "icon"},
                        {close.x, close.y, kClose, "close"},
                        {maximise.x, maximise.y, kMaximise, "maximise"},
                        {minimise.x, minimise.y, kMinimise, "minimise"},
                        {fx / 2, height / 2, kLeft, "left border"},
                        {width / 2, fy / 2, kTop, "top border"},
                        {width - 1 - fx / 2, height / 2, kRight, "right border"},
                        {width / 2, height - 1 - fy / 2, kBottom, "bottom border"},
                        {width - fx - 3, fy + caption + menu / 2, kStrip, "menu strip"}});
  // The title is drawn in its colour; its shadow is switched off.
  const RECT title = {fx, fy, width / 2, fy + caption};
  EXPECT_GT(image.Count(title, kTitle), 5);
  EXPECT_EQ(image.Count(title, kShadow), 0);

  // A new colour shows at the next paint only.
  EXPECT_EQ(hk.set_color(frame, 3, 0, kShadow), 0);
  EXPECT_EQ(hk.set_color(frame, 1, 0, kRestore), 0);
  ScreenImage before = ScreenImage::Capture(r);
  EXPECT_EQ(before.At(width / 2, caption_y), kCaption);
  PostMessageA(window.get(), RedrawMessage(), 0, 0);
  ScreenImage after = Shoot(window.get(), "frame_custom_shadow");
  EXPECT_EQ(after.At(width / 2, caption_y), kRestore);
  EXPECT_GT(after.Count(title, kShadow), 5);

  // A new title: the system draws the caption of its own at once, the
  // frame must come back over it.
  SetWindowTextA(window.get(), "新しい題");
  ScreenImage retitled = Shoot(window.get(), "frame_custom_retitled");
  ExpectSamples(retitled, {{width / 2 + 40, caption_y, kRestore, "caption"},
                           {close.x, close.y, kClose, "close"}});
  EXPECT_GT(retitled.Count(title, kTitle), 20);

  TestWindow other("他", false, 700, 500, 300, 200);
  ScreenImage inactive = Shoot(window.get(), "frame_custom_inactive");
  ExpectSamples(inactive, {{width / 2, caption_y, kCaptionInactive, "caption"},
                           {close.x, close.y, kClose, "close falls back to its state 0"},
                           {fx / 2, height / 2, kBorderInactive, "left border"},
                           {width / 2, fy / 2, kBorderInactive, "top border"}});
  EXPECT_EQ(hk.remove(frame), 0);
}

TEST_F(FrameScreenTest, PartOfTheFrameIsPaintedWhenOnlyThatPartNeedsIt) {
  TestWindow window("枠");
  const int32_t frame = CreateCustomFrame(window.get());
  ASSERT_NE(frame, 0);
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);
  const RECT r = window.Frame();
  const int width = r.right - r.left, height = r.bottom - r.top;
  // The left half of the caption band needs painting: the system sends a
  // region of it, and nothing outside it is painted.
  RepaintLeftHalfOfCaptionOnBlack(window.get());
  ScreenImage image = Shoot(window.get(), "frame_custom_left_half");
  ExpectSamples(image, {{width / 4, fy + caption / 2, kCaption, "caption in the region"},
                        {fx + 1 + GetSystemMetrics(SM_CXSMICON) / 2, fy + caption / 2, kIcon,
                         "icon in the region"},
                        {width * 3 / 4, fy + caption / 2, RGB(0, 0, 0), "caption outside it"},
                        {fx / 2, height / 2, RGB(0, 0, 0), "left border outside it"}});
  EXPECT_EQ(hk.remove(frame), 0);
}

TEST_F(FrameScreenTest, ButtonsShowHotAndPressedStates) {
  TestWindow window("枠");
  const int32_t frame = CreateCustomFrame(window.get());
  ASSERT_NE(frame, 0);
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);
  const RECT r = window.Frame();
  const POINT close = Button(window.get(), HTCLOSE);
  const POINT minimise = Button(window.get(), HTMINBUTTON);
  const LPARAM on_close = MAKELPARAM(r.left + close.x, r.top + close.y);
  const LPARAM on_minimise = MAKELPARAM(r.left + minimise.x, r.top + minimise.y);

  SendMessageA(window.get(), WM_NCMOUSEMOVE, HTMINBUTTON, on_minimise);
  ScreenImage hot = Shoot(window.get(), "frame_minimise_hot");
  ExpectSamples(hot, {{minimise.x, minimise.y, kMinimiseHot, "minimise under the mouse"},
                      {close.x, close.y, kClose, "close"}});
  // Close has no hot look: it stays in its state-0 look.
  SendMessageA(window.get(), WM_NCMOUSEMOVE, HTCLOSE, on_close);
  ScreenImage hot_close = Shoot(window.get(), "frame_close_hot");
  ExpectSamples(hot_close, {{minimise.x, minimise.y, kMinimise, "minimise left behind"},
                            {close.x, close.y, kClose, "close under the mouse"}});

  SendMessageA(window.get(), WM_NCLBUTTONDOWN, HTCLOSE, on_close);
  ScreenImage pressed = Shoot(window.get(), "frame_close_pressed");
  ExpectSamples(pressed, {{close.x, close.y, kClosePressed, "close held down"}});
  // Off the button the pressed look goes; back on it, it returns.
  SendMessageA(window.get(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 60));
  ScreenImage off = Shoot(window.get(), "frame_close_moved_off");
  ExpectSamples(off, {{close.x, close.y, kClose, "close with the mouse moved off"}});
  POINT back = {r.left + close.x, r.top + close.y};
  ScreenToClient(window.get(), &back);
  SendMessageA(window.get(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(back.x, back.y));
  ScreenImage on = Shoot(window.get(), "frame_close_moved_back");
  ExpectSamples(on, {{close.x, close.y, kClosePressed, "close with the mouse back on it"}});
  SendMessageA(window.get(), WM_LBUTTONUP, 0, MAKELPARAM(30, 60));
  EXPECT_TRUE(TakePostedCommands(window.get()).empty());

  // Released over the caption: the caption is painted whole again, with
  // its title and buttons, not as a bare band over them.
  SendMessageA(window.get(), WM_NCLBUTTONDOWN, HTCLOSE, on_close);
  POINT over_caption = {r.left + (r.right - r.left) / 2, r.top + close.y};
  ScreenToClient(window.get(), &over_caption);
  SendMessageA(window.get(), WM_LBUTTONUP, 0, MAKELPARAM(over_caption.x, over_caption.y));
  ScreenImage released = Shoot(window.get(), "frame_close_released_on_caption");
  ExpectSamples(released, {{close.x, close.y, kClose, "close after the release"},
                           {minimise.x, minimise.y, kMinimise, "minimise after the release"}});
  const RECT title = {fx, fy, (r.right - r.left) / 2, fy + caption};
  EXPECT_GT(released.Count(title, kTitle), 5);
  EXPECT_TRUE(TakePostedCommands(window.get()).empty());
  EXPECT_EQ(hk.remove(frame), 0);
}

TEST_F(FrameScreenTest, MaximisedShowsRestoreInsteadOfMaximise) {
  TestWindow window("枠");
  const int32_t frame = CreateCustomFrame(window.get());
  ASSERT_NE(frame, 0);
  ShowWindow(window.get(), SW_MAXIMIZE);
  Pump();
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);
  const RECT r = window.Frame();
  const int width = r.right - r.left;
  const POINT maximise = Button(window.get(), HTMAXBUTTON);
  const POINT close = Button(window.get(), HTCLOSE);
  ScreenImage image = Shoot(window.get(), "frame_custom_maximised");
  ExpectSamples(image, {{width / 2, fy + caption / 2, kCaption, "caption"},
                        {maximise.x, maximise.y, kRestore, "restore in place of maximise"},
                        {close.x, close.y, kClose, "close"}});
  // The screen's left edge is the client's: no border is painted into it.
  EXPECT_NE(image.At(fx, fy + caption + menu + 20), kLeft);
  EXPECT_EQ(hk.remove(frame), 0);
}

TEST_F(FrameScreenTest, BitmapStretchedOverTheCaption) {
  TestWindow window("枠");
  const int32_t frame = hk.create(window.get());
  ASSERT_NE(frame, 0);
  const std::string path = WriteTwoColourBitmap(16, 8, RGB(255, 0, 0), RGB(0, 0, 255));
  const int32_t image_index = hk.load_image(frame, path.c_str());
  DeleteFileA(path.c_str());
  ASSERT_GE(image_index, 0);
  ASSERT_EQ(hk.set_image(frame, 1, 0, image_index, 0), 0);
  // An image number the frame doesn't have leaves the look's colour alone.
  ASSERT_EQ(hk.set_color(frame, 7, 0, kTop), 0);
  ASSERT_EQ(hk.set_image(frame, 7, 0, image_index + 50, 0), 0);
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);
  const RECT r = window.Frame();
  const int width = r.right - r.left;
  const int y = fy + caption / 2;
  ScreenImage image = Shoot(window.get(), "frame_bitmap_caption");
  ExpectSamples(image,
                {{fx + (width - 2 * fx) / 4, y, RGB(255, 0, 0), "left half of the image"},
                 {fx + (width - 2 * fx) * 5 / 8, y, RGB(0, 0, 255), "right half of the image"},
                 {width / 2, fy / 2, kTop, "top border without its image"}});
  EXPECT_EQ(hk.remove(frame), 0);
}

TEST_F(FrameScreenTest, FixedContextReceivesThePainting) {
  TestWindow window("枠");
  const RECT r = window.Frame();
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, canvas);
  PatBlt(memory, 0, 0, width, height, WHITENESS);
  const int32_t frame =
      hk.create_ex(window.get(), HOSTKIT_FRAME_FIXED_DC | HOSTKIT_FRAME_KEEP_LOOKS, memory);
  ASSERT_NE(frame, 0);
  ASSERT_EQ(hk.set_color(frame, 1, 0, kCaption), 0);
  ASSERT_EQ(hk.set_color(frame, 6, 0, kLeft), 0);
  EXPECT_EQ(hk.draw(frame, 0, 0), 0);
  EXPECT_EQ(GetPixel(memory, width / 2, fy + caption / 2), kCaption);
  EXPECT_EQ(GetPixel(memory, fx / 2, height / 2), kLeft);
  EXPECT_EQ(hk.remove(frame), 0);
  SelectObject(memory, previous);
  DeleteObject(canvas);
  DeleteDC(memory);
}

}  // namespace
}  // namespace kx::hostkit::test

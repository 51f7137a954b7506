// The hyperlink control on a real window: colour, cursor, hover, keys, and
// everything given back when the control goes.
#include <gtest/gtest.h>

#include <windows.h>

#include "fitcheck/ui/hyperlink.h"

namespace kx {
namespace {

class HyperLinkWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 100, 100, 400, 200, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    control_ = CreateWindowExA(0, "STATIC", "link", WS_CHILD | WS_VISIBLE | SS_RIGHT, 10, 10, 300, 20, parent_,
                               reinterpret_cast<HMENU>(1011), nullptr, nullptr);
    ASSERT_NE(control_, nullptr);
    font_ = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    original_proc_ = GetWindowLongPtrA(control_, GWLP_WNDPROC);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }
  bool Underlined() {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(control_, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfUnderline != 0;
  }
  static HANDLE Property(HWND window) {
    return GetPropA(window, MAKEINTATOM(GlobalFindAtomA(
                                "_Hyperlink_Object_Pointer_\\{AFEED740-CC6D-47c5-831D-9848FD916EEF}")));
  }

  HWND parent_ = nullptr;
  HWND control_ = nullptr;
  HFONT font_ = nullptr;
  LONG_PTR original_proc_ = 0;
};

TEST_F(HyperLinkWinTest, WhiteTextHandCursorAndNotifyStyle) {
  CDirXLink link;
  link.Attach(control_, "Z:\\no such folder\\page.html");
  EXPECT_EQ(Property(control_), static_cast<HANDLE>(&link));
  EXPECT_NE(Property(parent_), nullptr);  // the parent's previous procedure
  EXPECT_TRUE(GetWindowLongPtrA(control_, GWL_STYLE) & SS_NOTIFY);

  HDC dc = GetDC(control_);
  SetTextColor(dc, RGB(0, 0, 0));
  SendMessageA(parent_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control_));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
  ReleaseDC(control_, dc);

  EXPECT_EQ(SendMessageA(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), HTCLIENT), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
}

TEST_F(HyperLinkWinTest, UnderlinedWhileTheMouseIsOverIt) {
  CDirXLink link;
  link.Attach(control_, "Z:\\no such folder\\page.html");
  EXPECT_FALSE(Underlined());
  SendMessageA(control_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(Underlined());
  EXPECT_EQ(GetCapture(), control_);
  SendMessageA(control_, WM_MOUSEMOVE, 0, MAKELPARAM(500, 5));  // outside: capture released
  EXPECT_NE(GetCapture(), control_);
  EXPECT_FALSE(Underlined());
}

TEST_F(HyperLinkWinTest, SpaceKeyAndClickOpenTheTarget) {
  CDirXLink link;
  link.Attach(control_, "Z:\\no such folder\\page.html");
  SendMessageA(control_, WM_KEYUP, 'A', 0);
  EXPECT_FALSE(link.Visited());
  SendMessageA(control_, WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(link.Visited());

  CDirXLink clicked;
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, parent_, nullptr,
                               nullptr, nullptr);
  clicked.Attach(other, "Z:\\no such folder\\other.html");
  SendMessageA(other, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(clicked.Visited());
  DestroyWindow(other);
}

TEST_F(HyperLinkWinTest, DestroyingTheControlGivesEverythingBack) {
  {
    CDirXLink link;
    link.Attach(control_, "target");
    // A second attach replaces the target only.
    link.Attach(control_, "second target");
    EXPECT_EQ(link.Target(), "second target");
    SendMessageA(control_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ReleaseCapture();
    // The control goes first, as the dialog's children do.
    WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control_, GWLP_WNDPROC));
    EXPECT_NE(reinterpret_cast<LONG_PTR>(proc), original_proc_);
    SendMessageA(control_, WM_DESTROY, 0, 0);
    EXPECT_EQ(GetWindowLongPtrA(control_, GWLP_WNDPROC), original_proc_);
    EXPECT_EQ(Property(control_), nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control_, WM_GETFONT, 0, 0)), font_);
  }
  DestroyWindow(parent_);  // restores the parent's procedure on the way
  parent_ = nullptr;
}

}  // namespace
}  // namespace kx

// The resources compiled into Fitview.exe, read from the built program, and
// the start-up notice shown from them.
#include <windows.h>

#include <gtest/gtest.h>

#include "fitview/resource.h"
#include "fitview/splash_dlg.h"
#include "platform/win32/unique_resource.h"
#include "tests/fitview/screen_image.h"
#include "tests/fitview/viewer_install.h"

namespace kx {
namespace {

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

LONG StyleOf(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class FitviewResources : public ::testing::Test {
 protected:
  win::UniqueModule program{LoadLibraryExA((test::ViewerInstall::BuildBinFolder() + "Fitview.exe").c_str(),
                                           nullptr, LOAD_LIBRARY_AS_DATAFILE)};
  HINSTANCE instance() const { return program.get(); }
};

TEST_F(FitviewResources, LabelBitmapsAreWhiteOnDarkGrey) {
  ASSERT_TRUE(program);
  for (int id : {IDB_LABEL_SAMPLE, IDB_LABEL_VIEW}) {
    win::UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(instance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(bitmap) << id;
    BITMAP info;
    GetObjectA(bitmap.get(), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 51);
    EXPECT_EQ(info.bmHeight, 15);
    // The corner is background; the strokes of the text are white.
    const BYTE* bits = static_cast<const BYTE*>(info.bmBits);
    const BYTE* corner = bits;
    EXPECT_EQ(corner[0], corner[1]);
    EXPECT_LT(corner[0], 0x60);
    int white = 0;
    for (int y = 0; y < 15; ++y) {
      for (int x = 0; x < 51; ++x) {
        const BYTE* p = bits + y * info.bmWidthBytes + x * info.bmBitsPixel / 8;
        if (p[0] > 0xC0 && p[1] > 0xC0 && p[2] > 0xC0) ++white;
      }
    }
    EXPECT_GT(white, 20) << id;
  }
}

TEST_F(FitviewResources, ProgramIconInBothSizes) {
  ASSERT_TRUE(program);
  for (int size : {32, 16}) {
    win::UniqueIcon icon(static_cast<HICON>(
        LoadImageA(instance(), MAKEINTRESOURCEA(IDI_FITVIEW), IMAGE_ICON, size, size, 0)));
    EXPECT_TRUE(icon) << size;
  }
}

TEST_F(FitviewResources, MainWindowTemplate) {
  ASSERT_TRUE(program);
  win::UniqueWindow dialog(
      CreateDialogParamA(instance(), MAKEINTRESOURCEA(IDD_FITVIEW), nullptr, &PlainDialog, 0));
  ASSERT_TRUE(dialog);
  EXPECT_EQ(TextOf(dialog.get()), "ドミレルデザイナー動作チェック");
  const LONG style = StyleOf(dialog.get());
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_FALSE(style & WS_VISIBLE);  // shown only once it has started
  EXPECT_TRUE(GetWindowLongA(dialog.get(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog.get(), WM_GETFONT, 0, 0)), sizeof(font),
             &font);
  EXPECT_STREQ(font.lfFaceName, "MS UI Gothic");

  struct Control {
    int id;
    LONG kind;
  };
  for (const Control& c : {Control{IDC_SAMPLE_PICTURE, SS_BITMAP}, Control{IDC_SAMPLE_LABEL, SS_BITMAP},
                           Control{IDC_DIVIDER, SS_BLACKRECT}, Control{IDC_VIEW, SS_OWNERDRAW},
                           Control{IDC_VIEW_LABEL, SS_BITMAP}}) {
    const HWND control = GetDlgItem(dialog.get(), c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(StyleOf(control) & SS_TYPEMASK, c.kind) << c.id;
  }
  // The labels carry their bitmaps from the start, and lie above the pictures.
  for (int id : {IDC_SAMPLE_LABEL, IDC_VIEW_LABEL}) {
    const auto image = reinterpret_cast<HBITMAP>(
        SendDlgItemMessageA(dialog.get(), id, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info = {};
    ASSERT_TRUE(GetObjectA(image, sizeof(info), &info)) << id;
    EXPECT_EQ(info.bmWidth, 51);
  }
  EXPECT_EQ(GetWindow(dialog.get(), GW_CHILD), GetDlgItem(dialog.get(), IDC_SAMPLE_LABEL));
}

TEST_F(FitviewResources, StartupNoticeCentredAndTopmost) {
  ASSERT_TRUE(program);
  CSplashDlg notice;
  ASSERT_TRUE(notice.Show(instance(), nullptr));
  const HWND window = FindWindowA(nullptr, "動作チェック");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
  const HWND text = GetWindow(window, GW_CHILD);
  EXPECT_EQ(TextOf(text), "起動中です");
  EXPECT_EQ(StyleOf(text) & SS_TYPEMASK, SS_CENTER);

  char shots[MAX_PATH] = {};
  if (GetEnvironmentVariableA("KX_SHOT_DIR", shots, MAX_PATH) > 0) {
    test::SaveBitmapFile(test::CaptureWindow(window), std::string(shots) + "\\notice.bmp");
  }
  notice.Destroy();
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace kx

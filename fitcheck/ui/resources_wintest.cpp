// Fitcheck's resources as the program loads them: the string table byte for
// byte, and the wizard dialog's controls where the layout puts them.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "fitcheck/ui/resource.h"
#include "fitcheck/ui/wizard_strings.h"
#include "tests/win/process.h"

namespace kx {
namespace {

class FitcheckResourcesWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string exe = test::TestProgramFolder() + "..\\bin\\Fitcheck.exe";
    module_ = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override { FreeLibrary(module_); }
  std::string String(UINT id) {
    char text[1024] = {};
    const int length = LoadStringA(module_, id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
  }
  HMODULE module_ = nullptr;
};

TEST_F(FitcheckResourcesWinTest, StringTableIsExact) {
  const std::map<UINT, std::string> expected = {
      {1001, TEXT_PAGE_TITLE}, {1002, TEXT_TITLE_ENVIRONMENT}, {1003, TEXT_TITLE_TEST},
      {1004, TEXT_TITLE_END}, {1005, TEXT_START_TEXT}, {1006, TEXT_ENVIRONMENT_OK},
      {1007, TEXT_CLICK_NEXT}, {1008, TEXT_NEXT_TO_GRAPHICS}, {1009, TEXT_OS_NOT_SUPPORTED},
      {1010, TEXT_MEMORY_LOW}, {1011, TEXT_SCREEN_SMALL}, {1012, TEXT_NO_DIRECTX},
      {1013, TEXT_DIRECTX_SITE}, {1014, TEXT_OS_LABEL}, {1015, TEXT_MEMORY_LABEL},
      {1016, TEXT_SCREEN_LABEL}, {1017, TEXT_CONFIRM_CANCEL}, {1018, TEXT_WIZARD_CAPTION},
      {1019, TEXT_FINISH}, {1020, TEXT_CANCEL}, {1021, TEXT_TEST_COUNTER},
      {1022, TEXT_DIRECTX_DISC}, {1023, TEXT_TEST_HINT}, {1024, TEXT_3D_FAILED},
      {1025, TEXT_DRIVER_PROBLEM}, {1026, TEXT_DRIVER_SOURCE}, {1027, TEXT_DONE},
      {1028, TEXT_RESULT_HEADING}, {1029, TEXT_CHECK_OVER}, {1030, TEXT_3D_RETRY},
      {1031, TEXT_3D_QUESTION}, {1032, TEXT_OTHER_SETTINGS}, {1033, TEXT_DIRECTX_URL},
      {1034, TEXT_FILES_MISSING}, {1035, TEXT_WIZARD_ABORT}, {1036, TEXT_NEXT_TO_SCREEN},
      {1037, TEXT_ENVIRONMENT_OK_MEMORY}, {1038, TEXT_DXSETUP_FAILED}, {1039, TEXT_DXSETUP_MISSING},
  };
  for (const auto& [id, text] : expected) EXPECT_EQ(String(id), text) << id;
  // Shift-JIS with the CR kept: "\r動作" after "%s".
  EXPECT_EQ(String(1001).substr(0, 4), "%s\r\x93");
  EXPECT_EQ(String(1019), "\x8F\x49\x97\xB9");  // 終了
}

INT_PTR CALLBACK Passive(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(FitcheckResourcesWinTest, WizardDialogControlsInDialogUnits) {
  HWND dialog = CreateDialogParamA(module_, MAKEINTRESOURCEA(IDD_FITCHECK), nullptr, Passive, 0);
  ASSERT_NE(dialog, nullptr);
  char caption[64] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "動作チェックウィザード");
  RECT client;
  GetClientRect(dialog, &client);
  RECT units = {0, 0, 219, 215};
  MapDialogRect(dialog, &units);
  EXPECT_EQ(client.right, units.right);
  EXPECT_EQ(client.bottom, units.bottom);

  struct Expected {
    int id, x, y, cx, cy;
    const char* text;
  };
  const Expected controls[] = {
      {IDC_PAGE_TITLE, 8, 18, 91, 19, "3D ドミレルデザイナー\r動作チェックウィザード"},
      {IDC_PROGRESS, 115, 17, 98, 11, ""},
      {IDC_NEXT, 102, 192, 54, 16, "次へ(&N)>"},
      {IDC_CANCEL_BUTTON, 160, 192, 53, 16, "中止"},
      {IDC_MAIN_TEXT, 79, 53, 134, 32, "OS:\rメモリ:\r画面解像度:\rなど"},
      {IDC_SECOND_TEXT, 8, 120, 205, 40, "1\r2\r3\r4\r5"},
      {IDC_INSTRUCTION, 8, 164, 205, 18, "次へ\r進んで"},
      {IDC_VERDICT_TEXT, 79, 97, 134, 41, "OK/NG\r2\r3\r4\r5"},
      {IDC_INSTALL_DIRECTX, 8, 192, 70, 16, "DirextXをインストール"},
      {IDC_SWITCH_SETTINGS, 79, 146, 7, 8, ""},
      {IDC_SWITCH_LABEL, 90, 145, 123, 17, "上記の設定に切り替える\r(通常はオンのままにしておいてください)"},
      {IDC_DIRECTX_LINK, 8, 131, 198, 8, "link"},
  };
  for (const Expected& c : controls) {
    HWND control = GetDlgItem(dialog, c.id);
    ASSERT_NE(control, nullptr) << c.id;
    // Position and size are converted apart, as the dialog manager does.
    RECT want = {c.x, c.y, c.cx, c.cy};
    MapDialogRect(dialog, &want);
    want.right += want.left;
    want.bottom += want.top;
    RECT got;
    GetWindowRect(control, &got);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(got.left, want.left) << c.id;
    EXPECT_EQ(got.top, want.top) << c.id;
    EXPECT_EQ(got.right, want.right) << c.id;
    EXPECT_EQ(got.bottom, want.bottom) << c.id;
    char text[256] = {};
    GetWindowTextA(control, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.id;
  }
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_NEXT), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDC_SWITCH_SETTINGS), GWL_STYLE) & BS_TYPEMASK,
            BS_AUTOCHECKBOX);
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_SWITCH_LABEL), GWL_STYLE) & SS_NOTIFY);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDC_DIRECTX_LINK), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDC_PICTURE), GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
  DestroyWindow(dialog);
}

TEST_F(FitcheckResourcesWinTest, PicturesAndIcon) {
  for (int id : {IDB_PAGE_START, IDB_PAGE_PROBLEM, IDB_PAGE_OK, IDB_PAGE_WARNING}) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(module_, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr) << id;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_GT(info.bmWidth, 300) << id;
    DeleteObject(bitmap);
  }
  EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(IDI_FITCHECK), MAKEINTRESOURCEA(14)), nullptr);  // RT_GROUP_ICON
}

}  // namespace
}  // namespace kx

// RenderDialogDoModal through Hostkit.dll as the host calls it, the dialogs
// driven from another thread as a user would, and what they stored read
// back with the registry and profile APIs.
#include <gtest/gtest.h>

#include "hostkit/render/render_dialog_driver.h"
#include "hostkit/render/render_resource.h"
#include "tests/win/registry_value.h"
#include "tests/win/temp_folder.h"

namespace kx::test {
namespace {

class RenderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // HV_Lib.dll sits beside Hostkit.dll, as it does beside the host.
    SetDllDirectoryA(BinFolder().c_str());
    key_ = "Software\\KxRenderTest\\" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(counter_++);
    views_ = folder_ / "views.ini";
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
    SetDllDirectoryA(nullptr);
  }

  void WriteViews(int count) {
    const std::string file = views_;
    WritePrivateProfileStringA("RenderView", "number", std::to_string(count).c_str(), file.c_str());
    WritePrivateProfileStringA("RenderView", "savePath", (folder_.path() + "saved").c_str(),
                               file.c_str());
    const char* names[] = {"現在の視点", "玄関", "リビング", "寝室",
                           "台所",       "浴室", "庭",       "屋根裏"};
    for (int i = 0; i < count; ++i) {
      const std::string section = "View" + std::to_string(i);
      WritePrivateProfileStringA(section.c_str(), "index", std::to_string(10 + i).c_str(),
                                 file.c_str());
      WritePrivateProfileStringA(section.c_str(), "viewname", names[i % 8], file.c_str());
      WritePrivateProfileStringA(section.c_str(), "filename",
                                 (std::to_string(i + 1) + names[i % 8]).c_str(), file.c_str());
    }
  }
  RenderCall::Arguments Args(int mode) {
    RenderCall::Arguments a;
    a.mode = mode;
    a.key_path = key_;
    a.view_list_path = views_;
    a.roof_mode = 1;
    return a;
  }
  DWORD Dword(const std::string& name, const char* sub = "\\Settings") {
    const RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, key_ + sub, name);
    DWORD dword = 0xDEADBEEF;
    EXPECT_TRUE(value.AsDword(dword)) << name << " type " << value.type;
    return dword;
  }
  bool SettingsKeyExists() {
    win::UniqueKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, (key_ + "\\Settings").c_str(), 0, KEY_READ,
                         key.put()) == ERROR_SUCCESS;
  }
  // Answers the message box titled `title` with `button`; its text into `text`.
  void Answer(DialogDriver& dialog, const char* title, int button, std::string& text) {
    HWND box = nullptr;
    ASSERT_TRUE(dialog.WaitForMessageBox(title, kWaitMs, box));
    ASSERT_TRUE(DialogDriver::ReadMessageText(box, text));
    ASSERT_TRUE(DialogDriver::AnswerMessageBox(box, button));
  }

  TempFolder folder_{"kx render"};
  std::string key_;
  std::string views_;
  static inline int counter_ = 0;
};

TEST_F(RenderDialogTest, LocalStartStoresTheSettingsAndTheChosenView) {
  WriteViews(2);
  RenderCall call(Args(0));
  ASSERT_TRUE(call.Start());
  DialogDriver dialog;
  ASSERT_TRUE(dialog.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ControlState state;
  ASSERT_TRUE(dialog.ReadState(IDC_RENDER_TEST, state));
  EXPECT_FALSE(state.visible);
  ASSERT_TRUE(dialog.ReadState(IDC_RENDER_ROOF_HALF, state));
  EXPECT_TRUE(state.checked);
  std::vector<std::string> items;
  ASSERT_TRUE(dialog.ReadComboItems(IDC_RENDER_VIEW, items));
  EXPECT_EQ(items, (std::vector<std::string>{"現在の視点", "玄関"}));
  ASSERT_TRUE(dialog.ReadComboItems(IDC_RENDER_METHOD, items));
  EXPECT_EQ(items.size(), 3u);
  ShotIfAsked(dialog.window(), "render_settings_local_paper");
  EXPECT_EQ(TextsThatDoNotFit(dialog.window()), "");

  ASSERT_TRUE(dialog.SelectComboItem(IDC_RENDER_VIEW, 1));
  ASSERT_TRUE(dialog.Click(IDC_RENDER_ROOF_HIDDEN));
  ASSERT_TRUE(dialog.SelectComboItem(IDC_RENDER_SIZING, 1));
  ASSERT_TRUE(WaitUntil(
      [&] { return dialog.ReadState(IDC_RENDER_SIZE_PRESET, state) && state.visible; }, kWaitMs));
  ASSERT_TRUE(dialog.SelectComboItem(IDC_RENDER_SIZE_PRESET, 6));
  ASSERT_TRUE(dialog.WaitForText(IDC_RENDER_WIDTH, "800", kWaitMs));
  ShotIfAsked(dialog.window(), "render_settings_local_pixels");
  EXPECT_EQ(TextsThatDoNotFit(dialog.window()), "");
  ASSERT_TRUE(dialog.Click(IDC_RENDER_START));
  ASSERT_TRUE(call.WaitForReturn());

  EXPECT_EQ(call.result(), 1);
  EXPECT_EQ(call.roof_mode(), 2);
  EXPECT_EQ(Dword("Sizing"), 1u);
  EXPECT_EQ(Dword("PixelSizeType"), 6u);
  EXPECT_EQ(Dword("Width"), 800u);
  EXPECT_EQ(Dword("Height"), 600u);
  EXPECT_EQ(Dword("SameRatio"), 0u);
  EXPECT_EQ(Dword("DPI"), 125u);
  EXPECT_EQ(Dword("PaperSize"), 4u);
  EXPECT_EQ(Dword("RenderType"), 0u);
  EXPECT_EQ(Dword("TextureAmb"), 50u);
  EXPECT_EQ(Dword("UseBGLookup"), 0u);
  EXPECT_EQ(IniValue(views_, "View0", "renderOn"), "0");
  EXPECT_EQ(IniValue(views_, "View1", "renderOn"), "1");
  EXPECT_EQ(IniValue(views_, "View1", "roofOn"), "0");
  EXPECT_EQ(IniValue(views_, "RenderView", "mode"), "0");
}

TEST_F(RenderDialogTest, CancelWritesNothing) {
  WriteViews(2);
  const std::string before = TempFolder::ReadFile(views_);
  RenderCall call(Args(0));
  ASSERT_TRUE(call.Start());
  DialogDriver dialog;
  ASSERT_TRUE(dialog.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ASSERT_TRUE(dialog.Click(IDC_RENDER_ROOF_HIDDEN));
  ASSERT_TRUE(dialog.Click(IDCANCEL));
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(call.result(), 0);
  EXPECT_EQ(call.roof_mode(), 1);
  EXPECT_FALSE(SettingsKeyExists());
  EXPECT_EQ(TempFolder::ReadFile(views_), before);
}

TEST_F(RenderDialogTest, ServiceModeLogsInShowsPointsAndTests) {
  WriteViews(1);
  RenderCall::Arguments args = Args(1);
  args.login = "designer";
  RenderCall call(args);
  ASSERT_TRUE(call.Start());
  DialogDriver dialog;
  ASSERT_TRUE(dialog.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  // A4 at 125 dpi is 1264 x 836 pixels: 106 started 10,000s.
  EXPECT_TRUE(dialog.WaitForText(IDC_RENDER_POINTS_TEXT,
                                 "残り: 100000 ポイント\r\n今回: 106 ポイント", kWaitMs));
  std::vector<std::string> items;
  ASSERT_TRUE(dialog.ReadComboItems(IDC_RENDER_METHOD, items));
  EXPECT_EQ(items, (std::vector<std::string>{"通常", "ユーザー指定..."}));
  ShotIfAsked(dialog.window(), "render_settings_service");
  EXPECT_EQ(TextsThatDoNotFit(dialog.window()), "");

  // The detail dialog of this mode: the background is reflected.
  ASSERT_TRUE(dialog.SelectComboItem(IDC_RENDER_METHOD, 1));
  DialogDriver detail;
  ASSERT_TRUE(detail.WaitFor(kDetailTitle, IDC_DETAIL_BG_ON, kWaitMs));
  ShotIfAsked(detail.window(), "render_detail_service");
  EXPECT_EQ(TextsThatDoNotFit(detail.window()), "");
  ASSERT_TRUE(detail.Click(IDC_DETAIL_BG_ON));
  ControlState state;
  ASSERT_TRUE(WaitUntil(
      [&] { return detail.ReadState(IDC_DETAIL_BG_OFF, state) && !state.checked; }, kWaitMs));
  ASSERT_TRUE(detail.Click(IDOK));
  ASSERT_TRUE(detail.WaitUntilGone(kWaitMs));

  ASSERT_TRUE(dialog.Click(IDC_RENDER_TEST));
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(call.result(), 1);
  EXPECT_EQ(call.login(), "designer;1");
  EXPECT_EQ(call.roof_mode(), 1);
  EXPECT_EQ(Dword("UseBGLookup"), 1u);
  EXPECT_EQ(Dword("Method"), 1u);
  EXPECT_EQ(IniValue(views_, "RenderView", "mode"), "1");
  EXPECT_EQ(IniValue(views_, "View0", "renderOn"), "1");
}

TEST_F(RenderDialogTest, ARefusedLoginReturnsAtOnce) {
  RenderCall::Arguments args = Args(1);
  args.login = "refuse me";
  RenderCall call(args);
  ASSERT_TRUE(call.Start());
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(call.result(), 0);
  EXPECT_EQ(call.login(), "refuse me");  // the caller's slot is left alone
  EXPECT_EQ(call.roof_mode(), 1);
  EXPECT_EQ(FindVisibleWindow(kSettingsTitle), nullptr);
  EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(RenderDialogTest, AMissingServiceLibraryFailsTheLogin) {
  SetDllDirectoryA(nullptr);
  RenderCall call(Args(1));
  ASSERT_TRUE(call.Start());
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(call.result(), 0);
}

TEST_F(RenderDialogTest, ResolutionOutOfRangeKeepsTheDialogOpen) {
  RenderCall call(Args(0));
  ASSERT_TRUE(call.Start());
  DialogDriver dialog;
  ASSERT_TRUE(dialog.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ASSERT_TRUE(dialog.SelectComboItem(IDC_RENDER_RESOLUTION, 3));
  ControlState state;
  ASSERT_TRUE(
      WaitUntil([&] { return dialog.ReadState(IDC_RENDER_DPI, state) && state.enabled; }, kWaitMs));
  ASSERT_TRUE(dialog.TypeText(IDC_RENDER_DPI, "30"));
  ASSERT_TRUE(dialog.Click(IDC_RENDER_START));
  // The good value goes in while the message is still up. Leaving the box
  // validates it again, and under Wine a late focus event from the X server
  // can take the activation from the dialog for a moment after the message:
  // with the bad value still there, that would be a second message.
  HWND box = nullptr;
  ASSERT_TRUE(dialog.WaitForMessageBox(kSettingsTitle, kWaitMs, box));
  std::string text;
  ASSERT_TRUE(DialogDriver::ReadMessageText(box, text));
  EXPECT_EQ(text, "36 から 2400 までの整数を入力してください。");
  ASSERT_TRUE(dialog.TypeText(IDC_RENDER_DPI, "300"));
  ASSERT_TRUE(DialogDriver::AnswerMessageBox(box, IDOK));
  EXPECT_TRUE(dialog.Present());
  EXPECT_FALSE(SettingsKeyExists());
  ASSERT_TRUE(dialog.Click(IDC_RENDER_START));
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(call.result(), 1);
  EXPECT_EQ(Dword("DPI"), 300u);
}

TEST_F(RenderDialogTest, RayTracingDetailsAreTakenOver) {
  RenderCall call(Args(0));
  ASSERT_TRUE(call.Start());
  DialogDriver dialog;
  ASSERT_TRUE(dialog.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ASSERT_TRUE(dialog.SelectComboItem(IDC_RENDER_METHOD, 2));
  DialogDriver detail;
  ASSERT_TRUE(detail.WaitFor(kDetailTitle, IDC_DETAIL_RAYCAST, kWaitMs));
  ControlState state;
  ASSERT_TRUE(detail.ReadState(IDC_DETAIL_FLAT, state));
  EXPECT_FALSE(state.enabled);
  std::vector<std::string> items;
  ASSERT_TRUE(detail.ReadComboItems(IDC_DETAIL_SAMPLING, items));
  EXPECT_EQ(items.size(), 7u);
  ShotIfAsked(detail.window(), "render_detail_local");
  EXPECT_EQ(TextsThatDoNotFit(detail.window()), "");
  ASSERT_TRUE(detail.TypeText(IDC_DETAIL_RAYCAST, "21"));
  ASSERT_TRUE(detail.Click(IDOK));
  std::string text;
  Answer(detail, kDetailTitle, IDOK, text);
  EXPECT_EQ(text, "1 から 20 までの整数を入力してください。");
  ASSERT_TRUE(detail.TypeText(IDC_DETAIL_RAYCAST, "5"));
  ASSERT_TRUE(detail.SelectComboItem(IDC_DETAIL_ANTIALIAS, 3));
  ASSERT_TRUE(WaitUntil(
      [&] { return detail.ReadComboItems(IDC_DETAIL_SAMPLING, items) && items.size() == 9; },
      kWaitMs));
  ASSERT_TRUE(detail.Click(IDOK));
  ASSERT_TRUE(detail.WaitUntilGone(kWaitMs));
  int selection = -1;
  ASSERT_TRUE(dialog.ReadComboSelection(IDC_RENDER_METHOD, selection));
  EXPECT_EQ(selection, 2);
  ASSERT_TRUE(dialog.Click(IDC_RENDER_START));
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(Dword("RenderType"), 1u);
  EXPECT_EQ(Dword("Raycast"), 5u);
  EXPECT_EQ(Dword("AntiAliasType"), 3u);
  EXPECT_EQ(Dword("Sampling"), 2u);
  EXPECT_EQ(Dword("Method"), 2u);
}

TEST_F(RenderDialogTest, MultiViewStartCreatesTheFolderAndStoresTheChoice) {
  WriteViews(8);
  RenderCall call(Args(0));
  ASSERT_TRUE(call.Start());
  DialogDriver settings;
  ASSERT_TRUE(settings.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ASSERT_TRUE(settings.TypeText(IDC_RENDER_MARGIN_LEFT, "10"));
  ASSERT_TRUE(settings.Click(IDC_RENDER_MULTI));
  DialogDriver multi;
  ASSERT_TRUE(multi.WaitFor(kMultiViewTitle, IDC_MULTI_BACK, kWaitMs));
  std::string text;
  ASSERT_TRUE(multi.ReadText(IDC_MULTI_FOLDER, text));
  EXPECT_EQ(text, folder_.path() + "saved");
  std::vector<std::string> items;
  ASSERT_TRUE(multi.ReadComboItems(IDC_MULTI_FILE_TYPE, items));
  EXPECT_EQ(items, (std::vector<std::string>{"ビットマップ(*.bmp)", "JPEG(*.jpg)"}));
  ASSERT_TRUE(multi.SetCheck(IDC_MULTI_RENDER_FIRST, true));
  ASSERT_TRUE(multi.SetCheck(IDC_MULTI_RENDER_FIRST + 2, true));
  ControlState state;
  ASSERT_TRUE(multi.ReadState(IDC_MULTI_ROOF_FIRST + 2, state));
  EXPECT_TRUE(state.enabled);
  ASSERT_TRUE(multi.ReadState(IDC_MULTI_SCROLL, state));
  EXPECT_TRUE(state.visible);
  ShotIfAsked(multi.window(), "render_multi_view_local");
  EXPECT_EQ(TextsThatDoNotFit(multi.window()), "");
  // Scroll to the last page: the rows show entries 2 to 7.
  PostMessageA(multi.window(), WM_VSCROLL, SB_PAGEDOWN,
               reinterpret_cast<LPARAM>(multi.Control(IDC_MULTI_SCROLL)));
  ASSERT_TRUE(multi.WaitForText(IDC_MULTI_NAME_FIRST + 5, "屋根裏", kWaitMs));
  ASSERT_TRUE(multi.SetCheck(IDC_MULTI_ROOF_FIRST, true));  // entry 2

  const std::string target = folder_.path() + "新しい\\表示";
  ASSERT_TRUE(multi.TypeText(IDC_MULTI_FOLDER, target + "\\"));
  ASSERT_TRUE(multi.SelectComboItem(IDC_MULTI_FILE_TYPE, 1));
  ASSERT_TRUE(multi.Click(IDC_RENDER_START));
  Answer(multi, kConfirmTitle, IDYES, text);
  EXPECT_EQ(text, "指定されたディレクトリが存在しません。\n作成しますか？");
  ASSERT_TRUE(call.WaitForReturn());

  EXPECT_EQ(call.result(), 1);
  EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  const RegistryValue folder =
      ReadRegistryValue(HKEY_CURRENT_USER, key_ + "\\Directories", "ImageDir");
  EXPECT_EQ(folder.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(folder.bytes, target + std::string(1, '\0'));
  EXPECT_EQ(IniValue(views_, "RenderView", "savePath"), target);
  EXPECT_EQ(IniValue(views_, "RenderView", "mode"), "2");
  EXPECT_EQ(IniValue(views_, "RenderView", "type"), "1");
  EXPECT_EQ(IniValue(views_, "View0", "renderOn"), "1");
  EXPECT_EQ(IniValue(views_, "View1", "renderOn"), "0");
  EXPECT_EQ(IniValue(views_, "View2", "renderOn"), "1");
  EXPECT_EQ(IniValue(views_, "View2", "roofOn"), "1");
  EXPECT_EQ(IniValue(views_, "View0", "roofOn"), "0");
  // The settings dialog's values are stored after the multi-view dialog.
  EXPECT_EQ(Dword("LMargin"), 10u);
}

TEST_F(RenderDialogTest, BackReturnsToTheSettingsDialogWithTheChoicesLeftInIt) {
  WriteViews(3);
  RenderCall call(Args(0));  // the caller's roof mode: semi-transparent
  ASSERT_TRUE(call.Start());
  DialogDriver settings;
  ASSERT_TRUE(settings.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ASSERT_TRUE(settings.Click(IDC_RENDER_ROOF_HIDDEN));
  ASSERT_TRUE(settings.SelectComboItem(IDC_RENDER_VIEW, 2));
  ASSERT_TRUE(settings.TypeText(IDC_RENDER_MARGIN_LEFT, "10"));
  ASSERT_TRUE(settings.Click(IDC_RENDER_MULTI));
  DialogDriver multi;
  ASSERT_TRUE(multi.WaitFor(kMultiViewTitle, IDC_MULTI_BACK, kWaitMs));
  ControlState state;
  ASSERT_TRUE(multi.ReadState(IDC_MULTI_RENDER_FIRST + 3, state));
  EXPECT_FALSE(state.visible);
  ASSERT_TRUE(multi.ReadState(IDC_MULTI_SCROLL, state));
  EXPECT_FALSE(state.visible);
  ASSERT_TRUE(multi.Click(IDC_MULTI_BACK));
  ASSERT_TRUE(multi.WaitUntilGone(kWaitMs));

  DialogDriver again;
  ASSERT_TRUE(again.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ASSERT_TRUE(again.ReadState(IDC_RENDER_ROOF_HIDDEN, state));
  EXPECT_TRUE(state.checked);
  ASSERT_TRUE(again.ReadState(IDC_RENDER_ROOF_HALF, state));
  EXPECT_FALSE(state.checked);
  int view = -1;
  ASSERT_TRUE(again.ReadComboSelection(IDC_RENDER_VIEW, view));
  EXPECT_EQ(view, 2);
  std::string margin;
  ASSERT_TRUE(again.ReadText(IDC_RENDER_MARGIN_LEFT, margin));
  EXPECT_EQ(margin, "10");
  ASSERT_TRUE(again.Click(IDC_RENDER_START));
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(call.result(), 1);
  EXPECT_EQ(call.roof_mode(), 2);
  EXPECT_EQ(IniValue(views_, "View0", "roofOn"), "0");
  EXPECT_EQ(IniValue(views_, "View2", "renderOn"), "1");
  EXPECT_EQ(IniValue(views_, "View0", "renderOn"), "0");
  EXPECT_EQ(Dword("LMargin"), 10u);
}

TEST_F(RenderDialogTest, ServiceMultiViewOffersBitmapsAndCountsPoints) {
  WriteViews(3);
  RenderCall::Arguments args = Args(1);
  args.login = "designer;4";
  RenderCall call(args);
  ASSERT_TRUE(call.Start());
  DialogDriver settings;
  ASSERT_TRUE(settings.WaitFor(kSettingsTitle, IDC_RENDER_START, kWaitMs));
  ASSERT_TRUE(settings.Click(IDC_RENDER_MULTI));
  DialogDriver multi;
  ASSERT_TRUE(multi.WaitFor(kMultiViewTitle, IDC_MULTI_BACK, kWaitMs));
  std::vector<std::string> items;
  ASSERT_TRUE(multi.ReadComboItems(IDC_MULTI_FILE_TYPE, items));
  EXPECT_EQ(items, (std::vector<std::string>{"ビットマップ(*.bmp)"}));
  ASSERT_TRUE(multi.Click(IDC_MULTI_SELECT_ALL));
  // Three views of 1264 x 836 pixels: 318 points.
  EXPECT_TRUE(multi.WaitForText(IDC_RENDER_POINTS_TEXT,
                                "残り: 100000 ポイント\r\n今回: 318 ポイント", kWaitMs));
  ShotIfAsked(multi.window(), "render_multi_view_service");
  EXPECT_EQ(TextsThatDoNotFit(multi.window()), "");
  ASSERT_TRUE(multi.TypeText(IDC_MULTI_FOLDER, folder_.path()));
  TempFolder::WriteFile(folder_ / "2玄関.bmp", "old");
  ASSERT_TRUE(multi.Click(IDC_RENDER_START));
  std::string text;
  Answer(multi, kConfirmTitle, IDYES, text);
  EXPECT_EQ(text,
            "これらのファイルが上書きされますがよろしいですか\n" + folder_.path() + "2玄関.bmp\n");
  ASSERT_TRUE(call.WaitForReturn());
  EXPECT_EQ(call.result(), 1);
  EXPECT_EQ(call.login(), "designer;5");
  EXPECT_EQ(IniValue(views_, "RenderView", "type"), "0");
  EXPECT_EQ(IniValue(views_, "View1", "roofOn"), "1");
}

}  // namespace
}  // namespace kx::test

#include "hostkit/render/render_multi_view.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "hostkit/render/render_fakes.h"
#include "hostkit/render/render_resource.h"
#include "tests/fakes/memory_file_system.h"

namespace kx::hostkit {
namespace {

const std::string kKey = "Software\\Maker\\Designer";
const std::string kDirectories = kKey + "\\Directories";
const std::string kViews = "C:\\host\\views.ini";

class FakeBrowser final : public FolderBrowser {
 public:
  std::optional<std::string> chosen;
  std::string title;
  std::optional<std::string> Browse(const std::string& t) override {
    title = t;
    return chosen;
  }
};

class RenderMultiViewTest : public ::testing::Test {
 protected:
  void Views(int count, const std::string& save_path = "D:\\pictures\\") {
    profiles.Set(kViews, "RenderView", "number", std::to_string(count));
    profiles.Set(kViews, "RenderView", "savePath", save_path);
    for (int i = 0; i < count; ++i) {
      const std::string section = Format("View%d", i);
      profiles.Set(kViews, section, "index", std::to_string(100 + i));
      profiles.Set(kViews, section, "viewname", Format("視点%d", i));
      profiles.Set(kViews, section, "filename", Format("%d視点%d", i + 1, i));
    }
  }
  void Open(bool service) {
    RenderMultiViewArgs args;
    args.service_mode = service;
    args.key_path = kKey;
    args.view_list_path = kViews;
    view.controls[IDC_RENDER_POINTS_GROUP].height = 40;
    dialog = std::make_unique<RenderMultiView>(
        RenderMultiViewServices{view, registry, profiles, folders, browser, &points}, args);
    dialog->SetImageSize({640, 480});
    dialog->OnInitDialog();
  }
  void Tick(int row, bool on) {
    view.SetChecked(IDC_MULTI_RENDER_FIRST + row, on);
    dialog->OnRenderCheck(row);
  }

  test::FakeDialogView view;
  test::FakeSettingsRegistry registry;
  kx::test::MemoryProfileStore profiles;
  test::FakeFolders folders;
  FakeBrowser browser;
  test::FakePointsService points;
  std::unique_ptr<RenderMultiView> dialog;
};

TEST_F(RenderMultiViewTest, ThreeViewsInLocalMode) {
  Views(3);
  Open(false);
  EXPECT_FALSE(view[IDC_RENDER_POINTS_GROUP].shown);
  EXPECT_FALSE(view[IDC_RENDER_POINTS_TEXT].shown);
  for (int id : {IDC_MULTI_BACK, IDC_RENDER_START, 2}) EXPECT_EQ(view[id].moved_up, 40);
  EXPECT_EQ(view.shrunk, 40);
  EXPECT_EQ(view.ItemTexts(IDC_MULTI_FILE_TYPE),
            (std::vector<std::string>{"ビットマップ(*.bmp)", "JPEG(*.jpg)"}));
  EXPECT_EQ(view.ComboSelection(IDC_MULTI_FILE_TYPE), 0);
  for (int row = 0; row < 6; ++row) {
    EXPECT_EQ(view[IDC_MULTI_RENDER_FIRST + row].shown, row < 3) << row;
    EXPECT_EQ(view[IDC_MULTI_NAME_FIRST + row].shown, row < 3) << row;
  }
  EXPECT_FALSE(view[IDC_MULTI_SCROLL].shown);
  EXPECT_EQ(view.Text(IDC_MULTI_NAME_FIRST + 2), "視点2");
  EXPECT_FALSE(view[IDC_MULTI_ROOF_FIRST].enabled);  // not ticked for rendering
  EXPECT_EQ(view.Text(IDC_MULTI_FOLDER), "D:\\pictures");
  EXPECT_EQ(points.load_calls, 0);
}

TEST_F(RenderMultiViewTest, EightViewsScroll) {
  Views(8);
  Open(false);
  EXPECT_TRUE(view[IDC_MULTI_SCROLL].shown);
  EXPECT_EQ(view[IDC_MULTI_SCROLL].scroll_max, 2);
  EXPECT_EQ(view.Text(IDC_MULTI_NAME_FIRST + 5), "視点5");
  dialog->OnScroll(ScrollCode::kPageDown, 0);
  EXPECT_EQ(dialog->scroll_offset(), 2);
  EXPECT_EQ(view[IDC_MULTI_SCROLL].scroll_pos, 2);
  EXPECT_EQ(view.Text(IDC_MULTI_NAME_FIRST), "視点2");
  EXPECT_EQ(view.Text(IDC_MULTI_NAME_FIRST + 5), "視点7");
  // The first row now stands for entry 2.
  Tick(0, true);
  EXPECT_TRUE(dialog->entries()[2].render);
  EXPECT_FALSE(dialog->entries()[0].render);
  EXPECT_TRUE(view[IDC_MULTI_ROOF_FIRST].enabled);
  dialog->OnScroll(ScrollCode::kThumb, 9);
  EXPECT_EQ(dialog->scroll_offset(), 2);
}

TEST_F(RenderMultiViewTest, ServiceModeOffersBitmapsAndCountsPoints) {
  Views(3);
  Open(true);
  EXPECT_EQ(view.ItemTexts(IDC_MULTI_FILE_TYPE), (std::vector<std::string>{"ビットマップ(*.bmp)"}));
  EXPECT_TRUE(view[IDC_RENDER_POINTS_GROUP].shown);
  EXPECT_TRUE(points.asked.empty());  // first computed at the first change
  Tick(0, true);
  Tick(2, true);
  EXPECT_EQ(points.asked.back(), 640 * 480 * 2);
  EXPECT_EQ(view.Text(IDC_RENDER_POINTS_TEXT), "points " + std::to_string(640 * 480 * 2));
  dialog->OnSelectAll(false);
  EXPECT_EQ(points.asked.back(), 0);
  folders.folders.insert("D:\\pictures");
  dialog->OnSelectAll(true);
  dialog->OnStart();
  EXPECT_EQ(*profiles.Find(kViews, "RenderView", "type"), "0");
}

TEST_F(RenderMultiViewTest, StartChecks) {
  Views(3);
  Open(false);
  dialog->OnStart();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, "視点を選択してください");
  EXPECT_EQ(view.messages[0].caption, "確認");
  Tick(1, true);
  view.SetText(IDC_MULTI_FOLDER, "");
  dialog->OnStart();
  EXPECT_EQ(view.messages.back().text, "保存先を指定してください");
  view.SetText(IDC_MULTI_FOLDER, "E:\\new\\out\\");
  view.answers = {MessageAnswer::kNo};
  dialog->OnStart();
  EXPECT_EQ(view.messages.back().text, "指定されたディレクトリが存在しません。\n作成しますか？");
  EXPECT_EQ(view.messages.back().kind, MessageKind::kYesNoQuestion);
  EXPECT_TRUE(folders.created.empty());
  folders.refused.insert("E:\\new");
  dialog->OnStart();
  EXPECT_EQ(view.messages.back().text, "フォルダの作成に失敗しました");
  EXPECT_EQ(view.ended, 0);
  EXPECT_TRUE(profiles.write_order.empty());
  EXPECT_TRUE(registry.write_order.empty());
  folders.refused.clear();
  dialog->OnStart();
  EXPECT_EQ(folders.created.back(), "E:\\new\\out");
  EXPECT_EQ(view.ended, IDC_RENDER_START);
  EXPECT_EQ(registry.strings[kDirectories]["ImageDir"], "E:\\new\\out");
}

TEST_F(RenderMultiViewTest, OverwriteIsConfirmed) {
  Views(3);
  Open(false);
  folders.folders.insert("D:\\pictures");
  folders.files = {"D:\\pictures\\1視点0.jpg", "D:\\pictures\\3視点2.jpg",
                   "D:\\pictures\\2視点1.bmp"};
  dialog->OnSelectAll(true);
  view.Choose(IDC_MULTI_FILE_TYPE, 1);
  view.answers = {MessageAnswer::kNo};
  dialog->OnStart();
  EXPECT_EQ(view.messages.back().text,
            "これらのファイルが上書きされますがよろしいですか\n"
            "D:\\pictures\\1視点0.jpg\nD:\\pictures\\3視点2.jpg\n");
  EXPECT_EQ(view.ended, 0);
  dialog->OnStart();  // Yes
  EXPECT_EQ(view.ended, IDC_RENDER_START);
  const std::vector<std::string> order = {
      "RenderView/savePath", "View0/renderOn", "View0/roofOn",    "View1/renderOn", "View1/roofOn",
      "View2/renderOn",      "View2/roofOn",   "RenderView/mode", "RenderView/type"};
  EXPECT_EQ(profiles.write_order, order);
  EXPECT_EQ(*profiles.Find(kViews, "RenderView", "savePath"), "D:\\pictures");
  EXPECT_EQ(*profiles.Find(kViews, "RenderView", "type"), "1");
  EXPECT_EQ(*profiles.Find(kViews, "View1", "roofOn"), "1");
}

TEST_F(RenderMultiViewTest, RegistryFolderComesFirst) {
  Views(2);
  registry.strings[kDirectories]["ImageDir"] = "F:\\表\\";
  Open(false);
  EXPECT_EQ(view.Text(IDC_MULTI_FOLDER), "F:\\表");
  browser.chosen = "G:\\chosen";
  dialog->OnBrowse();
  EXPECT_EQ(browser.title, "保存先フォルダを選択してください");
  EXPECT_EQ(view.Text(IDC_MULTI_FOLDER), "G:\\chosen");
  dialog->OnBack();
  EXPECT_EQ(view.ended, IDC_MULTI_BACK);
  EXPECT_TRUE(profiles.write_order.empty());
}

TEST_F(RenderMultiViewTest, AViewWithoutANameIsNeverTicked) {
  Views(3);
  profiles.Set(kViews, "View1", "viewname", "_no_data_");
  profiles.Set(kViews, "View1", "renderOn", "1");
  Open(false);
  EXPECT_EQ(view.Text(IDC_MULTI_NAME_FIRST + 1), "");
  dialog->OnSelectAll(true);
  Tick(1, true);
  EXPECT_FALSE(view.IsChecked(IDC_MULTI_RENDER_FIRST + 1));
  folders.folders.insert("D:\\pictures");
  dialog->OnStart();
  EXPECT_EQ(*profiles.Find(kViews, "View1", "renderOn"), "0");
  EXPECT_EQ(*profiles.Find(kViews, "View2", "renderOn"), "1");
}

}  // namespace
}  // namespace kx::hostkit

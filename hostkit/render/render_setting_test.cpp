#include "hostkit/render/render_setting.h"

#include <gtest/gtest.h>

#include "hostkit/render/render_fakes.h"
#include "hostkit/render/render_resource.h"
#include "tests/fakes/memory_file_system.h"

namespace kx::hostkit {
namespace {

const std::string kKey = "Software\\Maker\\Designer";
const std::string kSettings = kKey + "\\Settings";
const std::string kViews = "C:\\host\\views.ini";

class FakeDetails final : public DetailDialogs {
 public:
  bool ok = true;
  bool background = true;
  RayTracingValues values;
  int opened = 0;
  RayTracingValues given;

  bool EditBackground(bool& use_bg_lookup) override {
    ++opened;
    if (ok) use_bg_lookup = background;
    return ok;
  }
  bool EditRayTracing(RayTracingValues& v) override {
    ++opened;
    given = v;
    if (ok) v = values;
    return ok;
  }
};

class RenderSettingTest : public ::testing::Test {
 protected:
  void Open(bool service, PixelSize perspective = {800, 600},
            const RenderSettingChoices* carried = nullptr) {
    RenderSettingArgs args;
    args.service_mode = service;
    args.perspective = perspective;
    args.key_path = kKey;
    args.view_list_path = kViews;
    args.roof_mode = kRoofHalf;
    view.controls[IDC_RENDER_POINTS_GROUP].height = 40;
    view.controls[IDC_RENDER_TEST].height = 23;
    dialog = std::make_unique<RenderSetting>(
        RenderSettingServices{view, registry, profiles, details, &points}, args);
    if (carried) dialog->CarryOver(*carried);
    dialog->OnInitDialog();
  }
  void Type(int id, const std::string& text) {
    view.SetText(id, text);
    dialog->OnEditChange(id);
  }
  void Choose(int id, int position) {
    view.Choose(id, position);
    dialog->OnSelectionChange(id);
  }
  void TwoViews() {
    profiles.Set(kViews, "RenderView", "number", "2");
    profiles.Set(kViews, "View0", "index", "4");
    profiles.Set(kViews, "View0", "viewname", "現在の視点");
    profiles.Set(kViews, "View1", "index", "8");
    profiles.Set(kViews, "View1", "viewname", "玄関");
  }

  test::FakeDialogView view;
  test::FakeSettingsRegistry registry;
  kx::test::MemoryProfileStore profiles;
  FakeDetails details;
  test::FakePointsService points;
  std::unique_ptr<RenderSetting> dialog;
};

TEST_F(RenderSettingTest, LocalModeOpensWithDefaults) {
  TwoViews();
  Open(false);
  EXPECT_FALSE(view[IDC_RENDER_TEST].shown);
  EXPECT_FALSE(view[IDC_RENDER_POINTS_TEXT].shown);
  EXPECT_FALSE(view[IDC_RENDER_POINTS_GROUP].shown);
  EXPECT_EQ(view[IDC_RENDER_START].moved_up, 40);
  EXPECT_EQ(view[IDC_RENDER_MULTI].moved_up, 40);
  EXPECT_EQ(view[2].moved_up, 40);
  EXPECT_EQ(view.shrunk, 63);
  EXPECT_EQ(view.ItemTexts(IDC_RENDER_VIEW), (std::vector<std::string>{"現在の視点", "玄関"}));
  EXPECT_EQ(view.ComboItemData(IDC_RENDER_VIEW, 1), 8);
  EXPECT_EQ(view.ComboSelection(IDC_RENDER_VIEW), 0);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_METHOD), "通常（ﾚｲﾄﾚ/ｱﾝﾁｴｲﾘｱｽOFF）");
  EXPECT_EQ(view.SelectedText(IDC_RENDER_SIZING), "用紙サイズで指定");
  EXPECT_EQ(view.SelectedText(IDC_RENDER_PAPER), "Ａ４");
  EXPECT_EQ(view.SelectedText(IDC_RENDER_RESOLUTION), "標準");
  EXPECT_FALSE(view[IDC_RENDER_DPI].enabled);
  EXPECT_EQ(view.Text(IDC_RENDER_DPI), "125");
  EXPECT_EQ(view.SelectedText(IDC_RENDER_SIZE_PRESET), "パース図と同じサイズ");
  EXPECT_EQ(view.ItemTexts(IDC_RENDER_SIZE_PRESET)[4], "最大（5000×5000）");
  EXPECT_TRUE(view.IsChecked(IDC_RENDER_ROOF_HALF));
  EXPECT_TRUE(view.IsChecked(IDC_RENDER_LANDSCAPE));
  // Paper sizing: the pixel controls are hidden.
  EXPECT_FALSE(view[IDC_RENDER_SIZE_PRESET].shown);
  EXPECT_FALSE(view[IDC_RENDER_WIDTH_LABEL].shown);
  EXPECT_TRUE(view[IDC_RENDER_MARGIN_LEFT].shown);
  EXPECT_TRUE(view[1072].shown);
  EXPECT_EQ(dialog->image_size(), (PixelSize{1264, 836}));
  EXPECT_TRUE(points.asked.empty());
}

TEST_F(RenderSettingTest, CarriedChoicesComeBeforeTheStoredOnes) {
  TwoViews();
  registry.dwords[kSettings] = {{"LMargin", 30}, {"DPI", 72}};
  RenderSettingChoices carried;
  carried.settings.left_margin = 10;
  carried.settings.render_type = 1;
  carried.selected_view = 1;
  carried.roof_mode = kRoofHidden;
  Open(false, {800, 600}, &carried);
  EXPECT_EQ(view.Text(IDC_RENDER_MARGIN_LEFT), "10");
  EXPECT_EQ(view.SelectedText(IDC_RENDER_RESOLUTION), "標準");
  EXPECT_EQ(view.ComboSelection(IDC_RENDER_VIEW), 1);
  EXPECT_TRUE(view.IsChecked(IDC_RENDER_ROOF_HIDDEN));
  EXPECT_FALSE(view.IsChecked(IDC_RENDER_ROOF_HALF));
  dialog->OnButton(IDC_RENDER_START);
  EXPECT_EQ(registry.Dword(kSettings, "LMargin"), 10);
  EXPECT_EQ(registry.Dword(kSettings, "RenderType"), 1);
  EXPECT_EQ(*profiles.Find(kViews, "View1", "renderOn"), "1");
  EXPECT_EQ(dialog->roof_mode(), kRoofHidden);

  // A view the list no longer has: the first is chosen.
  carried.selected_view = 5;
  Open(false, {800, 600}, &carried);
  EXPECT_EQ(view.ComboSelection(IDC_RENDER_VIEW), 0);
}

TEST_F(RenderSettingTest, ServiceModeKeepsItsControlsAndShowsPoints) {
  Open(true);
  EXPECT_TRUE(view[IDC_RENDER_TEST].shown);
  EXPECT_EQ(view.shrunk, 0);
  EXPECT_EQ(view.ItemTexts(IDC_RENDER_METHOD),
            (std::vector<std::string>{"通常", "ユーザー指定..."}));
  EXPECT_EQ(view.ItemTexts(IDC_RENDER_SIZE_PRESET)[4], "最大（10000×10000）");
  EXPECT_EQ(view.Text(IDC_RENDER_POINTS_TEXT), "points " + std::to_string(1264 * 836));
  Choose(IDC_RENDER_PAPER, 6);  // A5
  EXPECT_EQ(view.Text(IDC_RENDER_POINTS_TEXT),
            "points " + std::to_string(dialog->image_size().width * dialog->image_size().height));
  points.loads = false;  // entry points missing: the text stays
  Choose(IDC_RENDER_PAPER, 0);
  EXPECT_NE(view.Text(IDC_RENDER_POINTS_TEXT),
            "points " + std::to_string(dialog->image_size().width * dialog->image_size().height));
}

TEST_F(RenderSettingTest, PresetsAndTyping) {
  registry.dwords[kSettings] = {{"Sizing", 1}, {"PixelSizeType", 0}};
  Open(false);
  EXPECT_TRUE(view[IDC_RENDER_SIZE_PRESET].shown);
  EXPECT_FALSE(view[IDC_RENDER_PAPER].shown);
  EXPECT_EQ(dialog->image_size(), (PixelSize{5000, 3750}));
  EXPECT_EQ(view.Text(IDC_RENDER_WIDTH), "5000");
  EXPECT_FALSE(view[IDC_RENDER_WIDTH].enabled);
  EXPECT_TRUE(view.IsChecked(IDC_RENDER_SAME_RATIO));

  Choose(IDC_RENDER_SIZE_PRESET, 5);
  EXPECT_EQ(view.Text(IDC_RENDER_WIDTH), "1024");
  EXPECT_EQ(view.Text(IDC_RENDER_HEIGHT), "768");
  EXPECT_FALSE(view.IsChecked(IDC_RENDER_SAME_RATIO));

  Choose(IDC_RENDER_SIZE_PRESET, 8);
  EXPECT_TRUE(view[IDC_RENDER_WIDTH].enabled);
  EXPECT_TRUE(view[IDC_RENDER_SAME_RATIO].enabled);
  EXPECT_EQ(view.focus, IDC_RENDER_WIDTH);
  view.SetChecked(IDC_RENDER_SAME_RATIO, true);
  Type(IDC_RENDER_WIDTH, "1000");
  EXPECT_EQ(view.Text(IDC_RENDER_HEIGHT), "750");
  Type(IDC_RENDER_HEIGHT, "300");
  EXPECT_EQ(view.Text(IDC_RENDER_WIDTH), "400");
  view.SetChecked(IDC_RENDER_SAME_RATIO, false);
  Type(IDC_RENDER_WIDTH, "3");
  EXPECT_EQ(view.Text(IDC_RENDER_HEIGHT), "300");
  dialog->OnEditKillFocus(IDC_RENDER_WIDTH, IDC_RENDER_HEIGHT);
  EXPECT_EQ(dialog->image_size(), (PixelSize{8, 300}));
  Type(IDC_RENDER_WIDTH, "abc");  // nothing follows a text that is no number
  EXPECT_EQ(view.Text(IDC_RENDER_HEIGHT), "300");
}

TEST_F(RenderSettingTest, ResolutionChoices) {
  registry.dwords[kSettings] = {{"DPI", 300}};
  Open(false);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_RESOLUTION), "数値指定...");
  EXPECT_TRUE(view[IDC_RENDER_DPI].enabled);
  EXPECT_EQ(view.Text(IDC_RENDER_DPI), "300");
  Choose(IDC_RENDER_RESOLUTION, 1);
  EXPECT_EQ(view.Text(IDC_RENDER_DPI), "72");
  EXPECT_FALSE(view[IDC_RENDER_DPI].enabled);
  Choose(IDC_RENDER_RESOLUTION, 3);
  EXPECT_EQ(view.Text(IDC_RENDER_DPI), "72");
  EXPECT_TRUE(view[IDC_RENDER_DPI].enabled);
  EXPECT_EQ(view.focus, IDC_RENDER_DPI);
}

TEST_F(RenderSettingTest, ValidationKeepsTheDialogOpen) {
  Open(false);
  struct Case {
    int box;
    std::string text;
    std::string message;
  } cases[] = {
      {IDC_RENDER_DPI, "35", "36 から 2400 までの整数を入力してください。"},
      {IDC_RENDER_DPI, "2401", "36 から 2400 までの整数を入力してください。"},
      {IDC_RENDER_DPI, "1e3", "整数を入力してください。"},
      {IDC_RENDER_MARGIN_TOP, "", "整数を入力してください。"},
      {IDC_RENDER_WIDTH, "99999999999", "整数を入力してください。"},
  };
  for (const Case& c : cases) {
    const std::string before = view.Text(c.box);
    view.SetText(c.box, c.text);
    view.messages.clear();
    dialog->OnButton(IDC_RENDER_START);
    ASSERT_EQ(view.messages.size(), 1u) << c.text;
    EXPECT_EQ(view.messages[0].text, c.message);
    EXPECT_EQ(view.focus, c.box);
    EXPECT_EQ(view.ended, 0);
    view.SetText(c.box, before);
  }
  EXPECT_TRUE(registry.write_order.empty());
  view.SetText(IDC_RENDER_DPI, " 2400 ");
  dialog->OnButton(IDC_RENDER_START);
  EXPECT_EQ(view.ended, IDC_RENDER_START);
  EXPECT_EQ(registry.Dword(kSettings, "DPI"), 2400);
}

TEST_F(RenderSettingTest, StartStoresTheSettingsAndTheChosenView) {
  TwoViews();
  Open(false);
  Choose(IDC_RENDER_VIEW, 1);
  view.SetChecked(IDC_RENDER_ROOF_HALF, false);
  view.SetChecked(IDC_RENDER_ROOF_HIDDEN, true);
  view.SetChecked(IDC_RENDER_LANDSCAPE, false);
  view.SetChecked(IDC_RENDER_PORTRAIT, true);
  view.SetText(IDC_RENDER_MARGIN_LEFT, "10");
  dialog->OnButton(IDC_RENDER_START);
  EXPECT_EQ(view.ended, IDC_RENDER_START);
  EXPECT_EQ(dialog->roof_mode(), kRoofHidden);
  EXPECT_EQ(registry.Dword(kSettings, "Portrait"), 1);
  EXPECT_EQ(registry.Dword(kSettings, "LMargin"), 10);
  EXPECT_EQ(registry.write_order.size(), 30u);
  EXPECT_EQ(*profiles.Find(kViews, "View0", "renderOn"), "0");
  EXPECT_EQ(*profiles.Find(kViews, "View1", "renderOn"), "1");
  EXPECT_EQ(*profiles.Find(kViews, "View1", "roofOn"), "0");
  EXPECT_EQ(*profiles.Find(kViews, "RenderView", "mode"), "0");
  // Portrait A4 with a 10 mm left margin: 170 x 267 mm.
  EXPECT_EQ(dialog->image_size(), (PixelSize{836, 1313}));
}

TEST_F(RenderSettingTest, TestRendersASmallPicture) {
  TwoViews();
  Open(true);
  dialog->OnButton(IDC_RENDER_TEST);
  EXPECT_EQ(view.ended, IDC_RENDER_START);
  EXPECT_EQ(dialog->image_size(), (PixelSize{400, 300}));
  EXPECT_EQ(*profiles.Find(kViews, "RenderView", "mode"), "1");
  EXPECT_EQ(*profiles.Find(kViews, "View0", "roofOn"), "1");
}

TEST_F(RenderSettingTest, CancelAndMultiViewWriteNothing) {
  TwoViews();
  Open(false);
  dialog->OnButton(2);
  EXPECT_EQ(view.ended, 2);
  Open(false);
  view.SetText(IDC_RENDER_DPI, "5");
  dialog->OnButton(IDC_RENDER_MULTI);  // ends whatever the check said
  EXPECT_EQ(view.ended, IDC_RENDER_MULTI);
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_TRUE(registry.write_order.empty());
  EXPECT_TRUE(profiles.write_order.empty());
  // After the end, leaving a box does not check again.
  dialog->OnEditKillFocus(IDC_RENDER_DPI, 0);
  EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(RenderSettingTest, LeavingABoxChecksUnlessAButtonTakesOver) {
  Open(false);
  view.SetText(IDC_RENDER_DPI, "20");
  for (int button : {IDC_RENDER_START, IDC_RENDER_TEST, IDC_RENDER_MULTI, 2}) {
    dialog->OnEditKillFocus(IDC_RENDER_DPI, button);
  }
  EXPECT_TRUE(view.messages.empty());
  dialog->OnEditKillFocus(IDC_RENDER_DPI, IDC_RENDER_MARGIN_LEFT);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.focus, IDC_RENDER_DPI);
  view.SetText(IDC_RENDER_DPI, "250");
  view.SetText(IDC_RENDER_MARGIN_LEFT, "0");
  dialog->OnEditKillFocus(IDC_RENDER_MARGIN_LEFT, 0);
  EXPECT_EQ(view.messages.size(), 1u);
  // Taken over: A4 at 250 dpi with no left margin, 277 x 170 mm.
  EXPECT_EQ(dialog->image_size(), (PixelSize{2726, 1673}));
}

TEST_F(RenderSettingTest, RenderTypeStartsFromZero) {
  registry.dwords[kSettings] = {{"RenderType", 1}};
  Open(false);
  dialog->OnButton(IDC_RENDER_START);
  EXPECT_EQ(registry.Dword(kSettings, "RenderType"), 0);
}

TEST_F(RenderSettingTest, MethodChoicesAndTheDetailDialog) {
  Open(false);
  Choose(IDC_RENDER_METHOD, 1);  // 4-point anti-aliasing
  EXPECT_EQ(dialog->settings().render_type, 1);
  EXPECT_EQ(dialog->settings().anti_alias_type, 1);
  EXPECT_EQ(dialog->settings().method, 1);

  details.values.order = 0;
  details.values.raycast = 4;
  details.values.mingain = 10;
  details.values.anti_alias_type = 1;
  details.values.sampling = 2;
  Choose(IDC_RENDER_METHOD, 2);
  EXPECT_EQ(details.given.render_type, 1);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_METHOD), "高精細（ﾚｲﾄﾚ/４点ｱﾝﾁｴｲﾘｱｽ）");
  EXPECT_EQ(dialog->settings().method, 1);

  details.values.raycast = 5;
  Choose(IDC_RENDER_METHOD, 2);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_METHOD), "ユーザー指定...");
  EXPECT_EQ(dialog->settings().method, 2);
  EXPECT_EQ(dialog->settings().raycast, 5);

  details.values.raycast = 4;
  details.values.anti_alias_type = 0;
  Choose(IDC_RENDER_METHOD, 2);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_METHOD), "通常（ﾚｲﾄﾚ/ｱﾝﾁｴｲﾘｱｽOFF）");
  EXPECT_EQ(details.opened, 3);
}

TEST_F(RenderSettingTest, ServiceDetailDialog) {
  Open(true);
  Choose(IDC_RENDER_METHOD, 1);
  EXPECT_TRUE(dialog->settings().use_bg_lookup);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_METHOD), "ユーザー指定...");
  details.background = false;
  Choose(IDC_RENDER_METHOD, 1);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_METHOD), "通常");
  Choose(IDC_RENDER_METHOD, 1);
  details.ok = false;  // cancelled: the flag stays, and so does the class
  details.background = true;
  Choose(IDC_RENDER_METHOD, 1);
  EXPECT_FALSE(dialog->settings().use_bg_lookup);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_METHOD), "通常");
}

TEST_F(RenderSettingTest, StoredIndexesOutsideTheTablesFallBack) {
  registry.dwords[kSettings] = {{"PaperSize", 12}, {"PixelSizeType", 40}, {"Method", 9}};
  Open(false);
  EXPECT_EQ(view.SelectedText(IDC_RENDER_PAPER), "Ａ４");
  EXPECT_EQ(view.SelectedText(IDC_RENDER_SIZE_PRESET), "パース図と同じサイズ");
  dialog->OnButton(IDC_RENDER_START);
  EXPECT_EQ(registry.Dword(kSettings, "PaperSize"), 4);
  EXPECT_EQ(registry.Dword(kSettings, "PixelSizeType"), 1);
}

}  // namespace
}  // namespace kx::hostkit

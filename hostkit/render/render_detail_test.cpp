#include "hostkit/render/render_detail.h"

#include <gtest/gtest.h>

#include "hostkit/render/render_fakes.h"
#include "hostkit/render/render_resource.h"

namespace kx::hostkit {
namespace {

TEST(RenderDetail, BackgroundReflection) {
  test::FakeDialogView view;
  RenderDetail dialog(view, true);
  dialog.OnInitDialog();
  EXPECT_TRUE(view.IsChecked(IDC_DETAIL_BG_ON));
  EXPECT_FALSE(view.IsChecked(IDC_DETAIL_BG_OFF));
  view.SetChecked(IDC_DETAIL_BG_OFF, true);
  dialog.OnRadio(IDC_DETAIL_BG_OFF);
  EXPECT_FALSE(view.IsChecked(IDC_DETAIL_BG_ON));
  dialog.OnOk();
  EXPECT_FALSE(dialog.use_bg_lookup());
  EXPECT_EQ(view.ended, 1);
  // Neither radio checked counts as reflected.
  view.SetChecked(IDC_DETAIL_BG_OFF, false);
  dialog.OnOk();
  EXPECT_TRUE(dialog.use_bg_lookup());
}

class RenderDetail1Test : public ::testing::Test {
 protected:
  void Open(const RayTracingValues& values) {
    dialog = std::make_unique<RenderDetail1>(view, values);
    dialog->OnInitDialog();
  }
  void ChooseAntiAlias(int position) {
    view.Choose(IDC_DETAIL_ANTIALIAS, position);
    dialog->OnAntiAliasChange();
  }
  test::FakeDialogView view;
  std::unique_ptr<RenderDetail1> dialog;
};

TEST_F(RenderDetail1Test, OpensForRayTracing) {
  RayTracingValues values;
  Open(values);
  EXPECT_EQ(view.shrunk, 50);
  EXPECT_TRUE(view.IsChecked(IDC_DETAIL_RAYTRACE));
  EXPECT_FALSE(view[IDC_DETAIL_FLAT].enabled);
  EXPECT_FALSE(view[IDC_DETAIL_GOURAUD].enabled);
  EXPECT_TRUE(view[IDC_DETAIL_ORDER].enabled);
  EXPECT_TRUE(view[IDC_DETAIL_SAMPLING].enabled);
  EXPECT_EQ(view.Text(IDC_DETAIL_RAYCAST), "4");
  EXPECT_EQ(view.Text(IDC_DETAIL_MINGAIN), "10");
  EXPECT_EQ(view.SelectedText(IDC_DETAIL_ORDER), "プログレッシブ");
  EXPECT_EQ(view.SelectedText(IDC_DETAIL_ANTIALIAS), "格子状平均");
  EXPECT_EQ(view.SelectedText(IDC_DETAIL_SAMPLING), "  ４点 (2×2分割)");
  dialog->OnRenderTypeClick();
  dialog->OnOk();
  EXPECT_EQ(view.ended, 1);
  EXPECT_EQ(dialog->values().render_type, 1);
  EXPECT_EQ(dialog->values().sampling, 2);
}

TEST_F(RenderDetail1Test, SamplingFollowsTheAntiAliasingType) {
  RayTracingValues values;
  values.sampling = 2;
  Open(values);
  ChooseAntiAlias(3);  // random: 2 exists there too
  EXPECT_EQ(view.SelectedText(IDC_DETAIL_SAMPLING), "２点");
  ChooseAntiAlias(0);
  EXPECT_FALSE(view[IDC_DETAIL_SAMPLING].enabled);
  EXPECT_FALSE(view[IDC_DETAIL_SAMPLING_LABEL].enabled);
  EXPECT_EQ(view.ComboCount(IDC_DETAIL_SAMPLING), 0);
  dialog->OnOk();
  EXPECT_EQ(dialog->values().sampling, 1);
  EXPECT_EQ(dialog->values().anti_alias_type, 0);
  ChooseAntiAlias(2);
  EXPECT_TRUE(view[IDC_DETAIL_SAMPLING].enabled);
  EXPECT_EQ(view.SelectedText(IDC_DETAIL_SAMPLING), "  ４点 (2×2分割)");
}

TEST_F(RenderDetail1Test, AStoredSamplingTheTypeLacksGivesItsFirst) {
  RayTracingValues values;
  values.anti_alias_type = 3;
  values.sampling = 7;
  values.order = 1;
  values.texture_base = true;
  Open(values);
  EXPECT_EQ(view.SelectedText(IDC_DETAIL_SAMPLING), "２点");
  EXPECT_EQ(view.SelectedText(IDC_DETAIL_ORDER), "シーケンシャル");
  EXPECT_TRUE(view.IsChecked(IDC_DETAIL_TEXTURE_BASE));
  dialog->OnOk();
  EXPECT_EQ(dialog->values().sampling, 2);
  EXPECT_EQ(dialog->values().order, 1);
  EXPECT_TRUE(dialog->values().texture_base);
}

TEST_F(RenderDetail1Test, RangesOfTheCutOffs) {
  Open(RayTracingValues{});
  struct Case {
    int box;
    std::string text;
    std::string message;
  } cases[] = {
      {IDC_DETAIL_RAYCAST, "0", "1 から 20 までの整数を入力してください。"},
      {IDC_DETAIL_RAYCAST, "21", "1 から 20 までの整数を入力してください。"},
      {IDC_DETAIL_MINGAIN, "81", "1 から 80 までの整数を入力してください。"},
      {IDC_DETAIL_MINGAIN, "x", "整数を入力してください。"},
  };
  for (const Case& c : cases) {
    const std::string before = view.Text(c.box);
    view.SetText(c.box, c.text);
    dialog->OnOk();
    EXPECT_EQ(view.ended, 0) << c.text;
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back().text, c.message);
    EXPECT_EQ(view.focus, c.box);
    view.SetText(c.box, before);
  }
  view.SetText(IDC_DETAIL_RAYCAST, "20");
  view.SetText(IDC_DETAIL_MINGAIN, "1");
  dialog->OnOk();
  EXPECT_EQ(view.ended, 1);
  EXPECT_EQ(dialog->values().raycast, 20);
  EXPECT_EQ(dialog->values().mingain, 1);
}

TEST_F(RenderDetail1Test, ZBufferSwapsTheGroups) {
  RayTracingValues values;
  values.render_type = 0;
  Open(values);
  EXPECT_TRUE(view[IDC_DETAIL_FLAT].enabled);
  EXPECT_FALSE(view[IDC_DETAIL_ORDER].enabled);
  view.SetChecked(IDC_DETAIL_ZBUFFER, false);
  view.SetChecked(IDC_DETAIL_RAYTRACE, true);
  dialog->OnRenderTypeClick();
  EXPECT_FALSE(view[IDC_DETAIL_FLAT].enabled);
  EXPECT_TRUE(view[IDC_DETAIL_ORDER].enabled);
  EXPECT_TRUE(view[IDC_DETAIL_SAMPLING].enabled);
}

}  // namespace
}  // namespace kx::hostkit

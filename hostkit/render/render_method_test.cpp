#include "hostkit/render/render_method.h"

#include <gtest/gtest.h>

namespace kx::hostkit {
namespace {

TEST(RenderMethod, ItemsOfEachMode) {
  const auto service = MethodItems(true);
  ASSERT_EQ(service.size(), 2u);
  EXPECT_EQ(service[0].text, "通常");
  EXPECT_EQ(service[0].data, 0);
  EXPECT_EQ(service[1].text, "ユーザー指定...");
  EXPECT_EQ(service[1].data, 1);
  const auto local = MethodItems(false);
  ASSERT_EQ(local.size(), 3u);
  EXPECT_EQ(local[0].text, "通常（ﾚｲﾄﾚ/ｱﾝﾁｴｲﾘｱｽOFF）");
  EXPECT_EQ(local[0].data, 2);
  EXPECT_EQ(local[1].text, "高精細（ﾚｲﾄﾚ/４点ｱﾝﾁｴｲﾘｱｽ）");
  EXPECT_EQ(local[1].data, 3);
  EXPECT_EQ(local[2].data, 1);
}

TEST(RenderMethod, WhatChoosingAMethodStores) {
  RenderSettings start;
  start.render_type = 0;
  start.order = 1;
  start.anti_alias_type = 3;
  start.sampling = 9;
  start.use_bg_lookup = true;
  start.mingain = 55;
  start.raycast = 12;
  struct Case {
    int data;
    int render_type, order, anti_alias_type, sampling, mingain, raycast;
    bool use_bg_lookup;
  } cases[] = {
      {0, 0, 0, 0, 9, 10, 4, false},
      {1, 0, 1, 3, 9, 55, 12, true},  // the detail dialog decides
      {2, 1, 0, 0, 9, 10, 4, true},
      {3, 1, 0, 1, 2, 10, 4, true},
  };
  for (const Case& c : cases) {
    RenderSettings s = start;
    ApplyMethod(c.data, s);
    EXPECT_EQ(s.render_type, c.render_type) << c.data;
    EXPECT_EQ(s.order, c.order) << c.data;
    EXPECT_EQ(s.anti_alias_type, c.anti_alias_type) << c.data;
    EXPECT_EQ(s.sampling, c.sampling) << c.data;
    EXPECT_EQ(s.mingain, c.mingain) << c.data;
    EXPECT_EQ(s.raycast, c.raycast) << c.data;
    EXPECT_EQ(s.use_bg_lookup, c.use_bg_lookup) << c.data;
  }
}

TEST(RenderMethod, ClassificationAfterTheDetailDialog) {
  struct Case {
    bool service;
    int order, raycast, mingain, anti_alias_type, sampling;
    bool use_bg_lookup;
    int expected;
  } cases[] = {
      {true, 1, 9, 9, 3, 9, false, 0},
      {true, 0, 4, 10, 0, 2, true, 1},
      {false, 0, 4, 10, 1, 2, false, 3},  // the 4-point anti-aliasing preset
      {false, 0, 4, 10, 0, 7, false, 2},
      {false, 0, 5, 10, 1, 2, false, 1},  // Raycast 5 stays user-defined
      {false, 1, 4, 10, 0, 2, false, 1},
      {false, 0, 4, 11, 0, 2, false, 1},
      {false, 0, 4, 10, 1, 3, false, 1},
      {false, 0, 4, 10, 2, 2, false, 1},
      {false, 0, 4, 10, 3, 2, true, 1},
  };
  for (const Case& c : cases) {
    RenderSettings s;
    s.order = c.order;
    s.raycast = c.raycast;
    s.mingain = c.mingain;
    s.anti_alias_type = c.anti_alias_type;
    s.sampling = c.sampling;
    s.use_bg_lookup = c.use_bg_lookup;
    EXPECT_EQ(ClassifyMethod(c.service, s), c.expected)
        << c.service << " " << c.order << " " << c.raycast << " " << c.mingain << " "
        << c.anti_alias_type << " " << c.sampling;
  }
}

TEST(RenderMethod, SamplingTables) {
  struct Case {
    int anti_alias_type;
    std::vector<int> values;
  } cases[] = {
      {0, {}},
      {1, {2, 3, 4, 5, 6, 7, 8}},
      {2, {2, 3, 4, 5, 6, 7, 8}},
      {3, {2, 3, 4, 5, 6, 8, 9, 12, 16}},
      {4, {}},
      {-1, {}},
  };
  for (const Case& c : cases) {
    const auto& items = SamplingItems(c.anti_alias_type);
    ASSERT_EQ(items.size(), c.values.size()) << c.anti_alias_type;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].data, c.values[i]);
      EXPECT_EQ(SamplingValueAt(c.anti_alias_type, static_cast<int>(i)), c.values[i]);
      EXPECT_EQ(SamplingPositionOf(c.anti_alias_type, c.values[i]), static_cast<int>(i));
    }
    // Nothing valid selected reads as one sample; an unknown value shows the first item.
    EXPECT_EQ(SamplingValueAt(c.anti_alias_type, -1), 1);
    EXPECT_EQ(SamplingValueAt(c.anti_alias_type, static_cast<int>(items.size())), 1);
    EXPECT_EQ(SamplingPositionOf(c.anti_alias_type, 7 + 100), 0);
  }
  EXPECT_EQ(SamplingItems(1)[0].text, "  ４点 (2×2分割)");
  EXPECT_EQ(SamplingItems(1)[6].text, "６４点 (8×8分割)");
  EXPECT_EQ(SamplingItems(3)[0].text, "２点");
  EXPECT_EQ(SamplingItems(3)[8].text, "１６点");
  // 7 exists on the grid but not among the random points.
  EXPECT_EQ(SamplingPositionOf(3, 7), 0);
}

TEST(RenderMethod, RayTracingValuesGoBothWays) {
  RenderSettings s;
  s.z_kind = 0;
  s.order = 1;
  s.texture_base = 1;
  RayTracingValues v = RayTracingValuesOf(s);
  EXPECT_EQ(v.render_type, 1);
  EXPECT_EQ(v.z_kind, 0);
  EXPECT_TRUE(v.texture_base);
  v.raycast = 20;
  v.texture_base = false;
  TakeRayTracingValues(v, s);
  EXPECT_EQ(s.render_type, 1);
  EXPECT_EQ(s.raycast, 20);
  EXPECT_EQ(s.texture_base, 0);
}

}  // namespace
}  // namespace kx::hostkit

#include "hostkit/render/render_settings.h"

#include <gtest/gtest.h>

#include "hostkit/render/render_fakes.h"

namespace kx::hostkit {
namespace {

const std::string kKey = "Software\\Maker\\Designer";
const std::string kSettings = "Software\\Maker\\Designer\\Settings";

TEST(RenderSettings, KeyPaths) {
  EXPECT_EQ(SettingsKeyPath(kKey), kSettings);
  EXPECT_EQ(SettingsKeyPath(kKey + "\\"), kSettings);
  EXPECT_EQ(DirectoriesKeyPath(kKey), kKey + "\\Directories");
  EXPECT_EQ(SettingsKeyPath(""), "Settings");
}

TEST(RenderSettings, DefaultsWhenNothingIsStored) {
  test::FakeSettingsRegistry registry;
  WriteRenderSettings(registry, kKey, ReadRenderSettings(registry, kKey));
  const std::pair<const char*, int> expected[] = {
      {"Sizing", 0},        {"DPI", 125},         {"RenderType", 0},     {"ZKind", 1},
      {"Order", 0},         {"AntiAliasType", 1}, {"Sampling", 2},       {"Raycast", 4},
      {"Mingain", 10},      {"PaperSize", 4},     {"Portrait", 0},       {"LMargin", 20},
      {"RMargin", 20},      {"TMargin", 20},      {"BMargin", 20},       {"UNIT", 0},
      {"PixelSizeType", 1}, {"SameRatio", 1},     {"Width", 640},        {"Height", 480},
      {"Method", 0},        {"TextureBase", 0},   {"AntiAliasEps1", 20}, {"AntiAliasEps2", 1},
      {"AntiAliasEps3", 0}, {"AntiAliasFlag", 0}, {"TextureAmb", 50},    {"TextureSpec", 50},
      {"TextureShin", 64},  {"UseBGLookup", 0},
  };
  ASSERT_EQ(registry.write_order.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(registry.write_order[i], expected[i].first) << "write " << i;
    EXPECT_EQ(registry.Dword(kSettings, expected[i].first), expected[i].second)
        << expected[i].first;
  }
}

TEST(RenderSettings, StoredValuesComeBackExceptTheRenderType) {
  test::FakeSettingsRegistry registry;
  auto& stored = registry.dwords[kSettings];
  stored = {{"Sizing", 1},      {"DPI", 300},           {"RenderType", 1},  {"ZKind", 0},
            {"Order", 1},       {"Raycast", 7},         {"Mingain", 33},    {"PaperSize", 2},
            {"Portrait", 1},    {"LMargin", 5},         {"BMargin", 9},     {"UNIT", 3},
            {"Width", 1234},    {"Height", 0xFFFFFFFF}, {"Method", 2},      {"TextureAmb", 29},
            {"TextureSpec", 7}, {"TextureShin", 12},    {"UseBGLookup", 1}, {"AntiAliasEps1", 99}};
  const RenderSettings s = ReadRenderSettings(registry, kKey);
  EXPECT_EQ(s.render_type, 0);
  EXPECT_EQ(s.sizing, 1);
  EXPECT_EQ(s.dpi, 300);
  EXPECT_EQ(s.z_kind, 0);
  EXPECT_EQ(s.raycast, 7);
  EXPECT_EQ(s.paper_size, 2);
  EXPECT_TRUE(s.portrait);
  EXPECT_EQ(s.left_margin, 5);
  EXPECT_EQ(s.right_margin, 20);
  EXPECT_EQ(s.height, -1);
  EXPECT_TRUE(s.use_bg_lookup);
  // Everything kept unchanged goes back as it came, hundredths included.
  registry.write_order.clear();
  WriteRenderSettings(registry, kKey, s);
  for (const char* name : {"UNIT", "TextureAmb", "TextureSpec", "TextureShin", "AntiAliasEps1",
                           "Width", "Height", "Method", "Mingain"}) {
    EXPECT_EQ(registry.dwords[kSettings][name], stored.count(name) ? stored[name] : 0u) << name;
  }
  EXPECT_EQ(registry.Dword(kSettings, "RenderType"), 0);
}

TEST(RenderSettings, BooleansAreTrueOnlyForExactlyOne) {
  test::FakeSettingsRegistry registry;
  for (std::uint32_t stored : {0u, 2u, 0xFFFFFFFFu}) {
    registry.dwords[kSettings] = {{"Portrait", stored},
                                  {"SameRatio", stored},
                                  {"UseBGLookup", stored},
                                  {"AntiAliasFlag", stored}};
    const RenderSettings s = ReadRenderSettings(registry, kKey);
    EXPECT_FALSE(s.portrait || s.same_ratio || s.use_bg_lookup || s.anti_alias_flag) << stored;
  }
}

TEST(RenderSettings, HundredthsRoundTripWithoutDrift) {
  for (int hundredths = 0; hundredths <= 1000; ++hundredths) {
    EXPECT_EQ(FractionToHundredths(hundredths / 100.0), static_cast<std::uint32_t>(hundredths));
  }
  EXPECT_EQ(FractionToHundredths(0.505), 50u);  // a real fraction is truncated
  EXPECT_EQ(FractionToHundredths(-0.2), static_cast<std::uint32_t>(-20));
  EXPECT_EQ(FractionToHundredths(1e300), 0x7FFFFFFFu);
}

}  // namespace
}  // namespace kx::hostkit

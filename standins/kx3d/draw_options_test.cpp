#include "standins/kx3d/draw_options.h"

#include <gtest/gtest.h>

namespace kx::kx3d {
namespace {

DrawFeatures Decode(std::int32_t option, std::int32_t code, bool force_rgb = false) {
  const std::optional<DrawFeatures> f = DecodeDrawOptions(option, code, force_rgb);
  EXPECT_TRUE(f);
  return f.value_or(DrawFeatures{});
}

// The option words the viewer builds for its configurations.
TEST(DrawOptions, ViewerConfigurations) {
  const DrawFeatures aa = Decode(0x30120, 2);  // anti-aliasing only
  EXPECT_EQ(aa.library, GraphicsLibrary::kDirect3D9);
  EXPECT_EQ(aa.antialias_level, 1);
  EXPECT_EQ(aa.shadow_map_level, 0);
  EXPECT_FALSE(aa.phong);

  const DrawFeatures effects = Decode(0x203020, 3);  // shadows and Phong, no anti-aliasing
  EXPECT_EQ(effects.antialias_level, 0);
  EXPECT_EQ(effects.shadow_map_level, 3);
  EXPECT_TRUE(effects.phong);

  const DrawFeatures all = Decode(0x233120, 3);
  EXPECT_EQ(all.antialias_level, 1);
  EXPECT_EQ(all.shadow_map_level, 3);
  EXPECT_TRUE(all.phong);

  const DrawFeatures plain = Decode(0x20, 2);
  EXPECT_EQ(plain.antialias_level, 0);
  EXPECT_EQ(plain.shadow_map_level, 0);
  EXPECT_FALSE(plain.phong);

  const DrawFeatures generic = Decode(0x2, 1);
  EXPECT_EQ(generic.library, GraphicsLibrary::kOpenGL);
  EXPECT_TRUE(generic.generic_pixel_format);
  EXPECT_FALSE(generic.rgb_pixel_format);

  const DrawFeatures accelerated = Decode(0x0, 1);
  EXPECT_FALSE(accelerated.generic_pixel_format);
}

TEST(DrawOptions, RgbPixelFormatFromTheBitOrTheSwitch) {
  EXPECT_TRUE(Decode(0x4, 1).rgb_pixel_format);
  EXPECT_TRUE(Decode(0x6, 1).generic_pixel_format);
  EXPECT_TRUE(Decode(0x0, 1, true).rgb_pixel_format);
  EXPECT_FALSE(Decode(0x0, 1, false).rgb_pixel_format);
}

TEST(DrawOptions, BitsOutsideTheirLibraryAreIgnored) {
  // Effects need library code 3; code 2 draws without them.
  const DrawFeatures code2 = Decode(0x233120, 2);
  EXPECT_EQ(code2.antialias_level, 1);
  EXPECT_EQ(code2.shadow_map_level, 0);
  EXPECT_FALSE(code2.phong);
  // OpenGL has none of the Direct3D features.
  const DrawFeatures gl = Decode(0x233120, 1);
  EXPECT_EQ(gl.antialias_level, 0);
  EXPECT_EQ(gl.shadow_map_level, 0);
  EXPECT_FALSE(gl.phong);
  EXPECT_FALSE(gl.generic_pixel_format);
  // Direct3D has no pixel formats to choose.
  EXPECT_FALSE(Decode(0x26, 2).generic_pixel_format);
  // A level without the anti-aliasing switch is no anti-aliasing.
  EXPECT_EQ(Decode(0x0320, 2).antialias_level, 0);
  EXPECT_EQ(Decode(0x30520, 2).antialias_level, 5);
}

TEST(DrawOptions, UnknownLibraryCodes) {
  EXPECT_FALSE(DecodeDrawOptions(0x20, 0, false));
  EXPECT_FALSE(DecodeDrawOptions(0x20, 4, false));
  EXPECT_FALSE(DecodeDrawOptions(0x20, -1, false));
}

TEST(DrawOptions, LevelsToSamplesAndShadowMapSizes) {
  EXPECT_EQ(SamplesForAntialiasLevel(0), 0);
  EXPECT_EQ(SamplesForAntialiasLevel(1), 4);
  EXPECT_EQ(SamplesForAntialiasLevel(2), 8);
  EXPECT_EQ(SamplesForAntialiasLevel(3), 16);
  EXPECT_EQ(SamplesForAntialiasLevel(15), 16);
  EXPECT_EQ(ShadowMapSizeForLevel(0), 0);
  EXPECT_EQ(ShadowMapSizeForLevel(1), 512);
  EXPECT_EQ(ShadowMapSizeForLevel(2), 1024);
  EXPECT_EQ(ShadowMapSizeForLevel(3), 2048);
  EXPECT_EQ(ShadowMapSizeForLevel(15), 2048);
}

}  // namespace
}  // namespace kx::kx3d

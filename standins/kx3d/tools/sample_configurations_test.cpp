#include "standins/kx3d/tools/sample_configurations.h"

#include <gtest/gtest.h>

#include "standins/kx3d/draw_options.h"

namespace kx::kx3d {
namespace {

TEST(SampleConfigurations, OptionWordsOfTheViewer) {
  const auto& c = kSampleConfigurations;
  EXPECT_EQ(c[0].Option(), 0x233120);  // A: everything
  EXPECT_EQ(c[0].LibraryCode(), 3);
  EXPECT_EQ(c[3].Option(), 0x30120);  // D: anti-aliasing only
  EXPECT_EQ(c[3].LibraryCode(), 2);
  EXPECT_EQ(c[4].Option(), 0x203020);  // E: shadows and Phong
  EXPECT_EQ(c[4].LibraryCode(), 3);
  EXPECT_EQ(c[7].Option(), 0x20);  // H: plain DirectX
  EXPECT_EQ(c[7].LibraryCode(), 2);
  EXPECT_EQ(c[8].Option(), 0x0);  // I: accelerated OpenGL
  EXPECT_EQ(c[8].LibraryCode(), 1);
  EXPECT_EQ(c[9].Option(), 0x2);  // J: generic OpenGL
  EXPECT_EQ(c[9].LibraryCode(), 1);
  EXPECT_EQ(c[9].BmpFile(), "testJ.bmp");
}

// Every entry reaches the engine as the features it stands for.
TEST(SampleConfigurations, EachEntryDecodesToItsFeatures) {
  for (const SampleConfiguration& c : kSampleConfigurations) {
    const auto f = DecodeDrawOptions(c.Option(), c.LibraryCode(), false);
    ASSERT_TRUE(f) << c.letter;
    EXPECT_EQ(f->library == GraphicsLibrary::kDirect3D9, c.direct_x) << c.letter;
    EXPECT_EQ(f->antialias_level > 0, c.antialias) << c.letter;
    EXPECT_EQ(f->shadow_map_level > 0, c.shadow) << c.letter;
    EXPECT_EQ(f->phong, c.phong) << c.letter;
    if (!c.direct_x) {
      EXPECT_EQ(f->generic_pixel_format, c.no_opengl_acceleration) << c.letter;
    }
  }
}

}  // namespace
}  // namespace kx::kx3d

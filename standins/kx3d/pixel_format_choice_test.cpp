#include "standins/kx3d/pixel_format_choice.h"

#include <gtest/gtest.h>

namespace kx::kx3d {
namespace {

constexpr std::uint32_t kWindowGl = kPfdDrawToWindow | kPfdSupportOpenGL;

PixelFormatSummary Format(int index, std::uint32_t flags, int color, int alpha, int depth) {
  PixelFormatSummary f;
  f.index = index;
  f.flags = flags;
  f.color_bits = color;
  f.alpha_bits = alpha;
  f.depth_bits = depth;
  return f;
}

// Shaped like the list a driver with a generic fallback describes: the
// generic formats are single-buffered.
std::vector<PixelFormatSummary> Formats() {
  return {
      Format(1, kWindowGl, 32, 8, 0),                       // no depth
      Format(2, kWindowGl | kPfdGenericFormat, 32, 8, 24),  // generic
      Format(3, kWindowGl | kPfdDoubleBuffer, 32, 8, 16),
      Format(4, kWindowGl | kPfdDoubleBuffer, 32, 8, 24),
      Format(5, kWindowGl | kPfdDoubleBuffer, 32, 8, 32),
      Format(6, kWindowGl | kPfdDoubleBuffer, 24, 0, 24),   // RGB
      Format(7, kWindowGl | kPfdGenericFormat, 24, 0, 24),  // generic RGB
      Format(8, kWindowGl | kPfdGenericFormat | kPfdGenericAccelerated | kPfdDoubleBuffer, 32, 8,
             24),                                                  // generic but driver-accelerated
      Format(9, kPfdSupportOpenGL | kPfdDoubleBuffer, 32, 8, 24),  // bitmaps only
  };
}

DrawFeatures Gl(bool generic, bool rgb) {
  DrawFeatures f;
  f.generic_pixel_format = generic;
  f.rgb_pixel_format = rgb;
  return f;
}

TEST(PixelFormatChoice, AcceleratedPrefersDoubleBufferedWithA24BitDepthBuffer) {
  EXPECT_EQ(ChoosePixelFormat(Formats(), Gl(false, false)), 4);
}

TEST(PixelFormatChoice, UnacceleratedTakesOnlyTheGenericImplementation) {
  EXPECT_EQ(ChoosePixelFormat(Formats(), Gl(true, false)), 2);
  // A generic format that a driver accelerates is not unaccelerated.
  EXPECT_FALSE(IsUnaccelerated(Formats()[7]));
  EXPECT_TRUE(IsUnaccelerated(Formats()[1]));
}

TEST(PixelFormatChoice, ForcedRgbTakesAFormatWithoutAlpha) {
  EXPECT_EQ(ChoosePixelFormat(Formats(), Gl(false, true)), 6);
  EXPECT_EQ(ChoosePixelFormat(Formats(), Gl(true, true)), 7);
}

TEST(PixelFormatChoice, NothingFitsGivesZero) {
  EXPECT_EQ(ChoosePixelFormat({}, Gl(false, false)), 0);
  std::vector<PixelFormatSummary> accelerated_only{Formats()[3], Formats()[4]};
  EXPECT_EQ(ChoosePixelFormat(accelerated_only, Gl(true, false)), 0);
  EXPECT_EQ(ChoosePixelFormat(accelerated_only, Gl(false, true)), 0);
  PixelFormatSummary index_colour = Formats()[3];
  index_colour.pixel_type = 1;
  EXPECT_EQ(ChoosePixelFormat({index_colour}, Gl(false, false)), 0);
  PixelFormatSummary sixteen_bit = Formats()[3];
  sixteen_bit.color_bits = 16;
  EXPECT_EQ(ChoosePixelFormat({sixteen_bit}, Gl(false, false)), 0);
}

}  // namespace
}  // namespace kx::kx3d

#include "standins/kx3d/frame_image.h"

#include <gtest/gtest.h>

namespace kx::kx3d {
namespace {

FrameImage Gradient(int w, int h) {
  FrameImage image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = image.Pixel(x, y);
      p[0] = static_cast<std::uint8_t>(x * 7);
      p[1] = static_cast<std::uint8_t>(y * 11);
      p[2] = static_cast<std::uint8_t>(x + y);
    }
  }
  return image;
}

std::uint32_t U32(const std::string& s, std::size_t at) {
  return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8 |
         static_cast<std::uint8_t>(s[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24;
}

TEST(FrameImage, BmpIsBottomUp24BitWithPaddedRows) {
  const FrameImage image = Gradient(5, 3);  // 15 bytes per row, padded to 16
  const std::string bmp = EncodeBmp(image);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(bmp.size(), 54u + 16u * 3u);
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 54u);
  EXPECT_EQ(U32(bmp, 18), 5u);
  EXPECT_EQ(U32(bmp, 22), 3u);
  EXPECT_EQ(bmp[28], 24);
  // The first stored row is the bottom one.
  EXPECT_EQ(static_cast<std::uint8_t>(bmp[54 + 1]), image.Pixel(0, 2)[1]);
  EXPECT_EQ(bmp[54 + 15], '\0');
}

TEST(FrameImage, BmpRoundTrip) {
  for (int w : {1, 2, 3, 4, 320}) {
    const FrameImage image = Gradient(w, 7);
    FrameImage read;
    ASSERT_TRUE(DecodeBmp(EncodeBmp(image), &read));
    EXPECT_EQ(read.width, w);
    EXPECT_EQ(read.height, 7);
    EXPECT_EQ(read.bgr, image.bgr);
  }
}

TEST(FrameImage, TopDownBmpReadsTheSame) {
  const FrameImage image = Gradient(4, 2);
  std::string bmp = EncodeBmp(image);
  // Make it top-down: negative height, rows swapped.
  const std::uint32_t minus_two = static_cast<std::uint32_t>(-2);
  for (int i = 0; i < 4; ++i) bmp[22 + i] = static_cast<char>((minus_two >> (8 * i)) & 0xFF);
  std::string rows = bmp.substr(54);
  bmp = bmp.substr(0, 54) + rows.substr(12) + rows.substr(0, 12);
  FrameImage read;
  ASSERT_TRUE(DecodeBmp(bmp, &read));
  EXPECT_EQ(read.bgr, image.bgr);
}

TEST(FrameImage, RefusesOtherFilesAndLeavesTheImage) {
  const std::string good = EncodeBmp(Gradient(4, 4));
  FrameImage kept = Gradient(2, 2);
  EXPECT_FALSE(DecodeBmp("", &kept));
  EXPECT_FALSE(DecodeBmp("KQ3D" + good.substr(4), &kept));
  EXPECT_FALSE(DecodeBmp(good.substr(0, good.size() - 1), &kept));
  std::string bits32 = good;
  bits32[28] = 32;
  EXPECT_FALSE(DecodeBmp(bits32, &kept));
  std::string compressed = good;
  compressed[30] = 1;
  EXPECT_FALSE(DecodeBmp(compressed, &kept));
  std::string far_offset = good;
  far_offset[10] = static_cast<char>(0xFF);
  far_offset[11] = static_cast<char>(0xFF);
  EXPECT_FALSE(DecodeBmp(far_offset, &kept));
  EXPECT_EQ(kept.width, 2);
  EXPECT_EQ(kept.bgr, Gradient(2, 2).bgr);
}

TEST(FrameImage, CompareCountsPixelsAndTheLargestStep) {
  const FrameImage a = Gradient(8, 8);
  FrameImage b = a;
  EXPECT_EQ(CompareImages(a, b).differing_pixels, 0);
  b.Pixel(3, 4)[2] = static_cast<std::uint8_t>(b.Pixel(3, 4)[2] + 9);
  b.Pixel(5, 5)[0] = static_cast<std::uint8_t>(b.Pixel(5, 5)[0] ^ 1);
  const ImageDifference d = CompareImages(a, b);
  EXPECT_TRUE(d.same_size);
  EXPECT_EQ(d.differing_pixels, 2);
  EXPECT_EQ(d.max_channel_delta, 9);
  EXPECT_EQ(CompareImages(a, b, 1).differing_pixels, 1);
  EXPECT_EQ(CompareImages(a, b, 9).differing_pixels, 0);
  EXPECT_FALSE(CompareImages(a, Gradient(8, 7)).same_size);
}

}  // namespace
}  // namespace kx::kx3d

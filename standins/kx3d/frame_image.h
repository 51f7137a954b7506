// A finished picture of the engine's view, and its form as a 24-bit BMP
// file (the form of the viewer's sample pictures).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx::kx3d {

// Rows from the top, three bytes per pixel (blue, green, red), no padding.
struct FrameImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;

  FrameImage() = default;
  FrameImage(int w, int h) : width(w), height(h), bgr(static_cast<std::size_t>(w) * h * 3) {}
  std::uint8_t* Pixel(int x, int y) { return &bgr[(static_cast<std::size_t>(y) * width + x) * 3]; }
  const std::uint8_t* Pixel(int x, int y) const {
    return &bgr[(static_cast<std::size_t>(y) * width + x) * 3];
  }
};

// A bottom-up, uncompressed 24-bit BMP with rows padded to four bytes.
std::string EncodeBmp(const FrameImage& image);
// Reads an uncompressed 24-bit BMP, bottom-up or top-down; false for any
// other file, `*image` untouched then.
bool DecodeBmp(const std::string& bytes, FrameImage* image);

// How far two pictures of the same size lie apart.
struct ImageDifference {
  bool same_size = false;
  int max_channel_delta = 0;  // the largest difference of one colour channel
  long differing_pixels = 0;  // pixels with a channel differing by more than the tolerance
};
ImageDifference CompareImages(const FrameImage& a, const FrameImage& b, int tolerance = 0);

}  // namespace kx::kx3d

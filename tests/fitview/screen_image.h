// Pictures taken from the screen and from bitmap files, and a tolerant
// comparison of two of them, for checking what the viewer shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kx::test {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;  // top-down rows, 3 bytes a pixel, no padding

  const std::uint8_t* At(int x, int y) const {
    return &bgr[(static_cast<std::size_t>(y) * width + x) * 3];
  }
  bool Empty() const { return width == 0 || height == 0; }
};

// The client area of `window` as it is on the screen (whatever covers it,
// including what OpenGL or Direct3D drew into child windows).
Image CaptureClient(HWND window);
// The whole window, frame and caption included.
Image CaptureWindow(HWND window);
// A bitmap file; empty when it cannot be read.
Image LoadBitmapFile(const std::string& path);
Image Crop(const Image& image, int x, int y, int width, int height);
// Saved as a 24-bit bitmap file, for looking at afterwards.
bool SaveBitmapFile(const Image& image, const std::string& path);

struct ImageDifference {
  double mean = 0;        // mean absolute difference per channel, 0..255
  double changed_share = 0;  // share of pixels with a channel differing by more than 15
  double far_share = 0;      // share of pixels with a channel differing by more than 64
};

// Compares two pictures of the same size, leaving out the rectangle
// (skip_x, skip_y, skip_w, skip_h) that differs by design.
ImageDifference Compare(const Image& a, const Image& b, int skip_x = 0, int skip_y = 0,
                        int skip_w = 0, int skip_h = 0);

// Standard deviation of the grey level: near 0 for a plain area.
double Contrast(const Image& image);

}  // namespace kx::test

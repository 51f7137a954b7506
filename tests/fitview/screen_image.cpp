#include "tests/fitview/screen_image.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "platform/win32/unique_resource.h"

namespace kx::test {
namespace {

BITMAPINFO TopDown24(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

int Stride(int width) { return (width * 3 + 3) & ~3; }

// Rows of a 24-bit DIB (padded to 4 bytes) into a packed image.
Image FromDib(const std::uint8_t* bits, int width, int height) {
  Image image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y) {
    std::copy(bits + static_cast<std::size_t>(y) * Stride(width),
              bits + static_cast<std::size_t>(y) * Stride(width) + width * 3,
              image.bgr.begin() + static_cast<std::ptrdiff_t>(y) * width * 3);
  }
  return image;
}

Image ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = TopDown24(width, height);
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(Stride(width)) * height);
  if (GetDIBits(dc, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS) != height) return {};
  return FromDib(bits.data(), width, height);
}

// The screen's pixels in a rectangle.
Image CaptureScreen(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  win::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  const HGDIOBJ old = SelectObject(memory, bitmap.get());
  BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
  SelectObject(memory, old);
  Image image = ReadBitmap(memory, bitmap.get(), width, height);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

}  // namespace

Image CaptureClient(HWND window) {
  RECT client;
  if (!GetClientRect(window, &client)) return {};
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  return CaptureScreen(origin.x, origin.y, client.right, client.bottom);
}

Image CaptureWindow(HWND window) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return {};
  return CaptureScreen(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

Image LoadBitmapFile(const std::string& path) {
  win::UniqueBitmap bitmap(static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  if (!bitmap) return {};
  BITMAP info;
  GetObjectA(bitmap.get(), sizeof(info), &info);
  const HDC screen = GetDC(nullptr);
  Image image = ReadBitmap(screen, bitmap.get(), info.bmWidth, info.bmHeight);
  ReleaseDC(nullptr, screen);
  return image;
}

Image Crop(const Image& image, int x, int y, int width, int height) {
  Image part{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* from = image.At(x, y + row);
    std::copy(from, from + width * 3, part.bgr.begin() + static_cast<std::ptrdiff_t>(row) * width * 3);
  }
  return part;
}

bool SaveBitmapFile(const Image& image, const std::string& path) {
  const int stride = Stride(image.width);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = TopDown24(image.width, image.height).bmiHeader;
  header.biHeight = image.height;  // bottom-up, as most readers expect
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * image.height;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  const std::vector<char> padding(static_cast<std::size_t>(stride - image.width * 3), 0);
  for (int y = image.height - 1; y >= 0; --y) {
    out.write(reinterpret_cast<const char*>(image.At(0, y)), image.width * 3);
    out.write(padding.data(), static_cast<std::streamsize>(padding.size()));
  }
  return static_cast<bool>(out);
}

ImageDifference Compare(const Image& a, const Image& b, int skip_x, int skip_y, int skip_w,
                        int skip_h) {
  ImageDifference difference;
  if (a.width != b.width || a.height != b.height || a.Empty()) {
    difference.mean = 255;
    difference.changed_share = 1;
    difference.far_share = 1;
    return difference;
  }
  double total = 0;
  long changed_pixels = 0;
  long far_pixels = 0;
  long pixels = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (x >= skip_x && x < skip_x + skip_w && y >= skip_y && y < skip_y + skip_h) continue;
      int largest = 0;
      for (int c = 0; c < 3; ++c) {
        const int d = std::abs(a.At(x, y)[c] - b.At(x, y)[c]);
        total += d;
        if (d > largest) largest = d;
      }
      if (largest > 15) ++changed_pixels;
      if (largest > 64) ++far_pixels;
      ++pixels;
    }
  }
  difference.mean = total / (3.0 * static_cast<double>(pixels));
  difference.changed_share = static_cast<double>(changed_pixels) / static_cast<double>(pixels);
  difference.far_share = static_cast<double>(far_pixels) / static_cast<double>(pixels);
  return difference;
}

double Contrast(const Image& image) {
  if (image.Empty()) return 0;
  double sum = 0;
  double squares = 0;
  const double n = static_cast<double>(image.width) * image.height;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.At(x, y);
      const double grey = (p[0] + p[1] + p[2]) / 3.0;
      sum += grey;
      squares += grey * grey;
    }
  }
  const double mean = sum / n;
  return std::sqrt(std::max(0.0, squares / n - mean * mean));
}

}  // namespace kx::test

#include "standins/kx3d/frame_image.h"

#include <algorithm>
#include <cstdlib>

namespace kx::kx3d {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}
std::uint32_t Get32(const std::string& in, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(in[at + i]);
  return v;
}
std::uint16_t Get16(const std::string& in, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(in[at]) |
                                    (static_cast<std::uint8_t>(in[at + 1]) << 8));
}
std::size_t RowStride(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

}  // namespace

std::string EncodeBmp(const FrameImage& image) {
  const std::size_t stride = RowStride(image.width);
  const std::size_t pixels_size = stride * static_cast<std::size_t>(image.height);
  std::string out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + pixels_size);
  out += "BM";
  Put32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + pixels_size));
  Put32(out, 0);
  Put32(out, kFileHeaderSize + kInfoHeaderSize);
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(image.width));
  Put32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom-up
  Put16(out, 1);                                         // planes
  Put16(out, 24);                                        // bits per pixel
  Put32(out, 0);                                         // BI_RGB
  Put32(out, static_cast<std::uint32_t>(pixels_size));
  Put32(out, 3780);  // 96 dots per inch, in dots per metre
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const char*>(image.Pixel(0, y));
    out.append(row, static_cast<std::size_t>(image.width) * 3);
    out.append(stride - static_cast<std::size_t>(image.width) * 3, '\0');
  }
  return out;
}

bool DecodeBmp(const std::string& bytes, FrameImage* image) {
  if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
    return false;
  }
  const std::uint32_t offset = Get32(bytes, 10);
  const std::uint32_t info_size = Get32(bytes, 14);
  const auto width = static_cast<std::int32_t>(Get32(bytes, 18));
  const auto height = static_cast<std::int32_t>(Get32(bytes, 22));
  if (info_size < kInfoHeaderSize || Get16(bytes, 26) != 1 || Get16(bytes, 28) != 24 ||
      Get32(bytes, 30) != 0 || width <= 0 || height == 0 || width > 65536 || height > 65536 ||
      height < -65536) {
    return false;
  }
  const int rows = std::abs(height);
  const std::size_t stride = RowStride(width);
  if (offset > bytes.size() || (bytes.size() - offset) / stride < static_cast<std::size_t>(rows)) {
    return false;
  }
  FrameImage decoded(width, rows);
  for (int r = 0; r < rows; ++r) {
    const int y = height > 0 ? rows - 1 - r : r;
    const char* row = bytes.data() + offset + stride * static_cast<std::size_t>(r);
    std::copy(row, row + static_cast<std::size_t>(width) * 3, decoded.Pixel(0, y));
  }
  *image = std::move(decoded);
  return true;
}

ImageDifference CompareImages(const FrameImage& a, const FrameImage& b, int tolerance) {
  ImageDifference d;
  d.same_size = a.width == b.width && a.height == b.height && a.bgr.size() == b.bgr.size();
  if (!d.same_size) return d;
  for (std::size_t i = 0; i < a.bgr.size(); i += 3) {
    int pixel_delta = 0;
    for (int c = 0; c < 3; ++c)
      pixel_delta = std::max(pixel_delta, std::abs(a.bgr[i + c] - b.bgr[i + c]));
    if (pixel_delta > tolerance) ++d.differing_pixels;
    d.max_channel_delta = std::max(d.max_channel_delta, pixel_delta);
  }
  return d;
}

}  // namespace kx::kx3d

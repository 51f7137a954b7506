#include "fitview/view_picture_win32.h"

#include "platform/win32/unique_resource.h"

namespace kx {
namespace {

struct MemoryDcTraits {
  using value_type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC dc) noexcept { DeleteDC(dc); }
};
using UniqueMemoryDc = win::UniqueResource<MemoryDcTraits>;

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

// Rows of a 24-bit DIB (blue, green, red, padded to four bytes) into a
// picture of red, green, blue.
RgbPicture FromDibRows(const BYTE* rows, int width, int height) {
  RgbPicture picture(width, height);
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  for (int y = 0; y < height; ++y) {
    const BYTE* in = rows + stride * static_cast<std::size_t>(y);
    std::uint8_t* out = picture.At(0, y);
    for (int x = 0; x < width; ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return picture;
}

}  // namespace

RgbPicture PrintClientArea(HWND window) noexcept {
  try {
    RECT client;
    if (!IsWindow(window) || !GetClientRect(window, &client)) return {};
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return {};
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return {};
    BITMAPINFO info = TopDown24(width, height);
    void* bits = nullptr;
    win::UniqueBitmap picture(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture || bits == nullptr) return {};
    const HGDIOBJ previous = SelectObject(dc.get(), picture.get());
    const BOOL printed = PrintWindow(window, dc.get(), PW_CLIENTONLY);
    GdiFlush();
    SelectObject(dc.get(), previous);
    if (!printed) return {};
    return FromDibRows(static_cast<const BYTE*>(bits), width, height);
  } catch (...) {
    return {};
  }
}

RgbPicture BitmapPixels(HBITMAP bitmap) noexcept {
  try {
    BITMAP shape;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(shape), &shape) != sizeof(shape)) return {};
    if (shape.bmWidth <= 0 || shape.bmHeight <= 0) return {};
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return {};
    BITMAPINFO info = TopDown24(shape.bmWidth, shape.bmHeight);
    const std::size_t stride = (static_cast<std::size_t>(shape.bmWidth) * 3 + 3) & ~std::size_t{3};
    std::vector<BYTE> rows(stride * static_cast<std::size_t>(shape.bmHeight));
    if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(shape.bmHeight), rows.data(), &info,
                  DIB_RGB_COLORS) != shape.bmHeight) {
      return {};
    }
    return FromDibRows(rows.data(), shape.bmWidth, shape.bmHeight);
  } catch (...) {
    return {};
  }
}

}  // namespace kx

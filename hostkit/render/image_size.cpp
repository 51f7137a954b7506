#include "hostkit/render/image_size.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/text.h"

namespace kx::hostkit {
namespace {

// A real number of pixels as an int, within what any further step needs.
int TruncatePixels(double value) {
  if (!(value > -1e9)) return -1000000000;
  if (value > 1e9) return 1000000000;
  return static_cast<int>(value);
}

int ScaleSide(std::int64_t side, std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0)
    return static_cast<int>(std::clamp<std::int64_t>(side, INT32_MIN, INT32_MAX));
  const std::int64_t scaled = side * numerator / denominator;
  return static_cast<int>(std::clamp<std::int64_t>(scaled, INT32_MIN, INT32_MAX));
}

}  // namespace

const std::array<Paper, kPaperCount> kPapers = {{
    {"Ａ２", 594, 420},
    {"Ｂ３", 515, 364},
    {"Ａ３", 420, 297},
    {"Ｂ４", 364, 257},
    {"Ａ４", 297, 210},
    {"Ｂ５", 257, 182},
    {"Ａ５", 210, 148},
}};

const std::array<int, 3> kResolutionDpi = {125, 72, 200};

const Paper& PaperAt(int index) {
  if (index < 0 || index >= kPaperCount) return kPapers[4];
  return kPapers[static_cast<std::size_t>(index)];
}

PixelSize RawPaperPixels(const PaperLayout& layout) {
  const Paper& paper = PaperAt(layout.paper_index);
  // In 64 bits: a typed margin may be any 32-bit number.
  const double usable_long = static_cast<double>(paper.long_side) - layout.right - layout.left;
  const double usable_short = static_cast<double>(paper.short_side) - layout.bottom - layout.top;
  PixelSize size{TruncatePixels(layout.dpi * usable_long / 25.4),
                 TruncatePixels(layout.dpi * usable_short / 25.4)};
  if (layout.portrait) std::swap(size.width, size.height);
  return size;
}

PixelSize ClampSides(PixelSize size, int max_side) {
  size.width = std::min(std::max(size.width, kMinSide), max_side);
  size.height = std::min(std::max(size.height, kMinSide), max_side);
  return size;
}

PixelSize LimitImageSize(PixelSize size, int max_side) {
  if (size.width > max_side || size.height > max_side) {
    if (size.width > size.height) {
      size.height = ScaleSide(size.height, max_side, size.width);
      size.width = max_side;
    } else {
      size.width = ScaleSide(size.width, max_side, size.height);
      size.height = max_side;
    }
  }
  return ClampSides(size, max_side);
}

std::string PresetText(int preset, int max_side) {
  switch (preset) {
    case 0:
      return "縦横比固定で最大";
    case 1:
      return "パース図と同じサイズ";
    case 2:
      return "パース図の50％";
    case 3:
      return "パース図の25％";
    case 4:
      return Format("最大（%d×%d）", max_side, max_side);
    case 5:
      return "大（1024×768）";
    case 6:
      return "中（800×600）";
    case 7:
      return "小（640×480）";
    case 8:
      return "数値指定...";
    default:
      return std::string();
  }
}

bool PresetKeepsRatio(int preset) { return preset >= 0 && preset <= 3; }

PixelSize PresetSize(int preset, PixelSize perspective, PixelSize typed, int max_side) {
  const int w0 = perspective.width;
  const int h0 = perspective.height;
  switch (preset) {
    case 0:
      if (w0 >= h0) return {max_side, ScaleSide(h0, max_side, w0)};
      return {ScaleSide(w0, max_side, h0), max_side};
    case 1:
      return {w0, h0};
    case 2:
      return {w0 / 2, h0 / 2};
    case 3:
      return {w0 / 4, h0 / 4};
    case 4:
      return {max_side, max_side};
    case 5:
      return {1024, 768};
    case 6:
      return {800, 600};
    case 7:
      return {640, 480};
    default:
      return typed;
  }
}

int SameRatioSide(int typed, int this_side, int other_side, int current_other) {
  if (this_side == 0) return current_other;
  return ScaleSide(other_side, typed, this_side);
}

int ResolutionItemFor(int dpi) {
  for (std::size_t i = 0; i < kResolutionDpi.size(); ++i) {
    if (kResolutionDpi[i] == dpi) return static_cast<int>(i);
  }
  return kResolutionTyped;
}

}  // namespace kx::hostkit

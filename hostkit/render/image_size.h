// The size in pixels of the picture the host renders: from a paper size,
// margins and a resolution, or from a pixel count, a size preset and the
// host's perspective view. Sides are kept between 8 and the mode's maximum.
#pragma once

#include <array>
#include <string>

namespace kx::hostkit {

inline constexpr int kMinSide = 8;
inline constexpr int kServiceMaxSide = 10000;
inline constexpr int kLocalMaxSide = 5000;
inline constexpr int kMinDpi = 36;
inline constexpr int kMaxDpi = 2400;

inline int MaxSide(bool service_mode) { return service_mode ? kServiceMaxSide : kLocalMaxSide; }

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize& o) const { return width == o.width && height == o.height; }
};

// Millimetres, landscape orientation.
struct Paper {
  const char* name;
  int long_side;
  int short_side;
};
inline constexpr int kPaperCount = 7;
extern const std::array<Paper, kPaperCount> kPapers;
// The paper of a stored index; A4 for an index the table does not have.
const Paper& PaperAt(int index);

struct PaperLayout {
  int paper_index = 4;
  bool portrait = false;
  int left = 20, right = 20, top = 20, bottom = 20;  // millimetres
  int dpi = 125;
};

// The pixels of the printable part of the paper, before the limits.
PixelSize RawPaperPixels(const PaperLayout& layout);

// Scaled down, ratio kept, until neither side exceeds `max_side`; then each
// side raised to at least 8 and lowered to at most `max_side`.
PixelSize LimitImageSize(PixelSize size, int max_side);

// Each side raised to at least 8 and lowered to at most `max_side`.
PixelSize ClampSides(PixelSize size, int max_side);

// The size presets of the size combo.
inline constexpr int kPresetCount = 9;
inline constexpr int kPresetTyped = 8;
std::string PresetText(int preset, int max_side);
// Whether the preset keeps the perspective's aspect ratio.
bool PresetKeepsRatio(int preset);
// The size a preset gives for a perspective of `perspective`; the typed size
// for preset 8. Not yet clamped.
PixelSize PresetSize(int preset, PixelSize perspective, PixelSize typed, int max_side);

// The other side when one is typed with the aspect ratio kept:
// other perspective side × typed ÷ this perspective side. `this_side` of 0
// (which the host must not pass) leaves `current_other`.
int SameRatioSide(int typed, int this_side, int other_side, int current_other);

// The resolution combo: 125, 72, 200 dpi, then "typed".
inline constexpr int kResolutionTyped = 3;
extern const std::array<int, 3> kResolutionDpi;
int ResolutionItemFor(int dpi);

}  // namespace kx::hostkit

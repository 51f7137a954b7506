#include "standins/kx3d/pixel_format_choice.h"

#include <cstdlib>
#include <tuple>

namespace kx::kx3d {

bool IsUnaccelerated(const PixelFormatSummary& format) {
  return (format.flags & kPfdGenericFormat) != 0 && (format.flags & kPfdGenericAccelerated) == 0;
}

int ChoosePixelFormat(const std::vector<PixelFormatSummary>& formats,
                      const DrawFeatures& features) {
  const PixelFormatSummary* best = nullptr;
  // Smaller is better.
  const auto rank = [](const PixelFormatSummary& f) {
    return std::make_tuple((f.flags & kPfdDoubleBuffer) ? 0 : 1, std::abs(f.depth_bits - 24),
                           f.index);
  };
  for (const PixelFormatSummary& f : formats) {
    const std::uint32_t needed = kPfdDrawToWindow | kPfdSupportOpenGL;
    if ((f.flags & needed) != needed || f.pixel_type != kPfdTypeRgba || f.color_bits < 24 ||
        f.depth_bits < 16) {
      continue;
    }
    if (IsUnaccelerated(f) != features.generic_pixel_format) continue;
    if (features.rgb_pixel_format && f.alpha_bits != 0) continue;
    if (best == nullptr || rank(f) < rank(*best)) best = &f;
  }
  return best ? best->index : 0;
}

}  // namespace kx::kx3d

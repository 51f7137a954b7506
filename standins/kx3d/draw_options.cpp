#include "standins/kx3d/draw_options.h"

#include <algorithm>

namespace kx::kx3d {

std::optional<DrawFeatures> DecodeDrawOptions(std::int32_t option, std::int32_t library_code,
                                              bool force_rgb) {
  DrawFeatures f;
  f.library_code = library_code;
  switch (library_code) {
    case 1:
      f.library = GraphicsLibrary::kOpenGL;
      f.generic_pixel_format = (option & kOptionNoAcceleration) != 0;
      f.rgb_pixel_format = force_rgb || (option & kOptionForceRgb) != 0;
      return f;
    case 2:
    case 3:
      f.library = GraphicsLibrary::kDirect3D9;
      // The level counts only together with the anti-aliasing switch.
      if ((option & kOptionAntialias) != 0) {
        f.antialias_level = (option & kOptionAntialiasLevelMask) >> 8;
      }
      // Shadows and per-pixel lighting are the shader effects of code 3.
      if (library_code == 3) {
        f.shadow_map_level = (option & kOptionShadowLevelMask) >> 12;
        f.phong = (option & kOptionPhong) != 0;
      }
      return f;
    default:
      return std::nullopt;
  }
}

int SamplesForAntialiasLevel(int level) {
  if (level <= 0) return 0;
  return std::min(16, 2 << std::min(level, 4));
}

int ShadowMapSizeForLevel(int level) {
  if (level <= 0) return 0;
  return 256 << std::min(level, 3);
}

}  // namespace kx::kx3d

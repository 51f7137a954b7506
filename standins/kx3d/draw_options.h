// What the stand-in engine makes of a drawing set-up request: the library
// code and option word of Kxi_InitDrawEx, with the RGB switch of
// Kxi_ForceRGBPixelFormat.
#pragma once

#include <cstdint>
#include <optional>

namespace kx::kx3d {

enum class GraphicsLibrary { kOpenGL, kDirect3D9 };

struct DrawFeatures {
  GraphicsLibrary library = GraphicsLibrary::kOpenGL;
  int library_code = 1;
  // OpenGL only.
  bool generic_pixel_format = false;  // the unaccelerated (generic) implementation
  bool rgb_pixel_format = false;      // a pixel format without destination alpha
  // Direct3D 9 only.
  int antialias_level = 0;   // 0 = none, 1..15 as given
  int shadow_map_level = 0;  // 0 = no shadows, 1..15 as given (library code 3 only)
  bool phong = false;        // per-pixel lighting with highlights (library code 3 only)
};

inline constexpr std::int32_t kOptionNoAcceleration = 0x2;
inline constexpr std::int32_t kOptionForceRgb = 0x4;
inline constexpr std::int32_t kOptionDirectX = 0x20;
inline constexpr std::int32_t kOptionAntialiasLevelMask = 0x0F00;
inline constexpr std::int32_t kOptionAntialias = 0x30000;
inline constexpr std::int32_t kOptionShadowLevelMask = 0xF000;
inline constexpr std::int32_t kOptionPhong = 0x200000;

// nullopt for a library code other than 1, 2 or 3. `force_rgb` is the last
// value given to Kxi_ForceRGBPixelFormat.
std::optional<DrawFeatures> DecodeDrawOptions(std::int32_t option, std::int32_t library_code,
                                              bool force_rgb);

// Samples per pixel asked for an anti-aliasing level: 4 for level 1, then
// doubling, at most 16; 0 (no multisampling) for level 0.
int SamplesForAntialiasLevel(int level);

// Edge in texels of the square shadow map for a shadow-map level: 512, 1024,
// 2048 for levels 1, 2, 3 and above; 0 for level 0.
int ShadowMapSizeForLevel(int level);

}  // namespace kx::kx3d

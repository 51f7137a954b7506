#include "hostkit/gfxcaps/device_acceptability.h"

#include <algorithm>
#include <iterator>

namespace kx::hostkit {

namespace {

// Shadow maps need one of these floating-point formats as a texture (asked
// with no usage flags, for a plain texture resource); richest first.
constexpr std::uint32_t kFloatTextureFormats[] = {d3dformat::kR32F, d3dformat::kG32R32F,
                                                  d3dformat::kR16F, d3dformat::kG16R16F};

// Back-buffer formats the engine may run on, tried for multisampling.
constexpr std::uint32_t kSurfaceFormats[] = {d3dformat::kX8R8G8B8, d3dformat::kR5G6B5,
                                             d3dformat::kX1R5G5B5};

struct MultiSampleRow {
  std::uint32_t type;  // Direct3D 9 multisample type = sample count
  std::int32_t level;
};

// Few samples give the highest level: the engine's smoothest setting for
// the least cost.
constexpr MultiSampleRow kMultiSampleTable[] = {
    {0, 0}, {2, 3},  {3, 3},  {4, 3},  {5, 2},  {6, 2},  {7, 2},  {8, 2},
    {9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}, {15, 1}, {16, 1},
};
static_assert(std::size(kMultiSampleTable) == 16);

constexpr std::uint32_t PixelShaderVersion(std::uint32_t major) {
  return 0xFFFF0000u + major * 256u;
}

// The features of `mask` in their order: anti-aliasing (not for the OpenGL
// library), shadow maps, Phong shading; `level` and `shader` answer them.
template <class Level, class Shader>
std::int32_t Conform(std::int32_t library_code, std::uint32_t mask, Level level, Shader shader) {
  bool anti_alias = true;
  if ((mask & kMaskAntiAlias) != 0 && library_code != kLibraryOpenGL) anti_alias = level() > 0;
  bool shadow = true;
  if ((mask & kMaskShadowMap) != 0) shadow = shader(2u, true);
  bool phong = true;
  if ((mask & kMaskPhong) != 0) phong = shader(3u, false);
  return anti_alias && shadow && phong ? 1 : 0;
}

}  // namespace

std::int32_t AvailableMultiSampleLevel(Direct3DAdapter* adapter) {
  if (adapter == nullptr) return 0;
  std::int32_t level = 0;
  for (std::uint32_t format : kSurfaceFormats) {
    for (const MultiSampleRow& row : kMultiSampleTable) {
      if (adapter->SupportsMultiSample(format, row.type)) level = std::max(level, row.level);
    }
  }
  return level;
}

bool PassesShaderTest(Direct3DAdapter* adapter, std::int32_t library_code, std::uint32_t major,
                      bool check_formats) {
  if (library_code != kLibraryDirectXShader) return true;
  if (adapter == nullptr) return false;
  const std::optional<std::uint32_t> version = adapter->PixelShaderVersion();
  if (!version || *version < PixelShaderVersion(major)) return false;
  if (!check_formats) return true;
  const std::optional<std::uint32_t> display = adapter->DisplayModeFormat();
  if (!display) return false;
  for (std::uint32_t format : kFloatTextureFormats) {
    if (adapter->SupportsTextureFormat(*display, format)) return true;
  }
  return false;
}

std::int32_t ConformDeviceEx(Direct3DAdapter* adapter, std::int32_t library_code,
                             std::uint32_t mask) {
  return Conform(
      library_code, mask, [&] { return AvailableMultiSampleLevel(adapter); },
      [&](std::uint32_t major, bool formats) {
        return PassesShaderTest(adapter, library_code, major, formats);
      });
}

std::int32_t AvailableMultiSampleLevel(Direct3DProbe& direct3d) {
  return AvailableMultiSampleLevel(direct3d.Open().get());
}

bool PassesShaderTest(Direct3DProbe& direct3d, std::int32_t library_code, std::uint32_t major,
                      bool check_formats) {
  // Only the shader library is examined: the others never touch Direct3D.
  if (library_code != kLibraryDirectXShader) return true;
  return PassesShaderTest(direct3d.Open().get(), library_code, major, check_formats);
}

std::int32_t ConformDevice(Direct3DProbe& direct3d, std::int32_t library_code) {
  return PassesShaderTest(direct3d, library_code, 3, false) ? 1 : 0;
}

std::int32_t ConformDeviceEx(Direct3DProbe& direct3d, std::int32_t library_code,
                             std::uint32_t mask) {
  return Conform(
      library_code, mask, [&] { return AvailableMultiSampleLevel(direct3d); },
      [&](std::uint32_t major, bool formats) {
        return PassesShaderTest(direct3d, library_code, major, formats);
      });
}

}  // namespace kx::hostkit

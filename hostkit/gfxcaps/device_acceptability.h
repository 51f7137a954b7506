// Whether the primary display adapter can give the 3D engine anti-aliasing,
// shadow maps and Phong shading, judged from its Direct3D 9 capabilities.
// Each question opens its own Direct3D object through the probe.
#pragma once

#include <cstdint>

#include "hostkit/gfxcaps/direct3d_probe.h"

namespace kx::hostkit {

// Library codes of the engine.
constexpr std::int32_t kLibraryOpenGL = 1;
constexpr std::int32_t kLibraryDirectX = 2;
constexpr std::int32_t kLibraryDirectXShader = 3;

// Bits of the engine's drawing option word that name a feature.
constexpr std::uint32_t kMaskAntiAlias = 0x0F00;
constexpr std::uint32_t kMaskShadowMap = 0xF000;
constexpr std::uint32_t kMaskPhong = 0x200000;

// Anti-aliasing level 0..3 that adapter 0 supports: 3 for 2 to 4 samples,
// 2 for 5 to 8, 1 for 9 to 16, 0 for none or without Direct3D 9.
[[nodiscard]] std::int32_t AvailableMultiSampleLevel(Direct3DProbe& direct3d);

// Only the shader library (code 3) is examined; every other code passes.
// It needs pixel shader `major`.0 and, with `check_formats`, one of the
// floating-point texture formats on the current display format.
[[nodiscard]] bool PassesShaderTest(Direct3DProbe& direct3d, std::int32_t library_code,
                                    std::uint32_t major, bool check_formats);

// Can the shader library run at all: pixel shader 3.0. 1 or 0.
[[nodiscard]] std::int32_t ConformDevice(Direct3DProbe& direct3d, std::int32_t library_code);

// 1 when every feature named in `mask` is available for `library_code`,
// else 0; a mask naming no feature gives 1. Each feature's test opens its
// own Direct3D object.
[[nodiscard]] std::int32_t ConformDeviceEx(Direct3DProbe& direct3d, std::int32_t library_code,
                                           std::uint32_t mask);

// The same questions put to one Direct3D object that the caller holds open
// for several of them (null: Direct3D 9 is unavailable). The answers are
// those of the probe's functions above.
[[nodiscard]] std::int32_t AvailableMultiSampleLevel(Direct3DAdapter* adapter);
[[nodiscard]] bool PassesShaderTest(Direct3DAdapter* adapter, std::int32_t library_code,
                                    std::uint32_t major, bool check_formats);
[[nodiscard]] std::int32_t ConformDeviceEx(Direct3DAdapter* adapter, std::int32_t library_code,
                                           std::uint32_t mask);

}  // namespace kx::hostkit

// Drawing with Direct3D 9 (library codes 2 and 3) on the engine's surface:
// a multisampled back buffer for anti-aliasing; with code 3 a shadow map of
// the sun and per-pixel (Phong) lighting through shaders; otherwise the
// fixed-function pipeline with per-vertex lighting.
#pragma once

#include <memory>

#include "standins/kx3d/engine.h"

namespace kx::kx3d {

// Null when Direct3D 9 cannot provide what `features` asks for.
std::unique_ptr<DrawingDevice> CreateD3d9Device(const DrawFeatures& features, int width,
                                                int height) noexcept;

}  // namespace kx::kx3d

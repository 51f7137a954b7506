// Drawing with OpenGL (library code 1): a pixel format of the generic or an
// accelerated implementation on the engine's surface, fixed-function
// lighting per vertex (Gouraud), no anti-aliasing, no shadows.
#pragma once

#include <memory>

#include "standins/kx3d/engine.h"

namespace kx::kx3d {

// Null when no pixel format fits `features` or OpenGL cannot start.
std::unique_ptr<DrawingDevice> CreateGlDevice(const DrawFeatures& features, int width,
                                              int height) noexcept;

}  // namespace kx::kx3d

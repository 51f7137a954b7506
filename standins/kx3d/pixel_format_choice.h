// Which OpenGL pixel format the stand-in takes for a window, from the list
// the platform describes (DescribePixelFormat), as the option word asks:
// the generic (unaccelerated) implementation or an accelerated one, and an
// RGB format without destination alpha when RGB is forced.
#pragma once

#include <cstdint>
#include <vector>

#include "standins/kx3d/draw_options.h"

namespace kx::kx3d {

// The fields of a pixel format descriptor that the choice looks at.
struct PixelFormatSummary {
  int index = 0;  // 1-based, as the platform numbers them
  std::uint32_t flags = 0;
  int pixel_type = 0;  // 0 RGBA, 1 colour index
  int color_bits = 0, alpha_bits = 0, depth_bits = 0, stencil_bits = 0;
};

// Descriptor flags, as the platform defines them.
inline constexpr std::uint32_t kPfdDoubleBuffer = 0x1;
inline constexpr std::uint32_t kPfdDrawToWindow = 0x4;
inline constexpr std::uint32_t kPfdSupportOpenGL = 0x20;
inline constexpr std::uint32_t kPfdGenericFormat = 0x40;
inline constexpr std::uint32_t kPfdGenericAccelerated = 0x1000;
inline constexpr int kPfdTypeRgba = 0;

// True for a format of the generic implementation without an accelerating
// driver behind it.
bool IsUnaccelerated(const PixelFormatSummary& format);

// The index of the best format for `features`, 0 when none fits. Every
// candidate draws to a window with OpenGL in RGBA, with at least 24 colour
// bits and a 16-bit depth buffer. Among them: double-buffered before
// single-buffered, then a depth buffer nearest 24 bits, then the lowest index.
int ChoosePixelFormat(const std::vector<PixelFormatSummary>& formats, const DrawFeatures& features);

}  // namespace kx::kx3d

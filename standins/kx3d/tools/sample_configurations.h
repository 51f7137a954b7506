// The ten configurations of the viewer's test plan (entries A to J) and the
// engine set-up each one asks for, as the viewer builds it: the sample
// pictures are drawn with exactly these.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kx::kx3d {

struct SampleConfiguration {
  char letter;
  bool direct_x, antialias, shadow, phong, no_opengl_acceleration;

  std::string BmpFile() const { return std::string("test") + letter + ".bmp"; }
  // The option word and library code of the viewer's drawing set-up.
  std::int32_t Option() const;
  std::int32_t LibraryCode() const;
};

extern const std::array<SampleConfiguration, 10> kSampleConfigurations;

}  // namespace kx::kx3d

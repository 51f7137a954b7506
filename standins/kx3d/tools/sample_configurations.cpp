#include "standins/kx3d/tools/sample_configurations.h"

namespace kx::kx3d {

const std::array<SampleConfiguration, 10> kSampleConfigurations = {{
    {'A', true, true, true, true, true},
    {'B', true, true, true, false, true},
    {'C', true, true, false, true, true},
    {'D', true, true, false, false, true},
    {'E', true, false, true, true, true},
    {'F', true, false, true, false, true},
    {'G', true, false, false, true, true},
    {'H', true, false, false, false, true},
    {'I', false, false, false, false, false},
    {'J', false, false, false, false, true},
}};

// The viewer's rule: OpenGL takes only the acceleration bit; DirectX takes
// the base bit, anti-aliasing level 1 with its switch, shadow-map level 3
// and the Phong bit, and library code 3 when shadows or Phong are on.
std::int32_t SampleConfiguration::Option() const {
  if (!direct_x) return no_opengl_acceleration ? 0x2 : 0x0;
  std::int32_t option = 0x20;
  if (antialias) option += 0x100 + 0x30000;
  if (shadow) option += 3 * 0x1000;
  if (phong) option += 0x200000;
  return option;
}

std::int32_t SampleConfiguration::LibraryCode() const {
  if (!direct_x) return 1;
  return shadow || phong ? 3 : 2;
}

}  // namespace kx::kx3d

#pragma once

#include "fitcheck/core/graphics_capabilities.h"

namespace kx {

// The two services of Hostkit.dll, linked by ordinal when Fitcheck loads.
class HostkitCapabilities final : public GraphicsCapabilities {
 public:
  std::int32_t GetGLSpec(const std::string& folder, std::int32_t mode, GlSpec& spec,
                         std::string& chip_type) override;
  std::int32_t GetGLType(const std::string& engine_path) override;
};

}  // namespace kx

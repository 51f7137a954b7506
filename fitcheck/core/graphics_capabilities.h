// The graphics capability services of Hostkit, as the checker uses them.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

// The capability record of the display adapter.
struct GlSpec {
  std::int32_t AntiAliasAcceptable = 0;
  std::int32_t ShadowMapAcceptable = 0;
  std::int32_t PhongShadingAcceptable = 0;
  std::int32_t DirectXCapable = 0;
  std::int32_t DirectX9cCapable = 0;
  std::int32_t PhongCheck = 0;
  double VideoMemory = -1.0;
  std::int32_t DirectX = 0;
  std::int32_t DirectX9c = 0;
};

class GraphicsCapabilities {
 public:
  virtual ~GraphicsCapabilities() = default;
  // Measures the adapter and applies the chip lists of "glspec.ini" in
  // `folder` (which ends in a backslash); 0 on success. `chip_type` receives
  // the chip description (at most 259 bytes).
  virtual std::int32_t GetGLSpec(const std::string& folder, std::int32_t mode, GlSpec& spec,
                                 std::string& chip_type) = 0;
  // The library code of the engine library at `engine_path`; 0 when it
  // cannot be loaded or does not tell.
  virtual std::int32_t GetGLType(const std::string& engine_path) = 0;
};

}  // namespace kx

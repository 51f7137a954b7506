// Graphics capabilities given by value, for tests of the test plan, the
// result persistence and the wizard.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "fitcheck/core/graphics_capabilities.h"

namespace kx::test {

class FakeGraphics final : public GraphicsCapabilities {
 public:
  std::int32_t result = 0;
  GlSpec spec;
  std::string chip = "Fake Chip";
  std::map<std::string, std::int32_t> engine_types;  // engine path -> library code
  std::vector<std::string> spec_calls;               // "folder|mode" per call

  // A capable adapter: DirectX 9c with every effect.
  static GlSpec Capable() {
    GlSpec s;
    s.AntiAliasAcceptable = s.ShadowMapAcceptable = s.PhongShadingAcceptable = 1;
    s.DirectXCapable = s.DirectX9cCapable = s.PhongCheck = 1;
    s.VideoMemory = 256.0;
    s.DirectX = s.DirectX9c = 1;
    return s;
  }

  std::int32_t GetGLSpec(const std::string& folder, std::int32_t mode, GlSpec& out,
                         std::string& chip_type) override {
    spec_calls.push_back(folder + "|" + std::to_string(mode));
    if (result == 0) {
      out = spec;
      chip_type = chip;
    }
    return result;
  }
  std::int32_t GetGLType(const std::string& engine_path) override {
    auto it = engine_types.find(engine_path);
    return it == engine_types.end() ? 0 : it->second;
  }
};

}  // namespace kx::test

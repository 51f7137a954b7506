#include "fitcheck/core/hostkit_capabilities_win32.h"

#include "hostkit/include/hostkit.h"

namespace kx {

std::int32_t HostkitCapabilities::GetGLSpec(const std::string& folder, std::int32_t mode, GlSpec& spec,
                                            std::string& chip_type) {
  EnvChkGLSpec record = {};
  char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES] = {};
  const std::int32_t result = EnvChk_GetGLSpec(folder.c_str(), mode, &record, chip);
  if (result != 0) return result;
  spec.AntiAliasAcceptable = record.AntiAliasAcceptable;
  spec.ShadowMapAcceptable = record.ShadowMapAcceptable;
  spec.PhongShadingAcceptable = record.PhongShadingAcceptable;
  spec.DirectXCapable = record.DirectXCapable;
  spec.DirectX9cCapable = record.DirectX9cCapable;
  spec.PhongCheck = record.PhongCheck;
  spec.VideoMemory = record.VideoMemory;
  spec.DirectX = record.DirectX;
  spec.DirectX9c = record.DirectX9c;
  chip[sizeof chip - 1] = '\0';
  chip_type = chip;
  return result;
}

std::int32_t HostkitCapabilities::GetGLType(const std::string& engine_path) {
  return EnvChk_GetGLType(engine_path.c_str());
}

}  // namespace kx

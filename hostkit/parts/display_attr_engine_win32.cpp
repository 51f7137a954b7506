#include "hostkit/parts/display_attr_engine_win32.h"

#include <windows.h>
// windows.h first
#include <oleauto.h>

#include "fitview/engine_api/kx3d_api.h"
#include "hostkit/parts/engine_link_win32.h"

namespace kx::hostkit {

#define KX_LINK_CALL(name, entry) LinkEntry<decltype(name)>(link_, EngineEntry::entry)

std::int32_t Win32DisplayAttrEngine::GetView(std::int32_t view, std::array<float, 3>& vector) {
  // The engine writes its whole view record into the work buffer and hands
  // out the view's name, which is not used here but must be freed.
  alignas(8) unsigned char work[KX3D_VIEW_WORK_BYTES] = {};
  float field_of_view = 0, near_distance = 0, far_distance = 0;
  BSTR name = nullptr;
  const bool stored = view >= 0;
  const std::int32_t result =
      KX_LINK_CALL(Kxi_GetView, kGetView)(stored ? 1 : 0, stored ? view : 0, work, vector.data(),
                                          &field_of_view, &near_distance, &far_distance, &name);
  SysFreeString(name);
  return result;
}

std::int32_t Win32DisplayAttrEngine::GetChildPartsNum(std::int32_t parts) {
  return KX_LINK_CALL(Kxi_GetChildPartsNum, kGetChildPartsNum)(parts);
}

std::int32_t Win32DisplayAttrEngine::GetChildPartsIndex(std::int32_t parts, std::int32_t position) {
  return KX_LINK_CALL(Kxi_GetChildPartsIndex, kGetChildPartsIndex)(parts, position);
}

std::int32_t Win32DisplayAttrEngine::GetPartsOffset(std::int32_t parts, Placement& placement) {
  return KX_LINK_CALL(Kxi_GetPartsOffset, kGetPartsOffset)(
      parts, placement.position.data(), placement.rotation.data(), placement.scale.data());
}

std::int32_t Win32DisplayAttrEngine::GetPartsModelIndex(std::int32_t parts) {
  return KX_LINK_CALL(Kxi_GetPartsModelIndex, kGetPartsModelIndex)(parts);
}

std::int32_t Win32DisplayAttrEngine::GetShapeNum(std::int32_t model) {
  return KX_LINK_CALL(Kxi_GetShapeNum, kGetShapeNum)(model);
}

std::int32_t Win32DisplayAttrEngine::GetShapeOffset(std::int32_t model, std::int32_t shape,
                                                    Placement& placement) {
  return KX_LINK_CALL(Kxi_GetShapeOffset, kGetShapeOffset)(
      model, shape, placement.position.data(), placement.rotation.data(), placement.scale.data());
}

std::int32_t Win32DisplayAttrEngine::GetShapeExtendBlockData(std::int32_t model, std::int32_t shape,
                                                             std::int32_t type,
                                                             std::uint8_t* buffer,
                                                             std::int32_t size) {
  return KX_LINK_CALL(Kxi_GetShapeExtendBlockData, kGetShapeExtendBlockData)(model, shape, type,
                                                                             buffer, size);
}

std::int32_t Win32DisplayAttrEngine::GetShapeOption(std::int32_t model, std::int32_t shape,
                                                    std::int32_t* option) {
  return KX_LINK_CALL(Kxi_GetShapeOption, kGetShapeOption)(model, shape, option);
}

std::int32_t Win32DisplayAttrEngine::SetShapeOption(std::int32_t model, std::int32_t shape,
                                                    std::int32_t option) {
  return KX_LINK_CALL(Kxi_SetShapeOption, kSetShapeOption)(model, shape, option);
}

std::int32_t Win32DisplayAttrEngine::GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                                         std::int32_t* size) {
  return KX_LINK_CALL(Kxi_GetPartsExtendBlockEx, kGetPartsExtendBlockEx)(parts, type, size);
}

std::int32_t Win32DisplayAttrEngine::GetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                                             std::uint8_t* buffer, std::int32_t) {
  return KX_LINK_CALL(Kxi_GetPartsExtendBlockDataEx, kGetPartsExtendBlockDataEx)(parts, type,
                                                                                 buffer);
}

#undef KX_LINK_CALL

}  // namespace kx::hostkit

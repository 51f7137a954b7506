#include "hostkit/render/render_method.h"

namespace kx::hostkit {

std::vector<ComboItem> MethodItems(bool service_mode) {
  if (service_mode) return {{"通常", kMethodNormal}, {"ユーザー指定...", kMethodUser}};
  return {{"通常（ﾚｲﾄﾚ/ｱﾝﾁｴｲﾘｱｽOFF）", kMethodRayTrace},
          {"高精細（ﾚｲﾄﾚ/４点ｱﾝﾁｴｲﾘｱｽ）", kMethodRayTraceAA4},
          {"ユーザー指定...", kMethodUser}};
}

void ApplyMethod(int data, RenderSettings& s) {
  switch (data) {
    case kMethodNormal:
      s.order = 0;
      s.anti_alias_type = 0;
      s.use_bg_lookup = false;
      s.mingain = 10;
      s.raycast = 4;
      break;
    case kMethodRayTrace:
      s.render_type = 1;
      s.order = 0;
      s.anti_alias_type = 0;
      s.mingain = 10;
      s.raycast = 4;
      break;
    case kMethodRayTraceAA4:
      s.render_type = 1;
      s.order = 0;
      s.anti_alias_type = 1;
      s.sampling = 2;
      s.mingain = 10;
      s.raycast = 4;
      break;
    default:
      break;
  }
}

int ClassifyMethod(bool service_mode, const RenderSettings& s) {
  if (service_mode) return s.use_bg_lookup ? kMethodUser : kMethodNormal;
  if (s.order != 0 || s.raycast != 4 || s.mingain != 10) return kMethodUser;
  if (s.anti_alias_type == 0) return kMethodRayTrace;
  if (s.anti_alias_type == 1 && s.sampling == 2) return kMethodRayTraceAA4;
  return kMethodUser;
}

RayTracingValues RayTracingValuesOf(const RenderSettings& s) {
  RayTracingValues v;
  v.render_type = 1;
  v.z_kind = s.z_kind;
  v.order = s.order;
  v.anti_alias_type = s.anti_alias_type;
  v.sampling = s.sampling;
  v.raycast = s.raycast;
  v.mingain = s.mingain;
  v.texture_base = s.texture_base != 0;
  return v;
}

void TakeRayTracingValues(const RayTracingValues& v, RenderSettings& s) {
  s.render_type = v.render_type;
  s.z_kind = v.z_kind;
  s.order = v.order;
  s.anti_alias_type = v.anti_alias_type;
  s.sampling = v.sampling;
  s.raycast = v.raycast;
  s.mingain = v.mingain;
  s.texture_base = v.texture_base ? 1 : 0;
}

const std::vector<ComboItem>& SamplingItems(int anti_alias_type) {
  static const std::vector<ComboItem> none;
  static const std::vector<ComboItem> grid = {{"  ４点 (2×2分割)", 2}, {"  ９点 (3×3分割)", 3},
                                              {"１６点 (4×4分割)", 4}, {"２５点 (5×5分割)", 5},
                                              {"３６点 (6×6分割)", 6}, {"４９点 (7×7分割)", 7},
                                              {"６４点 (8×8分割)", 8}};
  static const std::vector<ComboItem> random = {{"２点", 2}, {"３点", 3},    {"４点", 4},
                                                {"５点", 5}, {"６点", 6},    {"８点", 8},
                                                {"９点", 9}, {"１２点", 12}, {"１６点", 16}};
  switch (anti_alias_type) {
    case 1:
    case 2:
      return grid;
    case 3:
      return random;
    default:
      return none;
  }
}

int SamplingValueAt(int anti_alias_type, int position) {
  const auto& items = SamplingItems(anti_alias_type);
  if (position < 0 || position >= static_cast<int>(items.size())) return 1;
  return items[static_cast<std::size_t>(position)].data;
}

int SamplingPositionOf(int anti_alias_type, int value) {
  const auto& items = SamplingItems(anti_alias_type);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].data == value) return static_cast<int>(i);
  }
  return 0;
}

std::vector<std::string> OrderItems() { return {"プログレッシブ", "シーケンシャル"}; }

std::vector<std::string> AntiAliasItems() {
  return {"なし", "格子状平均", "格子状加重平均", "ランダム"};
}

}  // namespace kx::hostkit

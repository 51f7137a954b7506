// Rendering methods: the items of the method combo, what choosing one
// stores, the class that detailed settings fall into, and the sampling
// choices of each anti-aliasing type.
#pragma once

#include <string>
#include <vector>

#include "hostkit/render/render_settings.h"

namespace kx::hostkit {

// Item data of the method combo.
inline constexpr int kMethodNormal = 0;       // service mode's plain rendering
inline constexpr int kMethodUser = 1;         // "ユーザー指定...": the detail dialog
inline constexpr int kMethodRayTrace = 2;     // ray tracing, no anti-aliasing
inline constexpr int kMethodRayTraceAA4 = 3;  // ray tracing, 2×2 grid anti-aliasing

struct ComboItem {
  std::string text;
  int data;
};

std::vector<ComboItem> MethodItems(bool service_mode);

// What a chosen method with item data 0, 2 or 3 stores; other data change nothing.
void ApplyMethod(int data, RenderSettings& settings);

// The method whose item the combo shows after the detail dialog.
int ClassifyMethod(bool service_mode, const RenderSettings& settings);

// The values the ray-tracing detail dialog edits.
struct RayTracingValues {
  int render_type = 1;
  int z_kind = 1;
  int order = 0;
  int anti_alias_type = 1;
  int sampling = 2;
  int raycast = 4;
  int mingain = 10;
  bool texture_base = false;
};
RayTracingValues RayTracingValuesOf(const RenderSettings& settings);
void TakeRayTracingValues(const RayTracingValues& values, RenderSettings& settings);

// Sampling items of an anti-aliasing type (none for 0 or an unknown type).
const std::vector<ComboItem>& SamplingItems(int anti_alias_type);
// The value at `position`, or 1 when the position is not an item.
int SamplingValueAt(int anti_alias_type, int position);
// The position whose value equals `value`, or 0 when none does.
int SamplingPositionOf(int anti_alias_type, int value);

inline constexpr int kOrderCount = 2;
inline constexpr int kAntiAliasTypeCount = 4;
std::vector<std::string> OrderItems();
std::vector<std::string> AntiAliasItems();

}  // namespace kx::hostkit

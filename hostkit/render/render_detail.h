// The rendering method detail dialogs as logic: template 105 (service
// mode: whether the background image is reflected) and template 146 (local
// mode: the ray-tracing parameters). Both give values back only on OK.
#pragma once

#include "hostkit/render/dialog_view.h"
#include "hostkit/render/render_method.h"

namespace kx::hostkit {

class RenderDetail {
 public:
  RenderDetail(DialogView& view, bool use_bg_lookup) : view_(view), use_bg_lookup_(use_bg_lookup) {}
  void OnInitDialog();
  // The radios sit in groups of their own; a click on one clears the other.
  void OnRadio(int control_id);
  void OnOk();
  bool use_bg_lookup() const { return use_bg_lookup_; }

 private:
  DialogView& view_;
  bool use_bg_lookup_;
};

class RenderDetail1 {
 public:
  RenderDetail1(DialogView& view, const RayTracingValues& values) : view_(view), values_(values) {}
  void OnInitDialog();
  void OnRenderTypeClick();
  void OnAntiAliasChange();
  void OnOk();
  const RayTracingValues& values() const { return values_; }

 private:
  void EnableGroups(bool ray_tracing);
  void FillSampling(int anti_alias_type);
  [[nodiscard]] bool ReadBounded(int control_id, int minimum, int maximum, int& value);

  DialogView& view_;
  RayTracingValues values_;
};

}  // namespace kx::hostkit

#include "hostkit/render/render_detail.h"

#include "common/text.h"
#include "hostkit/render/points_service.h"
#include "hostkit/render/render_resource.h"

namespace kx::hostkit {
namespace {

constexpr int kShadingControls[] = {IDC_DETAIL_FLAT, IDC_DETAIL_GOURAUD};
constexpr int kRayTracingControls[] = {IDC_DETAIL_ORDER,    IDC_DETAIL_ANTIALIAS,
                                       IDC_DETAIL_SAMPLING, IDC_DETAIL_RAYCAST,
                                       IDC_DETAIL_MINGAIN,  IDC_DETAIL_TEXTURE_BASE};
// The window loses its lower part, where the shading choice lies unused.
constexpr int kCutOffPixels = 50;

}  // namespace

void RenderDetail::OnInitDialog() {
  view_.SetChecked(IDC_DETAIL_BG_ON, use_bg_lookup_);
  view_.SetChecked(IDC_DETAIL_BG_OFF, !use_bg_lookup_);
}

void RenderDetail::OnRadio(int control_id) {
  if (control_id == IDC_DETAIL_BG_OFF) view_.SetChecked(IDC_DETAIL_BG_ON, false);
  if (control_id == IDC_DETAIL_BG_ON) view_.SetChecked(IDC_DETAIL_BG_OFF, false);
}

void RenderDetail::OnOk() {
  use_bg_lookup_ = !view_.IsChecked(IDC_DETAIL_BG_OFF);
  view_.EndDialog(1);
}

void RenderDetail1::OnInitDialog() {
  view_.SetText(IDC_DETAIL_RAYCAST, std::to_string(values_.raycast));
  view_.SetText(IDC_DETAIL_MINGAIN, std::to_string(values_.mingain));
  view_.SetChecked(IDC_DETAIL_TEXTURE_BASE, values_.texture_base);
  view_.SetChecked(IDC_DETAIL_ZBUFFER, values_.render_type == 0);
  view_.SetChecked(IDC_DETAIL_RAYTRACE, values_.render_type != 0);
  view_.SetChecked(IDC_DETAIL_FLAT, values_.z_kind == 0);
  view_.SetChecked(IDC_DETAIL_GOURAUD, values_.z_kind != 0);
  view_.ClearCombo(IDC_DETAIL_ORDER);
  int i = 0;
  for (const std::string& text : OrderItems()) view_.AddComboItem(IDC_DETAIL_ORDER, text, i++);
  view_.SelectComboItem(IDC_DETAIL_ORDER, values_.order);
  view_.ClearCombo(IDC_DETAIL_ANTIALIAS);
  i = 0;
  for (const std::string& text : AntiAliasItems()) {
    view_.AddComboItem(IDC_DETAIL_ANTIALIAS, text, i++);
  }
  view_.SelectComboItem(IDC_DETAIL_ANTIALIAS, values_.anti_alias_type);
  FillSampling(values_.anti_alias_type);

  EnableGroups(values_.render_type == 1);
  if (values_.render_type == 1) FillSampling(view_.ComboSelection(IDC_DETAIL_ANTIALIAS));
  view_.ShrinkWindow(kCutOffPixels);
}

void RenderDetail1::EnableGroups(bool ray_tracing) {
  for (int id : kShadingControls) view_.EnableControl(id, !ray_tracing);
  for (int id : kRayTracingControls) view_.EnableControl(id, ray_tracing);
  for (int id = IDC_DETAIL_LABEL_FIRST; id <= IDC_DETAIL_LABEL_LAST; ++id) {
    view_.EnableControl(id, ray_tracing);
  }
}

void RenderDetail1::FillSampling(int anti_alias_type) {
  view_.ClearCombo(IDC_DETAIL_SAMPLING);
  const auto& items = SamplingItems(anti_alias_type);
  for (const ComboItem& item : items) view_.AddComboItem(IDC_DETAIL_SAMPLING, item.text, item.data);
  if (items.empty()) {
    // One sample needs no choice.
    view_.EnableControl(IDC_DETAIL_SAMPLING, false);
    view_.EnableControl(IDC_DETAIL_SAMPLING_LABEL, false);
    return;
  }
  if (!view_.IsChecked(IDC_DETAIL_ZBUFFER)) {
    view_.EnableControl(IDC_DETAIL_SAMPLING, true);
    view_.EnableControl(IDC_DETAIL_SAMPLING_LABEL, true);
  }
  view_.SelectComboItem(IDC_DETAIL_SAMPLING, SamplingPositionOf(anti_alias_type, values_.sampling));
}

void RenderDetail1::OnRenderTypeClick() {
  if (view_.IsChecked(IDC_DETAIL_ZBUFFER)) {
    EnableGroups(false);
    return;
  }
  EnableGroups(true);
  FillSampling(view_.ComboSelection(IDC_DETAIL_ANTIALIAS));
}

void RenderDetail1::OnAntiAliasChange() {
  FillSampling(view_.ComboSelection(IDC_DETAIL_ANTIALIAS));
}

bool RenderDetail1::ReadBounded(int control_id, int minimum, int maximum, int& value) {
  const std::optional<int> number = ParseInteger(view_.Text(control_id));
  if (!number) {
    view_.ShowMessage(kEnterIntegerText, std::string(), MessageKind::kExclamation);
  } else if (*number < minimum || *number > maximum) {
    view_.ShowMessage(ReplaceAll(ReplaceAll(kRangeTemplate, "%1", std::to_string(minimum)), "%2",
                                 std::to_string(maximum)),
                      std::string(), MessageKind::kExclamation);
  } else {
    value = *number;
    return true;
  }
  view_.FocusAndSelect(control_id);
  return false;
}

void RenderDetail1::OnOk() {
  int mingain = 0, raycast = 0;
  if (!ReadBounded(IDC_DETAIL_MINGAIN, 1, 80, mingain) ||
      !ReadBounded(IDC_DETAIL_RAYCAST, 1, 20, raycast)) {
    return;
  }
  RayTracingValues v = values_;
  v.mingain = mingain;
  v.raycast = raycast;
  v.render_type = view_.IsChecked(IDC_DETAIL_ZBUFFER) ? 0 : 1;
  v.z_kind = view_.IsChecked(IDC_DETAIL_FLAT) ? 0 : 1;
  const int order = view_.ComboSelection(IDC_DETAIL_ORDER);
  if (order >= 0) v.order = order;
  const int anti_alias = view_.ComboSelection(IDC_DETAIL_ANTIALIAS);
  if (anti_alias >= 0) v.anti_alias_type = anti_alias;
  v.sampling = SamplingValueAt(v.anti_alias_type, view_.ComboSelection(IDC_DETAIL_SAMPLING));
  v.texture_base = view_.IsChecked(IDC_DETAIL_TEXTURE_BASE);
  values_ = v;
  view_.EndDialog(1);
}

}  // namespace kx::hostkit

#include "hostkit/render/render_setting.h"

#include "common/text.h"
#include "hostkit/render/multi_view_rules.h"
#include "hostkit/render/render_resource.h"

namespace kx::hostkit {
namespace {

constexpr int kPixelControls[] = {
    IDC_RENDER_SIZE_PRESET, IDC_RENDER_WIDTH,       IDC_RENDER_HEIGHT,      IDC_RENDER_SAME_RATIO,
    IDC_RENDER_SIZE_LABEL,  IDC_RENDER_WIDTH_LABEL, IDC_RENDER_HEIGHT_LABEL};
constexpr int kPaperControls[] = {
    IDC_RENDER_PAPER,         IDC_RENDER_LANDSCAPE,   IDC_RENDER_PORTRAIT,
    IDC_RENDER_RESOLUTION,    IDC_RENDER_DPI,         IDC_RENDER_MARGIN_TOP,
    IDC_RENDER_MARGIN_BOTTOM, IDC_RENDER_MARGIN_LEFT, IDC_RENDER_MARGIN_RIGHT};
constexpr int kSizeEditControls[] = {IDC_RENDER_WIDTH, IDC_RENDER_HEIGHT, IDC_RENDER_SAME_RATIO,
                                     IDC_RENDER_WIDTH_LABEL, IDC_RENDER_HEIGHT_LABEL};
constexpr int kRoofRadios[] = {IDC_RENDER_ROOF_SHOWN, IDC_RENDER_ROOF_HALF, IDC_RENDER_ROOF_HIDDEN};

// Clears a flag when the scope ends, however it ends.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

RenderSetting::RenderSetting(RenderSettingServices services, RenderSettingArgs args)
    : s_(services), args_(std::move(args)) {}

void RenderSetting::CarryOver(const RenderSettingChoices& choices) {
  carried_ = choices;
  args_.roof_mode = choices.roof_mode;
}

void RenderSetting::OnInitDialog() {
  DialogView& v = s_.view;
  max_side_ = MaxSide(args_.service_mode);
  v.ClearCombo(IDC_RENDER_METHOD);
  for (const ComboItem& item : MethodItems(args_.service_mode)) {
    v.AddComboItem(IDC_RENDER_METHOD, item.text, item.data);
  }
  v.ClearCombo(IDC_RENDER_SIZE_PRESET);
  for (int preset = 0; preset < kPresetCount; ++preset) {
    v.AddComboItem(IDC_RENDER_SIZE_PRESET, PresetText(preset, max_side_), preset);
  }
  v.ClearCombo(IDC_RENDER_SIZING);
  v.AddComboItem(IDC_RENDER_SIZING, "用紙サイズで指定", 0);
  v.AddComboItem(IDC_RENDER_SIZING, "ピクセル数で指定", 1);
  v.ClearCombo(IDC_RENDER_PAPER);
  for (int i = 0; i < kPaperCount; ++i) v.AddComboItem(IDC_RENDER_PAPER, kPapers[i].name, i);
  v.ClearCombo(IDC_RENDER_RESOLUTION);
  const char* resolutions[] = {"標準", "低品位", "高品位", "数値指定..."};
  for (int i = 0; i < 4; ++i) v.AddComboItem(IDC_RENDER_RESOLUTION, resolutions[i], i);

  if (!args_.service_mode) ApplyLocalLayout();

  views_ = ReadRenderViews(s_.profiles, args_.view_list_path);
  v.ClearCombo(IDC_RENDER_VIEW);
  for (const RenderView& view : views_) v.AddComboItem(IDC_RENDER_VIEW, view.name, view.index);
  selected_view_ = 0;
  if (carried_ && carried_->selected_view < static_cast<int>(views_.size())) {
    selected_view_ = carried_->selected_view;
  }
  if (!views_.empty()) v.SelectComboItem(IDC_RENDER_VIEW, selected_view_);

  settings_ = carried_ ? carried_->settings : ReadRenderSettings(s_.registry, args_.key_path);
  // Stored indexes the combos do not have fall back to their defaults, so
  // that what is stored again is a paper and a preset the host knows.
  if (settings_.paper_size < 0 || settings_.paper_size >= kPaperCount) settings_.paper_size = 4;
  if (settings_.pixel_size_type < 0 || settings_.pixel_size_type >= kPresetCount) {
    settings_.pixel_size_type = 1;
  }
  ShowValues();
}

void RenderSetting::ApplyLocalLayout() {
  DialogView& v = s_.view;
  const int group = v.ControlHeight(IDC_RENDER_POINTS_GROUP);
  const int test = v.ControlHeight(IDC_RENDER_TEST);
  v.ShowControl(IDC_RENDER_TEST, false);
  v.ShowControl(IDC_RENDER_POINTS_TEXT, false);
  v.ShowControl(IDC_RENDER_POINTS_GROUP, false);
  for (int id : {IDC_RENDER_START, IDC_RENDER_MULTI, 2}) v.MoveControlUp(id, group);
  v.ShrinkWindow(group + test);
}

void RenderSetting::ShowValues() {
  DialogView& v = s_.view;
  {
    FlagScope writing(writing_boxes_);
    SetNumber(IDC_RENDER_MARGIN_LEFT, settings_.left_margin);
    SetNumber(IDC_RENDER_MARGIN_RIGHT, settings_.right_margin);
    SetNumber(IDC_RENDER_MARGIN_TOP, settings_.top_margin);
    SetNumber(IDC_RENDER_MARGIN_BOTTOM, settings_.bottom_margin);
    SetNumber(IDC_RENDER_WIDTH, settings_.width);
    SetNumber(IDC_RENDER_HEIGHT, settings_.height);
    v.SetChecked(IDC_RENDER_SAME_RATIO, settings_.same_ratio);
    for (int mode = 0; mode < 3; ++mode) v.SetChecked(kRoofRadios[mode], args_.roof_mode == mode);
    v.SelectComboItem(IDC_RENDER_METHOD, settings_.method);
    v.SelectComboItem(IDC_RENDER_SIZING, settings_.sizing);
    ShowSizing();
    v.SelectComboItem(IDC_RENDER_PAPER, settings_.paper_size);
    v.SetChecked(IDC_RENDER_LANDSCAPE, !settings_.portrait);
    v.SetChecked(IDC_RENDER_PORTRAIT, settings_.portrait);
    const int resolution = ResolutionItemFor(settings_.dpi);
    v.SelectComboItem(IDC_RENDER_RESOLUTION, resolution);
    v.EnableControl(IDC_RENDER_DPI, resolution == kResolutionTyped);
    SetNumber(IDC_RENDER_DPI, settings_.dpi);
  }
  v.SelectComboItem(IDC_RENDER_SIZE_PRESET, settings_.pixel_size_type);
  ChoosePreset(settings_.pixel_size_type);
}

void RenderSetting::ShowSizing() {
  const bool pixels = settings_.sizing == 1;
  for (int id : kPixelControls) s_.view.ShowControl(id, pixels);
  for (int id : kPaperControls) s_.view.ShowControl(id, !pixels);
  for (int id = IDC_RENDER_PAPER_LABEL_FIRST; id <= IDC_RENDER_PAPER_LABEL_LAST; ++id) {
    s_.view.ShowControl(id, !pixels);
  }
}

void RenderSetting::ChoosePreset(int preset) {
  DialogView& v = s_.view;
  if (preset < 0 || preset >= kPresetCount) return;
  settings_.pixel_size_type = preset;
  PixelSize size =
      PresetSize(preset, args_.perspective, {settings_.width, settings_.height}, max_side_);
  if (preset != kPresetTyped)
    settings_.same_ratio = PresetKeepsRatio(preset);
  else
    settings_.same_ratio = v.IsChecked(IDC_RENDER_SAME_RATIO);
  size = ClampSides(size, max_side_);
  settings_.width = size.width;
  settings_.height = size.height;
  {
    FlagScope writing(writing_boxes_);
    SetNumber(IDC_RENDER_WIDTH, size.width);
    SetNumber(IDC_RENDER_HEIGHT, size.height);
    v.SetChecked(IDC_RENDER_SAME_RATIO, settings_.same_ratio);
  }
  const bool typed = preset == kPresetTyped;
  for (int id : kSizeEditControls) v.EnableControl(id, typed);
  if (typed) v.FocusAndSelect(IDC_RENDER_WIDTH);
  ComputeImageSize();
  RefreshPoints();
}

void RenderSetting::ChooseResolution(int item) {
  if (item < 0 || item > kResolutionTyped) return;
  if (item < kResolutionTyped) settings_.dpi = kResolutionDpi[static_cast<std::size_t>(item)];
  s_.view.EnableControl(IDC_RENDER_DPI, item == kResolutionTyped);
  {
    FlagScope writing(writing_boxes_);
    SetNumber(IDC_RENDER_DPI, settings_.dpi);
  }
  if (item == kResolutionTyped) s_.view.FocusAndSelect(IDC_RENDER_DPI);
  ComputeImageSize();
  RefreshPoints();
}

void RenderSetting::OnSelectionChange(int control_id) {
  const int selection = s_.view.ComboSelection(control_id);
  switch (control_id) {
    case IDC_RENDER_SIZE_PRESET:
      ChoosePreset(selection);
      break;
    case IDC_RENDER_RESOLUTION:
      ChooseResolution(selection);
      break;
    case IDC_RENDER_SIZING: {
      if (selection >= 0) settings_.sizing = selection;
      ShowSizing();
      const int paper = s_.view.ComboSelection(IDC_RENDER_PAPER);
      if (paper >= 0) settings_.paper_size = paper;
      ComputeImageSize();
      RefreshPoints();
      break;
    }
    case IDC_RENDER_PAPER:
      if (selection >= 0) settings_.paper_size = selection;
      ComputeImageSize();
      RefreshPoints();
      break;
    case IDC_RENDER_METHOD:
      ChooseMethod();
      break;
    case IDC_RENDER_VIEW:
      if (selection >= 0) selected_view_ = selection;
      break;
    default:
      break;
  }
}

void RenderSetting::OnEditChange(int control_id) {
  if (writing_boxes_) return;
  if (control_id != IDC_RENDER_WIDTH && control_id != IDC_RENDER_HEIGHT) return;
  const std::optional<int> typed = ParseInteger(s_.view.Text(control_id));
  if (!typed) return;
  const bool width = control_id == IDC_RENDER_WIDTH;
  (width ? settings_.width : settings_.height) = *typed;
  if (!s_.view.IsChecked(IDC_RENDER_SAME_RATIO)) return;
  const PixelSize& p = args_.perspective;
  int& other = width ? settings_.height : settings_.width;
  other = width ? SameRatioSide(*typed, p.width, p.height, other)
                : SameRatioSide(*typed, p.height, p.width, other);
  FlagScope writing(writing_boxes_);
  SetNumber(width ? IDC_RENDER_HEIGHT : IDC_RENDER_WIDTH, other);
}

void RenderSetting::OnEditKillFocus(int control_id, int focus_id) {
  // A button that takes the focus decides itself: Start and Test check the
  // values anyway, and a message here would come twice for one click or
  // stand in the way of Cancel.
  switch (focus_id) {
    case IDC_RENDER_START:
    case IDC_RENDER_TEST:
    case IDC_RENDER_MULTI:
    case 2:
      return;
    default:
      break;
  }
  switch (control_id) {
    case IDC_RENDER_WIDTH:
    case IDC_RENDER_HEIGHT:
    case IDC_RENDER_DPI:
    case IDC_RENDER_MARGIN_LEFT:
    case IDC_RENDER_MARGIN_RIGHT:
    case IDC_RENDER_MARGIN_TOP:
    case IDC_RENDER_MARGIN_BOTTOM:
      // The focus also leaves a box for the validation message itself.
      if (taking_values_ || ended_) return;
      if (TakeValues()) RefreshPoints();
      break;
    default:
      break;
  }
}

void RenderSetting::OnButton(int control_id) {
  switch (control_id) {
    case IDC_RENDER_START:
      Start(false);
      break;
    case IDC_RENDER_TEST:
      Start(true);
      break;
    case IDC_RENDER_MULTI:
      (void)TakeValues();  // the multi-view dialog gets what there is
      End(IDC_RENDER_MULTI);
      break;
    case 2:
      End(2);
      break;
    default:
      break;
  }
}

void RenderSetting::End(int result) {
  ended_ = true;
  s_.view.EndDialog(result);
}

void RenderSetting::Start(bool test) {
  if (!TakeValues()) return;
  if (test) image_size_ = {400, 300};
  WriteSettings();
  WriteRenderChoice(s_.profiles, args_.view_list_path, static_cast<int>(views_.size()),
                    selected_view_, args_.roof_mode == kRoofHidden, test ? "1" : "0");
  End(IDC_RENDER_START);
}

void RenderSetting::WriteSettings() { WriteRenderSettings(s_.registry, args_.key_path, settings_); }

void RenderSetting::ChooseMethod() {
  const int position = s_.view.ComboSelection(IDC_RENDER_METHOD);
  if (position < 0) return;
  settings_.method = position;
  const int data = s_.view.ComboItemData(IDC_RENDER_METHOD, position);
  if (data == kMethodUser) {
    OpenDetailDialog();
  } else {
    ApplyMethod(data, settings_);
  }
}

void RenderSetting::OpenDetailDialog() {
  if (args_.service_mode) {
    bool use_bg_lookup = settings_.use_bg_lookup;
    if (s_.details.EditBackground(use_bg_lookup)) settings_.use_bg_lookup = use_bg_lookup;
  } else {
    RayTracingValues values = RayTracingValuesOf(settings_);
    if (s_.details.EditRayTracing(values)) TakeRayTracingValues(values, settings_);
  }
  const int method = ClassifyMethod(args_.service_mode, settings_);
  if (method != kMethodUser) SelectMethodData(method);
}

void RenderSetting::SelectMethodData(int data) {
  DialogView& v = s_.view;
  for (int position = 0; position < v.ComboCount(IDC_RENDER_METHOD); ++position) {
    if (v.ComboItemData(IDC_RENDER_METHOD, position) == data) {
      v.SelectComboItem(IDC_RENDER_METHOD, position);
      settings_.method = position;
      return;
    }
  }
}

bool RenderSetting::ReadNumber(int control_id, int& value) {
  const std::optional<int> number = ParseInteger(s_.view.Text(control_id));
  if (!number) {
    s_.view.ShowMessage(kEnterIntegerText, std::string(), MessageKind::kExclamation);
    s_.view.FocusAndSelect(control_id);
    return false;
  }
  value = *number;
  return true;
}

bool RenderSetting::TakeValues() {
  FlagScope taking(taking_values_);
  DialogView& v = s_.view;
  if (!ReadNumber(IDC_RENDER_MARGIN_LEFT, settings_.left_margin) ||
      !ReadNumber(IDC_RENDER_MARGIN_RIGHT, settings_.right_margin) ||
      !ReadNumber(IDC_RENDER_MARGIN_TOP, settings_.top_margin) ||
      !ReadNumber(IDC_RENDER_MARGIN_BOTTOM, settings_.bottom_margin) ||
      !ReadNumber(IDC_RENDER_WIDTH, settings_.width) ||
      !ReadNumber(IDC_RENDER_HEIGHT, settings_.height)) {
    return false;
  }
  settings_.same_ratio = v.IsChecked(IDC_RENDER_SAME_RATIO);
  args_.roof_mode = RoofFromRadios();
  const int view = v.ComboSelection(IDC_RENDER_VIEW);
  if (view >= 0) selected_view_ = view;
  const int paper = v.ComboSelection(IDC_RENDER_PAPER);
  if (paper >= 0) settings_.paper_size = paper;
  settings_.portrait = v.IsChecked(IDC_RENDER_PORTRAIT);
  int dpi = 0;
  if (!ReadNumber(IDC_RENDER_DPI, dpi)) return false;
  if (dpi < kMinDpi || dpi > kMaxDpi) {
    v.ShowMessage(ReplaceAll(ReplaceAll(kRangeTemplate, "%1", std::to_string(kMinDpi)), "%2",
                             std::to_string(kMaxDpi)),
                  std::string(), MessageKind::kExclamation);
    v.FocusAndSelect(IDC_RENDER_DPI);
    return false;
  }
  settings_.dpi = dpi;
  ComputeImageSize();
  return true;
}

void RenderSetting::ComputeImageSize() {
  PixelSize raw{settings_.width, settings_.height};
  if (settings_.sizing != 1) {
    PaperLayout layout;
    layout.paper_index = settings_.paper_size;
    layout.portrait = settings_.portrait;
    layout.left = settings_.left_margin;
    layout.right = settings_.right_margin;
    layout.top = settings_.top_margin;
    layout.bottom = settings_.bottom_margin;
    layout.dpi = settings_.dpi;
    raw = RawPaperPixels(layout);
  }
  image_size_ = LimitImageSize(raw, max_side_);
}

void RenderSetting::RefreshPoints() {
  if (!args_.service_mode || s_.points == nullptr || !s_.points->Load()) return;
  const auto text = s_.points->Points(PixelCount(image_size_.width, image_size_.height));
  if (text) s_.view.SetText(IDC_RENDER_POINTS_TEXT, *text);
}

void RenderSetting::SetNumber(int control_id, int value) {
  s_.view.SetText(control_id, std::to_string(value));
}

int RenderSetting::RoofFromRadios() {
  for (int mode = 0; mode < 3; ++mode) {
    if (s_.view.IsChecked(kRoofRadios[mode])) return mode;
  }
  return args_.roof_mode;
}

}  // namespace kx::hostkit

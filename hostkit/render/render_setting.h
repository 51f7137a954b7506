// The rendering settings dialog (template 104) as logic: what it shows,
// what each control does, the checks on Start and what it stores. The
// Win32 dialog forwards its events here and shows what this decides.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/profile_store.h"
#include "hostkit/render/dialog_view.h"
#include "hostkit/render/image_size.h"
#include "hostkit/render/points_service.h"
#include "hostkit/render/render_method.h"
#include "hostkit/render/render_settings.h"
#include "hostkit/render/view_list.h"

namespace kx::hostkit {

// The method detail dialogs, shown modally over the settings dialog.
class DetailDialogs {
 public:
  virtual ~DetailDialogs() = default;
  // Template 105: true on OK with the flag taken over.
  virtual bool EditBackground(bool& use_bg_lookup) = 0;
  // Template 146: true on OK with the values taken over.
  virtual bool EditRayTracing(RayTracingValues& values) = 0;
};

inline constexpr int kRoofShown = 0, kRoofHalf = 1, kRoofHidden = 2;

struct RenderSettingArgs {
  bool service_mode = false;
  PixelSize perspective;  // the host's perspective view
  std::string key_path;   // under HKEY_CURRENT_USER
  std::string view_list_path;
  int roof_mode = kRoofShown;
};

// What the user left in the dialog: carried over to its next showing when
// the user comes back from the multi-view dialog, in place of what is stored.
struct RenderSettingChoices {
  RenderSettings settings;
  int selected_view = 0;
  int roof_mode = kRoofShown;
};

struct RenderSettingServices {
  DialogView& view;
  SettingsRegistry& registry;
  ProfileStore& profiles;
  DetailDialogs& details;
  PointsService* points;  // service mode only; may be null
};

class RenderSetting {
 public:
  RenderSetting(RenderSettingServices services, RenderSettingArgs args);

  // Before OnInitDialog: the dialog opens with these choices instead of the
  // stored settings, the first view and the caller's roof mode.
  void CarryOver(const RenderSettingChoices& choices);
  void OnInitDialog();
  void OnSelectionChange(int control_id);
  void OnEditChange(int control_id);
  // `focus_id`: the control of this dialog that takes the focus (0: none).
  void OnEditKillFocus(int control_id, int focus_id);
  void OnButton(int control_id);

  // What the dialog leaves behind.
  const RenderSettings& settings() const { return settings_; }
  PixelSize image_size() const { return image_size_; }
  int roof_mode() const { return args_.roof_mode; }
  RenderSettingChoices choices() const { return {settings_, selected_view_, args_.roof_mode}; }
  int max_side() const { return max_side_; }
  // Stores the settings again (after the multi-view dialog).
  void WriteSettings();

 private:
  void ApplyLocalLayout();
  void ShowValues();
  void ShowSizing();
  void ChoosePreset(int preset);
  void ChooseResolution(int item);
  void ChooseMethod();
  void OpenDetailDialog();
  void SelectMethodData(int data);
  [[nodiscard]] bool TakeValues();
  [[nodiscard]] bool ReadNumber(int control_id, int& value);
  void ComputeImageSize();
  void RefreshPoints();
  void SetNumber(int control_id, int value);
  int RoofFromRadios();
  void Start(bool test);
  void End(int result);

  RenderSettingServices s_;
  RenderSettingArgs args_;
  RenderSettings settings_;
  std::optional<RenderSettingChoices> carried_;
  std::vector<RenderView> views_;
  int selected_view_ = 0;
  int max_side_ = kLocalMaxSide;
  PixelSize image_size_;
  bool writing_boxes_ = false;
  bool taking_values_ = false;  // a validation message is up
  bool ended_ = false;
};

}  // namespace kx::hostkit

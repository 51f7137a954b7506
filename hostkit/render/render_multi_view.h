// The multi-view rendering dialog (template 106) as logic: the host's saved
// views in six scrolling rows with render and roof ticks, the destination
// folder and file type, the checks on Start and what it stores.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/profile_store.h"
#include "hostkit/render/dialog_view.h"
#include "hostkit/render/image_size.h"
#include "hostkit/render/multi_view_rules.h"
#include "hostkit/render/points_service.h"
#include "hostkit/render/render_settings.h"
#include "hostkit/render/view_list.h"

namespace kx::hostkit {

class FolderBrowser {
 public:
  virtual ~FolderBrowser() = default;
  // The folder the user chose, none when cancelled.
  virtual std::optional<std::string> Browse(const std::string& title) = 0;
};

struct RenderMultiViewArgs {
  bool service_mode = false;
  std::string key_path;  // under HKEY_CURRENT_USER
  std::string view_list_path;
};

struct RenderMultiViewServices {
  DialogView& view;
  SettingsRegistry& registry;
  ProfileStore& profiles;
  FolderSystem& folders;
  FolderBrowser& browser;
  PointsService* points;  // service mode only; may be null
};

class RenderMultiView {
 public:
  RenderMultiView(RenderMultiViewServices services, RenderMultiViewArgs args);

  // The size of one picture, from the settings dialog.
  void SetImageSize(PixelSize size) { image_size_ = size; }

  void OnInitDialog();
  void OnRenderCheck(int row);
  void OnRoofCheck(int row);
  void OnSelectAll(bool ticked);
  void OnScroll(ScrollCode code, int thumb_position);
  void OnBrowse();
  void OnBack();
  void OnStart();
  void OnCancel();

  const std::vector<MultiViewEntry>& entries() const { return entries_; }
  int scroll_offset() const { return offset_; }
  int TickedCount() const;

 private:
  void ApplyLocalLayout();
  void ShowRows();
  void RefreshPoints();
  bool Ask(const std::string& text);
  void Tell(const std::string& text);
  int EntryOfRow(int row) const;

  RenderMultiViewServices s_;
  RenderMultiViewArgs args_;
  PixelSize image_size_;
  std::vector<MultiViewEntry> entries_;
  int offset_ = 0;
  std::string folder_;
  bool points_ready_ = false;
};

}  // namespace kx::hostkit

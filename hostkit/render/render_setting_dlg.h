// The rendering settings dialog (template 104): the Win32 side of
// RenderSetting, and the opener of the method detail dialogs.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "common/profile_store_win32.h"
#include "hostkit/render/dialog_view_win32.h"
#include "hostkit/render/render_platform_win32.h"
#include "hostkit/render/render_setting.h"

namespace kx::hostkit {

class CRenderSettingDialog final : public DetailDialogs {
 public:
  explicit CRenderSettingDialog(RenderSettingArgs args)
      : args_(std::move(args)), service_(/*with_login=*/true) {}

  // The render-points login (service mode), through the library this
  // dialog keeps loaded.
  [[nodiscard]] bool Login(std::string& login) { return service_.Login(login); }

  // Shows the dialog modally; the id it ended with, or -1 when it could not
  // be shown. Shown again after the multi-view dialog, it keeps the choices
  // the user left in it; otherwise it reads everything afresh.
  int DoModal(HWND parent);

  // What the last showing left behind.
  PixelSize image_size() const { return logic_ ? logic_->image_size() : PixelSize{}; }
  int roof_mode() const { return logic_ ? logic_->roof_mode() : args_.roof_mode; }
  void WriteSettings() {
    if (logic_) logic_->WriteSettings();
  }

  // DetailDialogs
  bool EditBackground(bool& use_bg_lookup) override;
  bool EditRayTracing(RayTracingValues& values) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam);
  void OnCommand(int id, int code);

  RenderSettingArgs args_;
  int ended_ = 0;
  std::optional<RenderSettingChoices> carried_;
  HvLibrary service_;
  Win32SettingsRegistry registry_;
  Win32ProfileStore profiles_;
  Win32DialogView view_;
  std::unique_ptr<RenderSetting> logic_;
};

}  // namespace kx::hostkit

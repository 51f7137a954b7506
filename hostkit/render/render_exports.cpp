// RenderDialogDoModal: the rendering settings dialogs as the host opens
// them. A thin wrapper: the dialogs decide, this hands over and back.
#include <string>

#include "hostkit/include/hostkit.h"
#include "hostkit/render/render_multi_view_dlg.h"
#include "hostkit/render/render_session.h"
#include "hostkit/render/render_setting_dlg.h"
#include "hostkit/shell/text_slot_win32.h"

using namespace kx::hostkit;

namespace {

std::string TextOf(const char* text) { return text ? std::string(text) : std::string(); }

class Dialogs final : public RenderSessionDialogs {
 public:
  Dialogs(HWND parent, CRenderSettingDialog& settings, CRenderMultiViewDialog& multi_view)
      : parent_(parent), settings_(settings), multi_view_(multi_view) {}
  bool Login(std::string& login) override { return settings_.Login(login); }
  int ShowSettings() override { return settings_.DoModal(parent_); }
  int ShowMultiView(PixelSize image_size) override {
    return multi_view_.DoModal(parent_, image_size);
  }
  PixelSize SettingsImageSize() override { return settings_.image_size(); }
  int SettingsRoofMode() override { return settings_.roof_mode(); }
  void WriteSettingsAgain() override { settings_.WriteSettings(); }

 private:
  HWND parent_;
  CRenderSettingDialog& settings_;
  CRenderMultiViewDialog& multi_view_;
};

}  // namespace

extern "C" int32_t WINAPI RenderDialogDoModal(HWND parent, int32_t, int32_t, int32_t mode,
                                              int32_t perspectiveWidth, int32_t perspectiveHeight,
                                              int32_t* roofMode, const char*, const char* keyPath,
                                              const char* viewListPath, BSTR* login) noexcept {
  try {
    const bool service_mode = mode == 1;
    RenderSettingArgs settings_args;
    settings_args.service_mode = service_mode;
    settings_args.perspective = {perspectiveWidth, perspectiveHeight};
    settings_args.key_path = TextOf(keyPath);
    settings_args.view_list_path = TextOf(viewListPath);
    settings_args.roof_mode = roofMode ? *roofMode : 0;
    RenderMultiViewArgs multi_view_args;
    multi_view_args.service_mode = service_mode;
    multi_view_args.key_path = settings_args.key_path;
    multi_view_args.view_list_path = settings_args.view_list_path;

    CRenderSettingDialog settings(settings_args);
    CRenderMultiViewDialog multi_view(multi_view_args);
    Dialogs dialogs(parent, settings, multi_view);
    std::string login_text = service_mode && login ? hostkit::TextSlotBytes(*login) : std::string();
    int roof = settings_args.roof_mode;
    if (RunRenderSession(dialogs, service_mode, login_text, roof) != 1) return 0;
    if (service_mode && login) (void)hostkit::SetTextSlot(login, login_text);
    if (roofMode) *roofMode = roof;
    return 1;
  } catch (...) {
    return 0;
  }
}

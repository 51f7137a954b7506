#include "hostkit/render/render_session.h"

#include "hostkit/render/render_resource.h"

namespace kx::hostkit {

int RunRenderSession(RenderSessionDialogs& dialogs, bool service_mode, std::string& login,
                     int& roof_mode) {
  if (service_mode && !dialogs.Login(login)) {
    login.clear();
    return 0;
  }
  bool multi_view_used = false;
  int ended = 0;
  for (;;) {
    ended = dialogs.ShowSettings();
    if (ended != IDC_RENDER_MULTI) break;
    multi_view_used = true;
    ended = dialogs.ShowMultiView(dialogs.SettingsImageSize());
    if (ended != IDC_MULTI_BACK) break;
  }
  if (ended != IDC_RENDER_START) return 0;
  // The multi-view dialog does not store the settings the user left in
  // the settings dialog on the way.
  if (multi_view_used) dialogs.WriteSettingsAgain();
  roof_mode = dialogs.SettingsRoofMode();
  return 1;
}

}  // namespace kx::hostkit

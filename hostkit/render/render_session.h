// One call of the rendering dialogs, from the login to what is handed back:
// the settings dialog, and the multi-view dialog as often as the user goes
// back and forth between them.
#pragma once

#include <string>

#include "hostkit/render/image_size.h"

namespace kx::hostkit {

class RenderSessionDialogs {
 public:
  virtual ~RenderSessionDialogs() = default;
  // Service mode: the render-points login, with `login` replaced on success.
  virtual bool Login(std::string& login) = 0;
  // Each returns the id the dialog ended with (-1 when it could not be shown).
  virtual int ShowSettings() = 0;
  virtual int ShowMultiView(PixelSize image_size) = 0;
  // The settings dialog's state after it ended.
  virtual PixelSize SettingsImageSize() = 0;
  virtual int SettingsRoofMode() = 0;
  virtual void WriteSettingsAgain() = 0;
};

// 1 when the user started rendering, with `roof_mode` (and in service mode
// `login`) set to what goes back to the caller; 0 otherwise, with both as
// they were except that a failed login empties `login`.
int RunRenderSession(RenderSessionDialogs& dialogs, bool service_mode, std::string& login,
                     int& roof_mode);

}  // namespace kx::hostkit

#pragma once

#include "hostkit/gfxcaps/dxdiag_devices.h"

namespace kx::hostkit {

// The diagnostic service created in-process through COM; the display-device
// list holds the service and the thread's COM initialisation until it goes.
class Win32DiagService final : public DiagService {
 public:
  std::unique_ptr<DiagDisplayDevices> OpenDisplayDevices() override;
};

class Win32ThreadCodePage final : public ThreadCodePage {
 public:
  std::string FromWide(const std::u16string& text) override;
};

}  // namespace kx::hostkit

// The process-wide product settings over the real platform.
#pragma once

#include "common/product_settings.h"

namespace kx {

class Win32ProcessPaths final : public ProcessPaths {
 public:
  std::string ExecutablePath() override;
  std::string LocalAppDataFolder() override;
};

// Created, with the settings file read, on first use; the programs call it
// first thing at start-up.
ProductSettings& ProcessSettings();

}  // namespace kx

#pragma once

#include "fitcheck/core/result_store.h"

namespace kx {

class Win32ModuleFiles final : public ModuleFiles {
 public:
  bool ResetAttributes(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to) override;
};

}  // namespace kx

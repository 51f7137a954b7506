#pragma once

#include "hostkit/gfxcaps/engine_library.h"

namespace kx::hostkit {

class Win32EngineLibraryLoader final : public EngineLibraryLoader {
 public:
  std::unique_ptr<EngineLibrary> Load(const std::string& path) override;
};

}  // namespace kx::hostkit

// The 3D engine as the parts search uses it: "kx3d.dll" loaded by name for
// one search, and its reader of the attribute texts of model files.
#pragma once

#include <string>

#include "fitview/engine_api/kx3d_api.h"
#include "hostkit/shell/search_walk.h"
#include "platform/win32/module_loader.h"

namespace kx::hostkit {

class SearchEngineLibrary final : public ModelAttributes {
 public:
  // Loads the engine; unloaded when the object goes.
  SearchEngineLibrary() noexcept;

  // False when the library or its attribute reader is missing.
  bool usable() const noexcept { return read_ != nullptr; }

  bool Read(const std::string& path, std::string* first, std::string* second) override;

 private:
  win::LoadedModule module_;
  decltype(Kxi_GetFileAttribute)* read_ = nullptr;
};

}  // namespace kx::hostkit

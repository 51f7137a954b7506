#include "hostkit/gfxcaps/engine_library_win32.h"

#include <shlwapi.h>

#include "fitview/engine_api/kx3d_api.h"
#include "platform/win32/module_loader.h"

namespace kx::hostkit {

namespace {

class Win32EngineLibrary final : public EngineLibrary {
 public:
  // The engine is asked about where it is installed, beside the libraries it
  // needs; a relative path (for which the system defines no such search)
  // is loaded plainly.
  explicit Win32EngineLibrary(const std::string& path)
      : module_(PathIsRelativeA(path.c_str())
                    ? win::LoadedModule(path.c_str())
                    : win::LoadedModule::BesideItsDependencies(path.c_str())) {}
  bool loaded() const { return module_.loaded(); }

  std::optional<std::int32_t> GraphicLibrary() override {
    auto* entry = module_.Entry<decltype(Kxi_GetGraphicLibrary)>("Kxi_GetGraphicLibrary");
    if (entry == nullptr) return std::nullopt;
    return entry();
  }

 private:
  win::LoadedModule module_;
};

}  // namespace

std::unique_ptr<EngineLibrary> Win32EngineLibraryLoader::Load(const std::string& path) {
  auto library = std::make_unique<Win32EngineLibrary>(path);
  if (!library->loaded()) return nullptr;
  return library;
}

}  // namespace kx::hostkit

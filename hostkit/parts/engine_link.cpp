#include "hostkit/parts/engine_link.h"

#include <cstring>

namespace kx::hostkit {

bool IKX3DInterface::EnsureLoaded() noexcept {
  if (loaded()) return true;
  Unload();
  try {
    std::unique_ptr<EngineModule> module = modules_.Load(kEngineLibraryFile);
    if (!module) return false;
    Resolve(*module);
    std::strncpy(file_name_.data(), kEngineLibraryFile, kEngineFileNameSize);
    module_ = std::move(module);
    return true;
  } catch (const ELinkException&) {
    // The library lacks an entry point: it goes again (with the module)
    // and the next request tries anew.
  } catch (...) {
  }
  Unload();
  return false;
}

void IKX3DInterface::Resolve(EngineModule& module) {
  for (std::size_t i = 0; i < kEngineEntryCount; ++i) {
    void* address = module.Find(kEngineEntryNames[i]);
    if (address == nullptr) throw ELinkException(kEngineEntryNames[i]);
    entries_[i] = address;
  }
}

void IKX3DInterface::Unload() noexcept {
  entries_.fill(nullptr);
  file_name_.fill('\0');
  module_.reset();
}

}  // namespace kx::hostkit

// Typed access to the entry points of a library loaded at run time. Each
// library that the programs load by name gets one small class built on this,
// so that the name of an entry point and its signature stand in one place.
#pragma once

#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace kx::win {

// The entry point `name` of a system library that every process has loaded
// (kernel32, user32), as a pointer to F, or null where this Windows lacks it:
// how a function of a later Windows is reached with a fallback.
template <class F>
F* SystemEntry(const char* module, const char* name) noexcept {
  const HMODULE loaded = GetModuleHandleA(module);
  if (loaded == nullptr) return nullptr;
  return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(loaded, name)));
}

class LoadedModule {
 public:
  LoadedModule() noexcept = default;
  explicit LoadedModule(const char* path) noexcept : module_(LoadLibraryA(path)) {}

  // A library named by its absolute path whose own dependencies are looked
  // for in its folder first; the plain load looks in the program's folder,
  // where a library installed elsewhere does not find them.
  static LoadedModule BesideItsDependencies(const char* absolute_path) noexcept {
    LoadedModule loaded;
    loaded.module_.reset(LoadLibraryExA(absolute_path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    return loaded;
  }

  bool loaded() const noexcept { return static_cast<bool>(module_); }
  HMODULE handle() const noexcept { return module_.get(); }

  // The entry point `name` as a pointer to F, or null when the library or the
  // entry point is missing.
  template <class F>
  F* Entry(const char* name) const noexcept {
    if (!module_) return nullptr;
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
  }
  template <class F>
  F* Entry(WORD ordinal) const noexcept {
    return Entry<F>(MAKEINTRESOURCEA(ordinal));
  }

 private:
  UniqueModule module_;
};

}  // namespace kx::win

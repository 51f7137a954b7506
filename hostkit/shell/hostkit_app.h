// CHostkitApp: the library's one application object, made when Hostkit.dll
// is loaded and gone when it is unloaded. It keeps nothing but the module,
// which the dialogs need to find their templates.
#pragma once

#include <windows.h>

namespace kx::hostkit {

class CHostkitApp {
 public:
  // The object of the loaded library.
  static CHostkitApp& Instance() noexcept;

  // Hostkit.dll's own module (its resources).
  HINSTANCE module() const noexcept { return module_; }

  void Attach(HINSTANCE module) noexcept { module_ = module; }

 private:
  HINSTANCE module_ = nullptr;
};

}  // namespace kx::hostkit

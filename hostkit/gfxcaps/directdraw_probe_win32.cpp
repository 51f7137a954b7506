#include "hostkit/gfxcaps/directdraw_probe_win32.h"

#include <windows.h>
// windows.h first
#include <ddraw.h>

#include "platform/win32/module_loader.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

namespace {

using DirectDrawCreateFn = HRESULT WINAPI(GUID*, IDirectDraw**, IUnknown*);

// The capability record of DirectDraw 7, the size every driver accepts.
static_assert(sizeof(DDCAPS_DX7) == 380);

}  // namespace

std::optional<std::uint32_t> Win32DirectDrawProbe::TotalVideoMemory() {
  // Declared in the order taken; released in reverse.
  win::LoadedModule library("DDraw.dll");
  auto* create = library.Entry<DirectDrawCreateFn>("DirectDrawCreate");
  if (create == nullptr) return std::nullopt;
  win::ComApartment com;
  win::ComPtr<IDirectDraw> directdraw;
  if (FAILED(create(nullptr, directdraw.put(), nullptr))) return std::nullopt;
  DDCAPS_DX7 driver = {};
  DDCAPS_DX7 emulation = {};
  driver.dwSize = sizeof(driver);
  emulation.dwSize = sizeof(emulation);
  if (FAILED(directdraw.get()->GetCaps(reinterpret_cast<DDCAPS*>(&driver),
                                       reinterpret_cast<DDCAPS*>(&emulation)))) {
    return std::nullopt;
  }
  return driver.dwVidMemTotal;
}

}  // namespace kx::hostkit

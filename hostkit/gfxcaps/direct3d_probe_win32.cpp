#include "hostkit/gfxcaps/direct3d_probe_win32.h"

#include <windows.h>
// windows.h first
#include <d3d9.h>

#include <optional>

#include "platform/win32/module_loader.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

namespace {

using Direct3DCreate9Fn = IDirect3D9* WINAPI(UINT);

// The SDK version the engine is built against (DirectX 9.0c).
constexpr UINT kSdkVersion = 32;
constexpr UINT kAdapter = 0;

class Win32Direct3DAdapter final : public Direct3DAdapter {
 public:
  // Library, then COM, then the object, as the object needs; the members
  // are released in the reverse order.
  bool Create() {
    library_ = win::LoadedModule("d3d9.dll");
    auto* create = library_.Entry<Direct3DCreate9Fn>("Direct3DCreate9");
    if (create == nullptr) return false;
    com_.emplace();
    direct3d_.reset(create(kSdkVersion));
    return static_cast<bool>(direct3d_);
  }

  std::optional<Guid> DeviceIdentifier() override {
    D3DADAPTER_IDENTIFIER9 identifier = {};
    if (FAILED(direct3d_.get()->GetAdapterIdentifier(kAdapter, 0, &identifier))) {
      return std::nullopt;
    }
    const GUID& id = identifier.DeviceIdentifier;
    Guid guid;
    guid.data1 = id.Data1;
    guid.data2 = id.Data2;
    guid.data3 = id.Data3;
    for (int i = 0; i < 8; ++i) guid.data4[i] = id.Data4[i];
    return guid;
  }

  std::optional<std::uint32_t> PixelShaderVersion() override {
    D3DCAPS9 caps = {};
    if (FAILED(direct3d_.get()->GetDeviceCaps(kAdapter, D3DDEVTYPE_HAL, &caps))) {
      return std::nullopt;
    }
    return caps.PixelShaderVersion;
  }

  std::optional<std::uint32_t> DisplayModeFormat() override {
    D3DDISPLAYMODE mode = {};
    if (FAILED(direct3d_.get()->GetAdapterDisplayMode(kAdapter, &mode))) return std::nullopt;
    return static_cast<std::uint32_t>(mode.Format);
  }

  bool SupportsTextureFormat(std::uint32_t display_format, std::uint32_t texture_format) override {
    return SUCCEEDED(direct3d_.get()->CheckDeviceFormat(
        kAdapter, D3DDEVTYPE_HAL, static_cast<D3DFORMAT>(display_format), 0, D3DRTYPE_TEXTURE,
        static_cast<D3DFORMAT>(texture_format)));
  }

  bool SupportsMultiSample(std::uint32_t surface_format, std::uint32_t type) override {
    return SUCCEEDED(direct3d_.get()->CheckDeviceMultiSampleType(
        kAdapter, D3DDEVTYPE_HAL, static_cast<D3DFORMAT>(surface_format), TRUE,
        static_cast<D3DMULTISAMPLE_TYPE>(type), nullptr));
  }

 private:
  win::LoadedModule library_;
  std::optional<win::ComApartment> com_;
  win::ComPtr<IDirect3D9> direct3d_;
};

}  // namespace

std::unique_ptr<Direct3DAdapter> Win32Direct3DProbe::Open() {
  auto adapter = std::make_unique<Win32Direct3DAdapter>();
  if (!adapter->Create()) return nullptr;
  return adapter;
}

}  // namespace kx::hostkit

// What the capability tests ask of Direct3D 9 about the primary display
// adapter (adapter 0, hardware device). Each test opens its own Direct3D
// object and lets it go before it answers, so that nothing of Direct3D stays
// loaded in the host application between calls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace kx::hostkit {

// A globally unique identifier, field for field as the platform lays it out.
struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};

  friend bool operator==(const Guid& a, const Guid& b) {
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
    for (int i = 0; i < 8; ++i) {
      if (a.data4[i] != b.data4[i]) return false;
    }
    return true;
  }
  friend bool operator!=(const Guid& a, const Guid& b) { return !(a == b); }
};

// Direct3D 9 format numbers used by the tests.
namespace d3dformat {
constexpr std::uint32_t kX8R8G8B8 = 22;
constexpr std::uint32_t kR5G6B5 = 23;
constexpr std::uint32_t kX1R5G5B5 = 24;
constexpr std::uint32_t kR16F = 111;
constexpr std::uint32_t kG16R16F = 112;
constexpr std::uint32_t kR32F = 114;
constexpr std::uint32_t kG32R32F = 115;
}  // namespace d3dformat

// One Direct3D object, alive while this is; queries are about adapter 0.
class Direct3DAdapter {
 public:
  virtual ~Direct3DAdapter() = default;
  // The adapter identifier's device identifier; nullopt when it cannot be read.
  virtual std::optional<Guid> DeviceIdentifier() = 0;
  // The pixel-shader version of the hardware device's capabilities, in the
  // platform's encoding (0xFFFF0000 + major * 256 + minor).
  virtual std::optional<std::uint32_t> PixelShaderVersion() = 0;
  // The format of the adapter's current display mode.
  virtual std::optional<std::uint32_t> DisplayModeFormat() = 0;
  // Whether `texture_format` can be a texture (no usage flags) on a display
  // of `display_format`.
  virtual bool SupportsTextureFormat(std::uint32_t display_format,
                                     std::uint32_t texture_format) = 0;
  // Whether a windowed surface of `surface_format` supports multisample type
  // `type` (no quality levels asked).
  virtual bool SupportsMultiSample(std::uint32_t surface_format, std::uint32_t type) = 0;
};

class Direct3DProbe {
 public:
  virtual ~Direct3DProbe() = default;
  // Loads Direct3D 9 and creates its object; null when the library, its
  // entry point or the object is missing.
  virtual std::unique_ptr<Direct3DAdapter> Open() = 0;
};

}  // namespace kx::hostkit

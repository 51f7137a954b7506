// The DirectDraw driver's own statement of the primary display's memory.
#pragma once

#include <cstdint>
#include <optional>

namespace kx::hostkit {

class DirectDrawProbe {
 public:
  virtual ~DirectDrawProbe() = default;
  // Total video memory of the primary display driver in bytes; nullopt when
  // DirectDraw, its object or its capabilities are unavailable.
  virtual std::optional<std::uint32_t> TotalVideoMemory() = 0;
};

}  // namespace kx::hostkit

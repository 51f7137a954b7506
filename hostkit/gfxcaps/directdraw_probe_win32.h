#pragma once

#include "hostkit/gfxcaps/directdraw_probe.h"

namespace kx::hostkit {

// Loads "DDraw.dll" for the one question and frees it before answering.
class Win32DirectDrawProbe final : public DirectDrawProbe {
 public:
  std::optional<std::uint32_t> TotalVideoMemory() override;
};

}  // namespace kx::hostkit

#pragma once

#include "hostkit/gfxcaps/direct3d_probe.h"

namespace kx::hostkit {

// Loads "d3d9.dll" for each Open and creates the object with SDK version 32;
// the adapter object frees the library and balances COM when it goes.
class Win32Direct3DProbe final : public Direct3DProbe {
 public:
  std::unique_ptr<Direct3DAdapter> Open() override;
};

}  // namespace kx::hostkit

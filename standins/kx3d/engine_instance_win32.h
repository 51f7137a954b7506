// The one engine of the process, for the entry points outside
// kx3d_exports_win32.cpp.
#pragma once

#include "standins/kx3d/engine.h"

namespace kx::kx3d {

Engine& ProcessEngine();

}  // namespace kx::kx3d

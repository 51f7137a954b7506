// The hatch script: opaque script bytes stored with a part as extend block
// 308 and loaded into the engine for a target on request.
#pragma once

#include <cstdint>

#include "hostkit/parts/extend_info_engine.h"

namespace kx::hostkit {

// LoadExtendShasenScript: 0 when the part has no script block (or the
// library or a read entry point is missing); otherwise 1, after handing the
// script to Kxi_LoadScriptFromMemory when that exists and the target is not
// negative. The loader's own result does not change the answer.
[[nodiscard]] std::int32_t LoadHatchScript(ExtendEngineLoader& loader, std::int32_t parts,
                                           std::int32_t target);

}  // namespace kx::hostkit

#include "hostkit/parts/hatch_script.h"

#include <optional>

#include "hostkit/parts/extend_info.h"

namespace kx::hostkit {

std::int32_t LoadHatchScript(ExtendEngineLoader& loader, std::int32_t parts, std::int32_t target) {
  std::unique_ptr<ExtendEngine> engine = loader.Load();
  if (!engine) return 0;
  const std::optional<ByteBlock> script = ReadPartsExtendBlock(*engine, parts, kHatchScriptBlock);
  if (!script) return 0;
  if (engine->Has(ExtendEntry::kLoadScriptFromMemory) && !script->empty() && target >= 0) {
    (void)engine->LoadScriptFromMemory(target, script->data(),
                                       static_cast<std::int32_t>(script->size()), 0);
  }
  return 1;
}

}  // namespace kx::hostkit

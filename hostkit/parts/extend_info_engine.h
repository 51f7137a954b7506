// The engine library as the extended information, back image and hatch
// script calls see it: loaded by name for one call and unloaded when the
// call returns, with only the entry points these calls use. Which of them
// the loaded library exports decides several results, so each one can be
// asked for.
#pragma once

#include <cstdint>
#include <memory>

namespace kx::hostkit {

enum class ExtendEntry {
  kGetPartsExtendBlock,      // Kxi_GetPartsExtendBlockEx
  kGetPartsExtendBlockData,  // Kxi_GetPartsExtendBlockDataEx
  kGetExtendBlock,           // Kxi_GetExtendBlockEx
  kGetExtendBlockData,       // Kxi_GetExtendBlockDataEx
  kSetPartsExtendBlockData,  // Kxi_SetPartsExtendBlockDataEx
  kDeletePartsExtendBlock,   // Kxi_DeletePartsExtendBlockEx
  kLoadScriptFromMemory,     // Kxi_LoadScriptFromMemory
};

// One load of the engine library. A call to an entry point that Has()
// denies is a fault of the caller; implementations answer it with -1.
// Results are the engine's int32 results; negative is a failure.
class ExtendEngine {
 public:
  virtual ~ExtendEngine() = default;

  virtual bool Has(ExtendEntry entry) const = 0;

  // Kxi_GetPartsExtendBlockEx (parts, type, &size): the byte size of the
  // part's block of `type`, 0 when the part has none.
  virtual std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                           std::int32_t* size) = 0;
  // Kxi_GetPartsExtendBlockDataEx (parts, type, buffer): the engine fills
  // `buffer`, which holds the size it reported. `buffer_size` is that size,
  // for implementations that can check it; the engine is not given it.
  virtual std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                               std::uint8_t* buffer, std::int32_t buffer_size) = 0;
  // Kxi_GetExtendBlockEx (index, type, &size): the engine's head copy.
  virtual std::int32_t GetExtendBlock(std::int32_t index, std::int32_t type,
                                      std::int32_t* size) = 0;
  // Kxi_GetExtendBlockDataEx (index, type, buffer).
  virtual std::int32_t GetExtendBlockData(std::int32_t index, std::int32_t type,
                                          std::uint8_t* buffer, std::int32_t buffer_size) = 0;
  // Kxi_SetPartsExtendBlockDataEx (parts, type, data, size): replaces or
  // creates the part's block.
  virtual std::int32_t SetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                               const std::uint8_t* data, std::int32_t size) = 0;
  // Kxi_DeletePartsExtendBlockEx (parts, type).
  virtual std::int32_t DeletePartsExtendBlock(std::int32_t parts, std::int32_t type) = 0;
  // Kxi_LoadScriptFromMemory (target, script, size, 0).
  virtual std::int32_t LoadScriptFromMemory(std::int32_t target, const std::uint8_t* script,
                                            std::int32_t size, std::int32_t flags) = 0;
};

class ExtendEngineLoader {
 public:
  virtual ~ExtendEngineLoader() = default;
  // Loads "kx3d.dll"; null when it cannot be loaded. Unloaded when the
  // returned object goes.
  virtual std::unique_ptr<ExtendEngine> Load() = 0;
};

}  // namespace kx::hostkit

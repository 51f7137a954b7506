// The 3D engine library loaded by path for the duration of one question.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kx::hostkit {

// A loaded engine library; unloaded when this object goes.
class EngineLibrary {
 public:
  virtual ~EngineLibrary() = default;
  // The result of the engine's Kxi_GetGraphicLibrary; nullopt when the
  // library does not export it.
  virtual std::optional<std::int32_t> GraphicLibrary() = 0;
};

class EngineLibraryLoader {
 public:
  virtual ~EngineLibraryLoader() = default;
  // Null when the library at `path` cannot be loaded.
  virtual std::unique_ptr<EngineLibrary> Load(const std::string& path) = 0;
};

}  // namespace kx::hostkit

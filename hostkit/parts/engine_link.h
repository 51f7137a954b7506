// The engine link: the one object per process through which the parts
// attribute services reach the 3D engine library by name. It is loaded on
// the first request that finds the library with every entry point it needs,
// retried on each request until then, and unloads the library only when the
// process ends.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace kx::hostkit {

// The entry points the link resolves, in the order it resolves them. A
// service that needs a further entry point adds it at the end of this list
// and of kEngineEntryNames.
enum class EngineEntry : std::size_t {
  kCheckPartsIndex,
  kGetChildPartsNum,
  kGetChildPartsIndex,
  kGetPartsOffset,
  kGetPartsModelIndex,
  kGetModelAttributeIndex,
  kGetAttribute,
  kGetMakerAttribute,
  kGetShapeNum,
  kSetShapeOption,
  kGetShapeOption,
  kGetShapeOffset,
  kGetExtendBlockEx,
  kGetExtendBlockDataEx,
  kGetPartsExtendBlockEx,
  kGetPartsExtendBlockDataEx,
  kSetPartsExtendBlockDataEx,
  kGetShapeExtendBlockData,
  kGetShapeExtendBlockNum,
  kGetView,
  kCount
};

inline constexpr std::size_t kEngineEntryCount = static_cast<std::size_t>(EngineEntry::kCount);

inline constexpr std::array<const char*, kEngineEntryCount> kEngineEntryNames = {
    "Kxi_CheckPartsIndex",
    "Kxi_GetChildPartsNum",
    "Kxi_GetChildPartsIndex",
    "Kxi_GetPartsOffset",
    "Kxi_GetPartsModelIndex",
    "Kxi_GetModelAttributeIndex",
    "Kxi_GetAttribute",
    "Kxi_GetMakerAttribute",
    "Kxi_GetShapeNum",
    "Kxi_SetShapeOption",
    "Kxi_GetShapeOption",
    "Kxi_GetShapeOffset",
    "Kxi_GetExtendBlockEx",
    "Kxi_GetExtendBlockDataEx",
    "Kxi_GetPartsExtendBlockEx",
    "Kxi_GetPartsExtendBlockDataEx",
    "Kxi_SetPartsExtendBlockDataEx",
    "Kxi_GetShapeExtendBlockData",
    "Kxi_GetShapeExtendBlockNum",
    "Kxi_GetView"};

// The engine library as loaded; unloaded when the object goes.
class EngineModule {
 public:
  virtual ~EngineModule() = default;
  // The address of the entry point `name`, or null.
  virtual void* Find(const char* name) = 0;
};

class EngineModules {
 public:
  virtual ~EngineModules() = default;
  // Null when the library cannot be loaded.
  virtual std::unique_ptr<EngineModule> Load(const std::string& file) = 0;
};

inline constexpr char kEngineLibraryFile[] = "kx3d.dll";
inline constexpr std::size_t kEngineFileNameSize = 260;

class IKX3DInterface {
 public:
  // An entry point that the library lacks; it never leaves the loader.
  class ELinkException : public std::runtime_error {
   public:
    explicit ELinkException(const char* entry) : std::runtime_error(entry) {}
    const char* entry() const noexcept { return what(); }
  };

  explicit IKX3DInterface(EngineModules& modules) noexcept : modules_(modules) {}

  // Loads the library when it is not loaded yet; true when it is loaded.
  // Never throws.
  bool EnsureLoaded() noexcept;

  bool loaded() const noexcept { return module_ != nullptr; }
  // The file name of the loaded library; empty while not loaded.
  const char* file_name() const noexcept { return file_name_.data(); }
  // The address of `entry`; null while not loaded.
  void* Address(EngineEntry entry) const noexcept {
    return entries_[static_cast<std::size_t>(entry)];
  }

 private:
  void Resolve(EngineModule& module);
  void Unload() noexcept;

  EngineModules& modules_;
  std::array<void*, kEngineEntryCount> entries_{};
  std::array<char, kEngineFileNameSize + 1> file_name_{};
  std::unique_ptr<EngineModule> module_;
};

}  // namespace kx::hostkit

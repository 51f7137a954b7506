// What the wizard leaves for the host application: the outcome code and the
// accepted graphics settings under its Environment key, and, for the older
// product generation, the engine library files of the accepted library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/log_writer.h"
#include "common/registry.h"
#include "fitcheck/core/graphics_capabilities.h"
#include "fitcheck/core/kx_env.h"

namespace kx {

// The two file operations of the library switch.
class ModuleFiles {
 public:
  virtual ~ModuleFiles() = default;
  // Resets the file to the plain normal attribute (clearing read-only);
  // false when it cannot, for example when the file does not exist.
  [[nodiscard]] virtual bool ResetAttributes(const std::string& path) = 0;
  // Copies `from` over `to`, overwriting it.
  [[nodiscard]] virtual bool Copy(const std::string& from, const std::string& to) = 0;
};

// Outcome codes of "EnvCheckResult".
inline constexpr std::int32_t kEnvCheckRunning = 1;
inline constexpr std::int32_t kEnvCheckPassed = 0;
inline constexpr std::int32_t kEnvCheckFailed = 2;
inline constexpr std::int32_t kEnvCheckCancelled = 3;

// One value that storing the accepted configuration writes: a DWORD, or a
// string when `is_string`.
struct GraphicSettingValue {
  const char* name;
  bool is_string;
  std::int32_t dword;
  std::string text;
};
// The values, in the order they are written.
std::vector<GraphicSettingValue> GraphicSettingValues(const KxGLOption& option, const CKxEnv& env);

class ResultStore {
 public:
  // `environment_key` and `directories_key` are the host application's key
  // paths (under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE).
  ResultStore(Registry& registry, ModuleFiles& files, GraphicsCapabilities& graphics,
              LogWriter& log, std::string environment_key, std::string directories_key);

  // True only when the value was really written.
  [[nodiscard]] bool WriteEnvCheckResult(std::int32_t code);
  // The accepted configuration and the measured capabilities; true only
  // when every value was written.
  [[nodiscard]] bool StoreGraphicSettings(const KxGLOption& option, const CKxEnv& env);
  // Exchanges the engine library files for the variant of `option`; true
  // when nothing had to be done or both files were replaced.
  bool SwitchGraphicLibraryModule(const KxGLOption& option);

 private:
  Registry& registry_;
  ModuleFiles& files_;
  GraphicsCapabilities& graphics_;
  LogWriter& log_;
  std::string environment_key_;
  std::string directories_key_;
};

}  // namespace kx

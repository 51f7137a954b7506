// The registry as the logic uses it: keys under a root, DWORD and string values.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kx {

enum class RegistryRoot { kCurrentUser, kLocalMachine, kClassesRoot };
enum class RegistryAccess { kRead, kAll };

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  [[nodiscard]] virtual bool SetDword(const std::string& name, std::uint32_t value) = 0;
  // A zero-terminated string value: the bytes of `value` and the terminator.
  [[nodiscard]] virtual bool SetString(const std::string& name, const std::string& value) = 0;
  // A string value up to its first zero byte; none when the value is missing.
  virtual std::optional<std::string> QueryString(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key; null when it cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path,
                                               RegistryAccess access) = 0;
  // Creates a non-volatile key with `key_class`, or opens it when present;
  // null on failure.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& path,
                                                 const std::string& key_class,
                                                 RegistryAccess access) = 0;
};

}  // namespace kx

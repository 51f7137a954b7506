#include "common/registry_win32.h"

#include <windows.h>

#include <vector>

#include "platform/win32/unique_resource.h"

namespace kx {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
  }
  return HKEY_CURRENT_USER;
}

REGSAM Sam(RegistryAccess access) { return access == RegistryAccess::kAll ? KEY_ALL_ACCESS : KEY_READ; }

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(win::UniqueKey key) : key_(std::move(key)) {}

  bool SetDword(const std::string& name, std::uint32_t value) override {
    const DWORD data = value;
    return RegSetValueExA(key_.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
  }
  bool SetString(const std::string& name, const std::string& value) override {
    // The terminator is part of the stored value.
    return RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }
  std::optional<std::string> QueryString(const std::string& name) override {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    // One byte more than reported, zeroed, so that a value stored without
    // its terminator still ends.
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(buffer.data());
  }

 private:
  win::UniqueKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegistryRoot root, const std::string& path,
                                                    RegistryAccess access) {
  win::UniqueKey key;
  if (RegOpenKeyExA(RootKey(root), path.c_str(), 0, Sam(access), key.put()) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

std::unique_ptr<RegistryKey> Win32Registry::CreateKey(RegistryRoot root, const std::string& path,
                                                      const std::string& key_class,
                                                      RegistryAccess access) {
  win::UniqueKey key;
  DWORD disposition = 0;
  std::vector<char> class_text(key_class.begin(), key_class.end());
  class_text.push_back('\0');
  if (RegCreateKeyExA(RootKey(root), path.c_str(), 0, class_text.data(), REG_OPTION_NON_VOLATILE,
                      Sam(access), nullptr, key.put(), &disposition) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace kx

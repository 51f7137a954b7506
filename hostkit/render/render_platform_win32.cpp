#include "hostkit/render/render_platform_win32.h"

#include <shlobj.h>

#include <vector>

#include "platform/win32/unique_resource.h"

namespace kx::hostkit {
namespace {

constexpr std::size_t kMaxPathBytes = 260;

win::UniqueKey OpenUserKey(const std::string& key_path, REGSAM access) {
  win::UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) {
    return win::UniqueKey();
  }
  return key;
}

win::UniqueKey CreateUserKey(const std::string& key_path) {
  win::UniqueKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    return win::UniqueKey();
  }
  return key;
}

}  // namespace

std::optional<std::uint32_t> Win32SettingsRegistry::ReadDword(const std::string& key_path,
                                                              const std::string& name) {
  const win::UniqueKey key = OpenUserKey(key_path, KEY_READ);
  if (!key) return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::string> Win32SettingsRegistry::ReadString(const std::string& key_path,
                                                             const std::string& name) {
  const win::UniqueKey key = OpenUserKey(key_path, KEY_READ);
  if (!key) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
  DWORD read = size;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // Up to the first zero byte, whether or not the value was stored with one.
  return std::string(buffer.data());
}

void Win32SettingsRegistry::WriteDword(const std::string& key_path, const std::string& name,
                                       std::uint32_t value) {
  const win::UniqueKey key = CreateUserKey(key_path);
  if (!key) return;
  const DWORD data = value;
  RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                 sizeof data);
}

void Win32SettingsRegistry::WriteString(const std::string& key_path, const std::string& name,
                                        const std::string& value) {
  const win::UniqueKey key = CreateUserKey(key_path);
  if (!key) return;
  RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

bool Win32FolderSystem::Exists(const std::string& path) {
  return path.size() < kMaxPathBytes && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FolderSystem::IsFolder(const std::string& path) {
  if (path.size() >= kMaxPathBytes) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FolderSystem::CreateFolder(const std::string& path) {
  return path.size() < kMaxPathBytes && CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::optional<std::string> Win32FolderBrowser::Browse(const std::string& title) {
  win::ComApartment com;
  BROWSEINFOA info = {};
  char display[MAX_PATH] = {};
  info.hwndOwner = owner_;
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (chosen == nullptr) return std::nullopt;
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  if (!ok) return std::nullopt;
  return std::string(path);
}

bool HvLibrary::Load() {
  if (tried_) return ready_;
  tried_ = true;
  module_ = win::LoadedModule("HV_Lib.dll");
  if (with_login_) login_ = module_.Entry<LoginFunction>("HV_MRLoginEx");
  points_ = module_.Entry<PointsFunction>("HV_MRGetZanPoint");
  ready_ = points_ != nullptr && (!with_login_ || login_ != nullptr);
  return ready_;
}

bool HvLibrary::Login(std::string& login) {
  if (!Load() || login_ == nullptr) return false;
  std::array<char, kLoginBytes> buffer = LoginBuffer(login);
  // The service reads the login text and writes the one to keep into the same buffer.
  if (login_(buffer.data(), buffer.data()) == 0) return false;
  login = BufferText(buffer.data(), buffer.size());
  return true;
}

std::optional<std::string> HvLibrary::Points(std::int32_t pixels) {
  if (!Load()) return std::nullopt;
  char work1[kPointsWorkBytes] = {};
  char work2[kPointsWorkBytes] = {};
  char text[kPointsTextBytes] = {};
  if (points_(pixels, work1, work2, text) != 1) return std::nullopt;
  return BufferText(text, sizeof text);
}

}  // namespace kx::hostkit

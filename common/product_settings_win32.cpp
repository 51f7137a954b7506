#include "common/product_settings_win32.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "common/file_system_win32.h"
#include "common/profile_store_win32.h"

namespace kx {

std::string Win32ProcessPaths::ExecutablePath() {
  char raw[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, raw, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  char canonical[MAX_PATH] = {};
  if (!PathCanonicalizeA(canonical, raw)) return std::string();
  return canonical;
}

std::string Win32ProcessPaths::LocalAppDataFolder() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, folder))) {
    return std::string();
  }
  return folder;
}

ProductSettings& ProcessSettings() {
  static Win32ProfileStore profiles;
  static Win32FileSystem files;
  static Win32ProcessPaths paths;
  static ProductSettings settings = [] {
    ProductSettings s(profiles, files, paths);
    s.Load();
    return s;
  }();
  return settings;
}

}  // namespace kx

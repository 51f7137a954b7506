#include "fitcheck/ui/directx_installer.h"

#include "common/text.h"

namespace kx {

std::string FindDirectXInstaller(const std::string& chosen_folder, FileSystem& files) {
  const std::string folder = WithTrailingBackslash(chosen_folder);
  for (const char* name : {"DIRECTX\\DXSETUP.exe", "DXSETUP.exe"}) {
    const std::string installer = folder + name;
    if (files.Exists(installer)) return installer;
  }
  return std::string();
}

const char* DirectXInstallerVerb(std::uint32_t major_version) {
  return major_version >= 6 ? "runas" : "open";
}

}  // namespace kx

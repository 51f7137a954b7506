// Where the DirectX installer is looked for on the product's setup disc, and
// how it is started.
#pragma once

#include <cstdint>
#include <string>

#include "common/file_system.h"

namespace kx {

// The installer in the chosen folder: "DIRECTX\DXSETUP.exe" below it, else
// "DXSETUP.exe" in it; empty when neither exists.
std::string FindDirectXInstaller(const std::string& chosen_folder, FileSystem& files);

// The shell verb: with administrator rights ("runas") from version 6 on.
const char* DirectXInstallerVerb(std::uint32_t major_version);

}  // namespace kx

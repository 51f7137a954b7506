#include "fitcheck/core/module_files_win32.h"

#include <windows.h>

namespace kx {

bool Win32ModuleFiles::ResetAttributes(const std::string& path) {
  return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool Win32ModuleFiles::Copy(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

}  // namespace kx

#include "fitcheck/core/folder_tree_win32.h"

#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace kx {

std::vector<FolderEntry> Win32FolderTree::List(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA data;
  win::UniqueFind find(FindFirstFileA((folder + "*").c_str(), &data));
  if (!find) return entries;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const DWORD a = data.dwFileAttributes;
    entries.push_back({name, (a & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (a & FILE_ATTRIBUTE_READONLY) != 0, (a & FILE_ATTRIBUTE_SYSTEM) != 0,
                       (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileA(find.get(), &data));
  return entries;
}

bool Win32FolderTree::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32FolderTree::RemoveFolder(const std::string& path) {
  // Of a junction or a folder link this removes the link itself.
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool Win32FolderTree::ClearReadOnly(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD cleared = a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return SetFileAttributesA(path.c_str(), cleared == 0 ? FILE_ATTRIBUTE_NORMAL : cleared) != FALSE;
}

}  // namespace kx

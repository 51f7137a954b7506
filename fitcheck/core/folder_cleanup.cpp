#include "fitcheck/core/folder_cleanup.h"

namespace kx {

bool EmptyFolder(FolderTree& tree, const std::string& folder) {
  for (const FolderEntry& entry : tree.List(folder)) {
    if (entry.name.empty() || entry.name[0] == '.') continue;
    const std::string path = folder + entry.name;
    if (entry.folder) {
      if (!EmptyFolder(tree, path + "\\") || !tree.RemoveFolder(path)) return false;
    } else {
      // Protected files are left alone, and so is the rest.
      if (entry.read_only || entry.system) return false;
      if (!tree.RemoveFile(path)) return false;
    }
  }
  return true;
}

}  // namespace kx

#include "fitcheck/core/folder_cleanup.h"

namespace kx {

bool EmptyFolder(FolderTree& tree, const std::string& folder) {
  for (const FolderEntry& entry : tree.List(folder)) {
    if (entry.name.empty() || entry.name[0] == '.') continue;
    const std::string path = folder + entry.name;
    // System files are left alone, and so is the rest.
    if (!entry.folder && entry.system) return false;
    // A read-only request file left by an earlier run would otherwise survive
    // every run, and every viewer would read it.
    if (entry.read_only && !tree.ClearReadOnly(path)) return false;
    // What a link leads to is not this folder's to empty: the link goes alone.
    if (entry.folder && !entry.link && !EmptyFolder(tree, path + "\\")) return false;
    if (!(entry.folder ? tree.RemoveFolder(path) : tree.RemoveFile(path))) return false;
  }
  return true;
}

}  // namespace kx

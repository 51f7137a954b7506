// Emptying the exchange folder at the end of the wizard.
#pragma once

#include <string>
#include <vector>

namespace kx {

struct FolderEntry {
  std::string name;
  bool folder = false;
  bool read_only = false;
  bool system = false;
  bool link = false;  // a junction or a symbolic link, to a file or a folder
};

class FolderTree {
 public:
  virtual ~FolderTree() = default;
  // The entries of `folder` (which ends in a backslash), without "." and "..".
  virtual std::vector<FolderEntry> List(const std::string& folder) = 0;
  [[nodiscard]] virtual bool RemoveFile(const std::string& path) = 0;
  // Removes an empty folder, or a link to a folder (never what it links to).
  [[nodiscard]] virtual bool RemoveFolder(const std::string& path) = 0;
  [[nodiscard]] virtual bool ClearReadOnly(const std::string& path) = 0;
};

// Deletes every file and sub-folder in `folder` (ending in a backslash),
// recursively, skipping names that begin with "."; a read-only file loses
// that attribute first, and a link is removed without entering it. Stops at
// the first system file or at the first deletion that fails. The folder
// itself stays. False when it stopped early.
bool EmptyFolder(FolderTree& tree, const std::string& folder);

}  // namespace kx

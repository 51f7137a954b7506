#pragma once

#include "fitcheck/core/folder_cleanup.h"

namespace kx {

class Win32FolderTree final : public FolderTree {
 public:
  std::vector<FolderEntry> List(const std::string& folder) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool ClearReadOnly(const std::string& path) override;
};

}  // namespace kx

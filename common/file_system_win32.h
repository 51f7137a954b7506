#pragma once

#include "common/file_system.h"

namespace kx {

class Win32FileSystem final : public FileSystem {
 public:
  bool Exists(const std::string& path) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
};

}  // namespace kx

// The few file-system questions that the logic asks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kx {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True for an existing file or folder. A path of 260 bytes or more counts
  // as not existing.
  virtual bool Exists(const std::string& path) = 0;
  // Size in bytes of an existing file.
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // Creates one folder level; false when it could not be created, including
  // when it already exists.
  virtual bool CreateFolder(const std::string& path) = 0;
};

}  // namespace kx

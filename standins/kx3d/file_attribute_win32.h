// The attribute texts of a model file on disk.
#pragma once

#include <cstdint>
#include <string>

#include "standins/kx3d/file_attribute.h"

namespace kx::kx3d {

// ReadFileAttributes over the file at `path`.
std::int32_t ReadModelFileAttributes(const std::string& path, FileAttributes* attributes) noexcept;

}  // namespace kx::kx3d

// A path as the system reads it from the current folder, made full.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kx::win {

// `path` made full against the current folder (GetFullPathNameA): the
// private-profile functions take a path that is not full as a name in the
// Windows folder, whatever folder it names. An empty path stays empty, and
// so does one the system cannot make full.
inline std::string FullPath(const std::string& path) {
  if (path.empty()) return path;
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return path;
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

}  // namespace kx::win

#include "standins/kx3d/file_attribute_win32.h"

#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace kx::kx3d {

std::int32_t ReadModelFileAttributes(const std::string& path, FileAttributes* attributes) noexcept {
  try {
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return kAttributesUnreadable;
    LARGE_INTEGER file_size;
    if (!GetFileSizeEx(file.get(), &file_size)) return kAttributesUnreadable;
    // Only what the file holds is asked for: most models end at their body.
    auto read_at = [&](std::uint64_t offset, std::size_t size) -> std::optional<std::string> {
      LARGE_INTEGER at;
      at.QuadPart = static_cast<LONGLONG>(offset);
      if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return std::nullopt;
      const std::uint64_t total = static_cast<std::uint64_t>(file_size.QuadPart);
      if (offset >= total) return std::string();
      if (total - offset < size) size = static_cast<std::size_t>(total - offset);
      std::string bytes(size, '\0');
      DWORD got = 0;
      if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(size), &got, nullptr)) {
        return std::nullopt;
      }
      bytes.resize(got);
      return bytes;
    };
    return ReadFileAttributes(read_at, attributes);
  } catch (...) {
    return kAttributesUnreadable;
  }
}

}  // namespace kx::kx3d

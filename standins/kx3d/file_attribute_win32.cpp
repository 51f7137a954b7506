#include "standins/kx3d/file_attribute_win32.h"

#include <windows.h>

#include "platform/win32/unique_resource.h"

namespace kx::kx3d {

std::int32_t ReadModelFileAttributes(const std::string& path, FileAttributes* attributes) noexcept {
  try {
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return kAttributesUnreadable;
    // One read serves a small model whole (header, body and sections); a
    // larger one is read again only where its sections begin.
    constexpr DWORD kFirstRead = 4096;
    std::string first(kFirstRead, '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), first.data(), kFirstRead, &got, nullptr)) {
      return kAttributesUnreadable;
    }
    first.resize(got);
    const bool whole = got < kFirstRead;
    auto read_at = [&](std::uint64_t offset, std::size_t size) -> std::optional<std::string> {
      if (whole || offset + size <= first.size()) {
        if (offset >= first.size()) return std::string();
        return first.substr(static_cast<std::size_t>(offset), size);
      }
      LARGE_INTEGER at;
      at.QuadPart = static_cast<LONGLONG>(offset);
      if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) return std::nullopt;
      std::string bytes(size, '\0');
      DWORD read = 0;
      if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr)) {
        return std::nullopt;
      }
      bytes.resize(read);
      return bytes;
    };
    return ReadFileAttributes(read_at, attributes);
  } catch (...) {
    return kAttributesUnreadable;
  }
}

}  // namespace kx::kx3d

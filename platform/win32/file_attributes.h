// Attributes a file keeps when a program writes it anew.
#pragma once

#include <windows.h>

namespace kx::win {

// What the user or the system set on a file and a program that rewrites it
// must not take away.
constexpr DWORD kKeptFileAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The attributes to open `path` with CREATE_ALWAYS: Windows refuses to empty
// an existing hidden or system file unless those attributes are asked for
// again, and asking for them keeps them.
inline DWORD AttributesForRewriting(const char* path) noexcept {
  const DWORD existing = GetFileAttributesA(path);
  if (existing == INVALID_FILE_ATTRIBUTES || (existing & kKeptFileAttributes) == 0) {
    return FILE_ATTRIBUTE_NORMAL;
  }
  return existing & kKeptFileAttributes;
}

// Puts the closed file `from` in place of `to` by one rename, replacing
// `to`. The rename gives the result the attributes of `from`, so `from`
// takes those `to` had first; a file system that cannot keep them still
// gets the content. False, with the system's error, when the rename fails.
inline bool RenameOverKeepingAttributes(const char* from, const char* to) noexcept {
  const DWORD existing = GetFileAttributesA(to);
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & kKeptFileAttributes) != 0) {
    (void)SetFileAttributesA(from, FILE_ATTRIBUTE_ARCHIVE | (existing & kKeptFileAttributes));
  }
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace kx::win

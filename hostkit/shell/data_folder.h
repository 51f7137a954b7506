// Preparing an empty working folder under a base folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/text.h"

namespace kx::hostkit {

inline constexpr std::int32_t kDataFolderReady = 0;
inline constexpr std::int32_t kDataFolderUnavailable = -1;  // no base, or no sub-folder made
inline constexpr std::int32_t kDataFolderNotEmptied = -2;   // a file in it stayed

// The file operations the folder preparation takes.
class DataFolderFiles {
 public:
  virtual ~DataFolderFiles() = default;
  // True for an existing file or folder.
  virtual bool Exists(const std::string& path) = 0;
  // True for an existing folder.
  virtual bool IsFolder(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // Calls `entry` with the name and the directory flag of every entry of
  // `folder` ("." and ".." included, as the system lists them).
  virtual void ListFolder(
      const std::string& folder,
      const std::function<void(const std::string& name, bool directory)>& entry) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
};

// True when `name` names a folder directly inside the base folder: not
// empty, not only dots and blanks, and no separator or drive colon. Read by
// `code_page`, the one the file system reads the path in: a second byte
// 0x5C belongs to its character only where that code page joins the pair.
bool IsDataFolderName(const std::string& name, const DoubleByteRule& code_page);

// Makes base + "\" + name exist and hold no files (sub-folders stay).
// kDataFolderReady, kDataFolderUnavailable or kDataFolderNotEmptied; a file
// that cannot be deleted does not stop the others from going. A file where
// the sub-folder should be makes the folder unavailable, and so does a name
// that IsDataFolderName refuses (before anything is looked at).
std::int32_t InitDataFolder(DataFolderFiles& files, const std::string& base,
                            const std::string& name, const DoubleByteRule& code_page);

}  // namespace kx::hostkit

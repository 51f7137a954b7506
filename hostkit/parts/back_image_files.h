// The file operations of the back image calls, and the causes a failed
// write is reported by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "hostkit/parts/extend_info_bytes.h"

namespace kx::hostkit {

// Why a file operation failed, in the kinds the user is told about.
enum class FileErrorCause {
  kNone,
  kGeneric,
  kFileNotFound,
  kBadPath,
  kTooManyOpenFiles,
  kAccessDenied,
  kInvalidFile,
  kRemoveCurrentDir,
  kDirectoryFull,
  kBadSeek,
  kHardIO,
  kSharingViolation,
  kLockViolation,
  kDiskFull,
  kEndOfFile,
};

class BackImageFiles {
 public:
  virtual ~BackImageFiles() = default;

  // The size of an existing file; nullopt when its status cannot be had.
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // Reads at most `size` bytes from the start of the file into `buffer`
  // and returns how many it read (fewer when the file is shorter); nullopt
  // when it cannot be opened for reading.
  virtual std::optional<std::size_t> ReadFile(const std::string& path, std::uint8_t* buffer,
                                              std::size_t size) = 0;

  // Creates a new, empty file with a name of its own in `folder` (a folder
  // part ending in its separator, or empty for the current folder) and
  // returns its path; nullopt when no file can be created there (a missing
  // folder, one that refuses new files, a folder path too long for the
  // name). Being in the target's own folder, it is put in place by a rename
  // on one volume.
  virtual std::optional<std::string> CreateTemporaryFile(const std::string& folder) = 0;
  // Writes `data` as the whole content of the existing file at `path`; a
  // failure to open, write, flush or close it is reported by its cause.
  virtual FileErrorCause WriteFile(const std::string& path, const std::uint8_t* data,
                                   std::size_t size) = 0;
  // Creates the file at `path`, or empties the one there, and writes `data`
  // as its content; an existing file keeps its attributes. nullopt when it
  // cannot be opened (nothing is written), else kNone or the cause of the
  // failed write, which may leave the file partly written.
  virtual std::optional<FileErrorCause> WriteFileDirectly(const std::string& path,
                                                          const std::uint8_t* data,
                                                          std::size_t size) = 0;
  // Puts the file `from` in place of `to` in one step, replacing `to` when
  // it exists; the result keeps the attributes `to` had. On failure both
  // stay as they were.
  virtual FileErrorCause PutInPlace(const std::string& from, const std::string& to) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
};

}  // namespace kx::hostkit

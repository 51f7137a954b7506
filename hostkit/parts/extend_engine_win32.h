// The engine library loaded by name around one extended information, back
// image or hatch script call, and the files the back image calls read and
// write, over the real system.
#pragma once

#include "hostkit/parts/back_image_files.h"
#include "hostkit/parts/extend_info_engine.h"

namespace kx::hostkit {

// Loads "kx3d.dll" (the copy the host already holds, when it has one) and
// resolves the entry points of these calls; the library is released when
// the returned engine goes.
class Win32ExtendEngineLoader final : public ExtendEngineLoader {
 public:
  std::unique_ptr<ExtendEngine> Load() override;
};

// A temporary file beside the target, put in its place by a rename that
// replaces it, or the target written directly where no temporary file can
// be made; system errors become the causes the user is told about.
class Win32BackImageFiles : public BackImageFiles {
 public:
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  std::optional<std::size_t> ReadFile(const std::string& path, std::uint8_t* buffer,
                                      std::size_t size) override;
  std::optional<std::string> CreateTemporaryFile(const std::string& folder) override;
  FileErrorCause WriteFile(const std::string& path, const std::uint8_t* data,
                           std::size_t size) override;
  std::optional<FileErrorCause> WriteFileDirectly(const std::string& path, const std::uint8_t* data,
                                                  std::size_t size) override;
  FileErrorCause PutInPlace(const std::string& from, const std::string& to) override;
  void RemoveFile(const std::string& path) override;
};

}  // namespace kx::hostkit

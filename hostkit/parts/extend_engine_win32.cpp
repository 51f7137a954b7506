#include "hostkit/parts/extend_engine_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "fitview/engine_api/kx3d_api.h"
#include "hostkit/parts/back_image_message.h"
#include "hostkit/parts/engine_link.h"
#include "platform/win32/file_attributes.h"
#include "platform/win32/module_loader.h"

namespace kx::hostkit {
namespace {

// One load of the library with every entry point these calls use resolved
// once; a missing one stays null and Has() says so.
class Win32ExtendEngine final : public ExtendEngine {
 public:
  explicit Win32ExtendEngine(win::LoadedModule module) : module_(std::move(module)) {}

  bool loaded() const { return module_.loaded(); }

  bool Has(ExtendEntry entry) const override {
    switch (entry) {
      case ExtendEntry::kGetPartsExtendBlock:
        return get_parts_block_ != nullptr;
      case ExtendEntry::kGetPartsExtendBlockData:
        return get_parts_block_data_ != nullptr;
      case ExtendEntry::kGetExtendBlock:
        return get_head_block_ != nullptr;
      case ExtendEntry::kGetExtendBlockData:
        return get_head_block_data_ != nullptr;
      case ExtendEntry::kSetPartsExtendBlockData:
        return set_parts_block_data_ != nullptr;
      case ExtendEntry::kDeletePartsExtendBlock:
        return delete_parts_block_ != nullptr;
      case ExtendEntry::kLoadScriptFromMemory:
        return load_script_ != nullptr;
    }
    return false;
  }

  std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                   std::int32_t* size) override {
    return get_parts_block_ ? get_parts_block_(parts, type, size) : -1;
  }
  std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type, std::uint8_t* buffer,
                                       std::int32_t) override {
    return get_parts_block_data_ ? get_parts_block_data_(parts, type, buffer) : -1;
  }
  std::int32_t GetExtendBlock(std::int32_t index, std::int32_t type, std::int32_t* size) override {
    return get_head_block_ ? get_head_block_(index, type, size) : -1;
  }
  std::int32_t GetExtendBlockData(std::int32_t index, std::int32_t type, std::uint8_t* buffer,
                                  std::int32_t) override {
    return get_head_block_data_ ? get_head_block_data_(index, type, buffer) : -1;
  }
  std::int32_t SetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                       const std::uint8_t* data, std::int32_t size) override {
    return set_parts_block_data_ ? set_parts_block_data_(parts, type, data, size) : -1;
  }
  std::int32_t DeletePartsExtendBlock(std::int32_t parts, std::int32_t type) override {
    return delete_parts_block_ ? delete_parts_block_(parts, type) : -1;
  }
  std::int32_t LoadScriptFromMemory(std::int32_t target, const std::uint8_t* script,
                                    std::int32_t size, std::int32_t flags) override {
    return load_script_ ? load_script_(target, script, size, flags) : -1;
  }

 private:
  template <class F>
  F* Entry(const char* name) const {
    return module_.Entry<F>(name);
  }

  win::LoadedModule module_;
  decltype(&Kxi_GetPartsExtendBlockEx) get_parts_block_ =
      Entry<decltype(Kxi_GetPartsExtendBlockEx)>("Kxi_GetPartsExtendBlockEx");
  decltype(&Kxi_GetPartsExtendBlockDataEx) get_parts_block_data_ =
      Entry<decltype(Kxi_GetPartsExtendBlockDataEx)>("Kxi_GetPartsExtendBlockDataEx");
  decltype(&Kxi_GetExtendBlockEx) get_head_block_ =
      Entry<decltype(Kxi_GetExtendBlockEx)>("Kxi_GetExtendBlockEx");
  decltype(&Kxi_GetExtendBlockDataEx) get_head_block_data_ =
      Entry<decltype(Kxi_GetExtendBlockDataEx)>("Kxi_GetExtendBlockDataEx");
  decltype(&Kxi_SetPartsExtendBlockDataEx) set_parts_block_data_ =
      Entry<decltype(Kxi_SetPartsExtendBlockDataEx)>("Kxi_SetPartsExtendBlockDataEx");
  decltype(&Kxi_DeletePartsExtendBlockEx) delete_parts_block_ =
      Entry<decltype(Kxi_DeletePartsExtendBlockEx)>("Kxi_DeletePartsExtendBlockEx");
  decltype(&Kxi_LoadScriptFromMemory) load_script_ =
      Entry<decltype(Kxi_LoadScriptFromMemory)>("Kxi_LoadScriptFromMemory");
};

// Reads and writes go in pieces a DWORD can count.
constexpr std::size_t kPiece = 1u << 30;

FileErrorCause LastCause() { return FileErrorCauseFromSystemError(GetLastError()); }

// Longest folder the temporary file's name can follow: its prefix, four
// hexadecimal digits, ".tmp" and the terminator within MAX_PATH bytes. The
// system refuses longer folders; not every implementation of it does.
constexpr std::size_t kLongestTemporaryFolder = MAX_PATH - 14;

// Writes all of `data` to the open file and closes it, reporting a lost
// write by its cause.
FileErrorCause WriteAndClose(win::UniqueFile file, const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min(size - done, kPiece));
    if (!::WriteFile(file.get(), data + done, piece, &written, nullptr)) return LastCause();
    if (written == 0) return FileErrorCause::kDiskFull;
    done += written;
  }
  if (!FlushFileBuffers(file.get())) return LastCause();
  // Closing is the last chance for the system to report a lost write.
  if (!CloseHandle(file.release())) return LastCause();
  return FileErrorCause::kNone;
}

}  // namespace

std::unique_ptr<ExtendEngine> Win32ExtendEngineLoader::Load() {
  auto engine = std::make_unique<Win32ExtendEngine>(win::LoadedModule(kEngineLibraryFile));
  if (!engine->loaded()) return nullptr;
  return engine;
}

std::optional<std::uint64_t> Win32BackImageFiles::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<std::size_t> Win32BackImageFiles::ReadFile(const std::string& path,
                                                         std::uint8_t* buffer, std::size_t size) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::size_t done = 0;
  while (done < size) {
    DWORD read = 0;
    const auto piece = static_cast<DWORD>(std::min(size - done, kPiece));
    if (!::ReadFile(file.get(), buffer + done, piece, &read, nullptr) || read == 0) break;
    done += read;
  }
  return done;
}

std::optional<std::string> Win32BackImageFiles::CreateTemporaryFile(const std::string& folder) {
  if (folder.size() > kLongestTemporaryFolder) return std::nullopt;
  char name[MAX_PATH] = {};
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "kxb", 0, name) == 0) {
    return std::nullopt;
  }
  // The name comes with the file made. Not every implementation of the
  // system holds to that when the folder refuses the file, so the file
  // itself is asked for.
  if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return std::string(name);
}

FileErrorCause Win32BackImageFiles::WriteFile(const std::string& path, const std::uint8_t* data,
                                              std::size_t size) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastCause();
  return WriteAndClose(std::move(file), data, size);
}

std::optional<FileErrorCause> Win32BackImageFiles::WriteFileDirectly(const std::string& path,
                                                                     const std::uint8_t* data,
                                                                     std::size_t size) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   win::AttributesForRewriting(path.c_str()), nullptr));
  if (!file) return std::nullopt;
  return WriteAndClose(std::move(file), data, size);
}

FileErrorCause Win32BackImageFiles::PutInPlace(const std::string& from, const std::string& to) {
  // A file the user made read-only is not written over. The system refuses
  // to rename onto one, but not every implementation of it does; asking
  // first keeps the answer the same everywhere.
  const DWORD attributes = GetFileAttributesA(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return FileErrorCause::kAccessDenied;
  }
  if (!win::RenameOverKeepingAttributes(from.c_str(), to.c_str())) return LastCause();
  return FileErrorCause::kNone;
}

void Win32BackImageFiles::RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

}  // namespace kx::hostkit

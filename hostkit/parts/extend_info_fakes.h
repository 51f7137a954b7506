// In-memory stand-ins for the engine library loaded per call and for the
// file operations of the back image, for the unit tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hostkit/parts/back_image_files.h"
#include "hostkit/parts/back_image_format.h"
#include "hostkit/parts/extend_info_engine.h"

namespace kx::hostkit::test {

// The engine's block store, shared by every load.
struct ExtendEngineState {
  std::map<std::pair<std::int32_t, std::int32_t>, ByteBlock> parts_blocks;  // (parts, type)
  std::map<std::pair<std::int32_t, std::int32_t>, ByteBlock> head_blocks;   // (index, type)
  std::set<ExtendEntry> missing;  // entry points the library lacks
  bool library_missing = false;
  int loads = 0;
  struct Script {
    std::int32_t target;
    ByteBlock bytes;
  };
  std::vector<Script> scripts;
  std::vector<std::pair<std::int32_t, std::int32_t>> deleted;
  int sets = 0;
};

class FakeExtendEngine final : public ExtendEngine {
 public:
  explicit FakeExtendEngine(ExtendEngineState& state) : state_(state) {}

  bool Has(ExtendEntry entry) const override { return state_.missing.count(entry) == 0; }
  std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                   std::int32_t* size) override {
    return Size(state_.parts_blocks, parts, type, size);
  }
  std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type, std::uint8_t* buffer,
                                       std::int32_t buffer_size) override {
    return Fill(state_.parts_blocks, parts, type, buffer, buffer_size);
  }
  std::int32_t GetExtendBlock(std::int32_t index, std::int32_t type, std::int32_t* size) override {
    return Size(state_.head_blocks, index, type, size);
  }
  std::int32_t GetExtendBlockData(std::int32_t index, std::int32_t type, std::uint8_t* buffer,
                                  std::int32_t buffer_size) override {
    return Fill(state_.head_blocks, index, type, buffer, buffer_size);
  }
  std::int32_t SetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                       const std::uint8_t* data, std::int32_t size) override {
    ++state_.sets;
    state_.parts_blocks[{parts, type}] = ByteBlock(data, data + size);
    return 0;
  }
  std::int32_t DeletePartsExtendBlock(std::int32_t parts, std::int32_t type) override {
    state_.deleted.emplace_back(parts, type);
    state_.parts_blocks.erase({parts, type});
    return 0;
  }
  std::int32_t LoadScriptFromMemory(std::int32_t target, const std::uint8_t* script,
                                    std::int32_t size, std::int32_t) override {
    state_.scripts.push_back({target, ByteBlock(script, script + size)});
    return -5;  // the loader's own verdict, which the caller does not pass on
  }

 private:
  using Store = std::map<std::pair<std::int32_t, std::int32_t>, ByteBlock>;
  static std::int32_t Size(const Store& store, std::int32_t a, std::int32_t b, std::int32_t* size) {
    auto it = store.find({a, b});
    *size = it == store.end() ? 0 : static_cast<std::int32_t>(it->second.size());
    return 0;
  }
  static std::int32_t Fill(const Store& store, std::int32_t a, std::int32_t b, std::uint8_t* buffer,
                           std::int32_t buffer_size) {
    auto it = store.find({a, b});
    if (it == store.end()) return -1;
    // As the engine does: the whole block, trusting the caller's buffer.
    if (static_cast<std::size_t>(buffer_size) < it->second.size()) std::abort();
    std::memcpy(buffer, it->second.data(), it->second.size());
    return 0;
  }

  ExtendEngineState& state_;
};

class FakeExtendEngineLoader final : public ExtendEngineLoader {
 public:
  ExtendEngineState state;
  std::unique_ptr<ExtendEngine> Load() override {
    ++state.loads;
    if (state.library_missing) return nullptr;
    return std::make_unique<FakeExtendEngine>(state);
  }
};

// Files by path; a folder exists when listed (the current folder, "",
// always does), and takes new files unless it refuses them.
class MemoryBackImageFiles final : public BackImageFiles {
 public:
  std::map<std::string, ByteBlock> files;
  std::set<std::string> folders;
  std::set<std::string> refusing_new_files;
  // Bytes a write gets through before failing with write_failure.
  std::size_t write_room = SIZE_MAX;
  FileErrorCause write_failure = FileErrorCause::kDiskFull;
  FileErrorCause replace_failure = FileErrorCause::kNone;
  std::size_t shrink_on_read = 0;  // the file loses this many bytes between status and read
  std::vector<std::string> removed;

  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.size();
  }
  std::optional<std::size_t> ReadFile(const std::string& path, std::uint8_t* buffer,
                                      std::size_t size) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    const std::size_t available = it->second.size() - std::min(shrink_on_read, it->second.size());
    const std::size_t take = std::min(size, available);
    std::copy(it->second.begin(), it->second.begin() + take, buffer);
    return take;
  }
  std::optional<std::string> CreateTemporaryFile(const std::string& folder) override {
    if (!TakesNewFiles(folder)) return std::nullopt;
    std::string path = folder + "~kx" + std::to_string(++temporaries_) + ".tmp";
    files[path];
    return path;
  }
  FileErrorCause WriteFile(const std::string& path, const std::uint8_t* data,
                           std::size_t size) override {
    ByteBlock& file = files.at(path);
    const std::size_t written = std::min(size, write_room);
    file.assign(data, data + written);
    return written == size ? FileErrorCause::kNone : write_failure;
  }
  std::optional<FileErrorCause> WriteFileDirectly(const std::string& path, const std::uint8_t* data,
                                                  std::size_t size) override {
    if (files.count(path) == 0 && !TakesNewFiles(FolderPart(path))) return std::nullopt;
    files[path];
    return WriteFile(path, data, size);
  }
  FileErrorCause PutInPlace(const std::string& from, const std::string& to) override {
    if (replace_failure != FileErrorCause::kNone) return replace_failure;
    files[to] = std::move(files.at(from));
    files.erase(from);
    return FileErrorCause::kNone;
  }
  void RemoveFile(const std::string& path) override {
    removed.push_back(path);
    files.erase(path);
  }

 private:
  bool TakesNewFiles(const std::string& folder) const {
    return (folder.empty() || folders.count(folder) != 0) && refusing_new_files.count(folder) == 0;
  }
  int temporaries_ = 0;
};

}  // namespace kx::hostkit::test

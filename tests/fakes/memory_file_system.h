// An in-memory file system and INI store for unit tests of the logic.
#pragma once

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/file_system.h"
#include "common/profile_store.h"
#include "common/text.h"

namespace kx::test {

class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::uint64_t> files;  // path -> size
  std::set<std::string> folders;
  std::vector<std::string> created;  // every CreateFolder call, in order

  void AddFile(const std::string& path, std::uint64_t size = 0) { files[path] = size; }

  bool Exists(const std::string& path) override {
    return path.size() < 260 && (files.count(path) != 0 || folders.count(path) != 0);
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool CreateFolder(const std::string& path) override {
    created.push_back(path);
    return folders.insert(path).second;
  }
};

class MemoryProfileStore final : public ProfileStore {
 public:
  using Section = std::vector<std::pair<std::string, std::string>>;  // entries in file order
  std::map<std::string, std::map<std::string, Section>> files;      // file -> section -> entries
  std::vector<std::string> write_order;                              // "section/key" per write
  bool fail_writes = false;
  std::string failing_key;  // a key whose writes fail, as a locked file's would

  void Set(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value) {
    Section& entries = files[file][section];
    for (auto& entry : entries) {
      if (entry.first == key) {
        entry.second = value;
        return;
      }
    }
    entries.emplace_back(key, value);
  }
  const std::string* Find(const std::string& file, const std::string& section,
                          const std::string& key) const {
    auto f = files.find(file);
    if (f == files.end()) return nullptr;
    auto s = f->second.find(section);
    if (s == f->second.end()) return nullptr;
    for (const auto& entry : s->second) {
      if (entry.first == key) return &entry.second;
    }
    return nullptr;
  }

  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback,
                         std::size_t buffer_size) override {
    const std::string* value = Find(file, section, key);
    std::string text = value ? *value : fallback;
    if (buffer_size == 0) return std::string();
    if (text.size() > buffer_size - 1) text.resize(buffer_size - 1);
    return text;
  }
  int ReadInt(const std::string& file, const std::string& section, const std::string& key,
              int fallback) override {
    const std::string* value = Find(file, section, key);
    return value ? DecimalOr(*value, fallback) : fallback;
  }
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
    if (fail_writes || key == failing_key) return false;
    write_order.push_back(section + "/" + key);
    Set(file, section, key, value);
    return true;
  }
  std::string ReadSection(const std::string& file, const std::string& section,
                          std::size_t buffer_size) override {
    auto f = files.find(file);
    if (f == files.end() || buffer_size < 2) return std::string();
    auto s = f->second.find(section);
    if (s == f->second.end()) return std::string();
    std::string result;
    for (const auto& entry : s->second) {
      std::string line = entry.first + "=" + entry.second;
      if (result.size() + line.size() + 2 > buffer_size) break;  // the platform drops what does not fit
      result += line;
      result += '\0';
    }
    return result;
  }
};

}  // namespace kx::test

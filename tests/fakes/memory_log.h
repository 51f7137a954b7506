// A log writer over an in-memory file and a settable clock, for tests that
// check what was logged.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/log_writer.h"

namespace kx::test {

class FakeLogClock final : public LogClock {
 public:
  LocalTime now;
  LocalTime Now() override { return now; }
};

class MemoryLogStorage final : public LogStorage {
 public:
  std::map<std::string, std::string> files;  // path -> bytes
  bool fail_open = false;

  bool Exists(const std::string& path) override {
    return path.size() < 260 && files.count(path) != 0;
  }
  std::unique_ptr<LogFile> Open(const std::string& path, LogDisposition disposition) override {
    if (fail_open) return nullptr;
    const bool exists = files.count(path) != 0;
    if (disposition == LogDisposition::kCreateNew && exists) return nullptr;
    if (disposition == LogDisposition::kCreateTruncate || !exists) files[path].clear();
    return std::make_unique<File>(files[path]);
  }
  void Delete(const std::string& path) override { files.erase(path); }

 private:
  class File final : public LogFile {
   public:
    explicit File(std::string& bytes) : bytes_(bytes) {}
    void Write(const std::string& bytes) override { bytes_ += bytes; }

   private:
    std::string& bytes_;
  };
};

// An open log whose messages can be read back without their time stamps.
class MemoryLog {
 public:
  MemoryLog() : writer(clock, storage) { writer.Open("test.log", LogWriter::kAppend); }

  // The messages written so far, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> result;
    const std::string& bytes = storage.files.at("test.log");
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
      // "HH:MM:SS.mmm, " is 14 bytes.
      result.push_back(bytes.substr(start + 14, end - start - 14));
    }
    return result;
  }

  FakeLogClock clock;
  MemoryLogStorage storage;
  LogWriter writer;
};

}  // namespace kx::test

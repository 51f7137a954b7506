// The process-wide log of each program, over the real clock and file API.
#pragma once

#include "common/log_writer.h"

namespace kx {

// Created on first use, closed when the process ends.
LogWriter& ProcessLog();

class Win32LogClock final : public LogClock {
 public:
  LocalTime Now() override;
};

class Win32LogStorage final : public LogStorage {
 public:
  bool Exists(const std::string& path) override;
  std::unique_ptr<LogFile> Open(const std::string& path, LogDisposition disposition) override;
  void Delete(const std::string& path) override;
};

}  // namespace kx

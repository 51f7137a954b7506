// The programs' diary: one time-stamped line per event, in a file whose name
// is a pattern resolved when the file is opened. Every failure is silent: the
// log is a diagnostic aid and nothing reads it back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kx {

struct LocalTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class LogClock {
 public:
  virtual ~LogClock() = default;
  virtual LocalTime Now() = 0;
};

// An open log file: bytes are written at the current position, write-through.
class LogFile {
 public:
  virtual ~LogFile() = default;
  virtual void Write(const std::string& bytes) = 0;  // failures are ignored
};

enum class LogDisposition {
  kCreateNew,       // fail when the file exists
  kOpenAppend,      // open or create, positioned at the end
  kCreateTruncate,  // create, or truncate an existing file
};

class LogStorage {
 public:
  virtual ~LogStorage() = default;
  // A path of 260 bytes or more counts as not existing.
  virtual bool Exists(const std::string& path) = 0;
  // Opened for writing only, readable by others meanwhile; null on failure.
  virtual std::unique_ptr<LogFile> Open(const std::string& path, LogDisposition disposition) = 0;
  virtual void Delete(const std::string& path) = 0;
};

class LogWriter {
 public:
  static constexpr std::uint32_t kCreateNew = 0x01;
  static constexpr std::uint32_t kAppend = 0x02;
  static constexpr std::uint32_t kDeleteOnClose = 0x10;

  LogWriter(LogClock& clock, LogStorage& storage);
  ~LogWriter();
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Closes any open file, then opens the file that `pattern` names.
  bool Open(const std::string& pattern, std::uint32_t flags);
  void Write(const std::string& message, std::int32_t level);
  // The form every caller uses: level 0, dropped while closed.
  void Log(const std::string& message) { Write(message, 0); }
  void Close();

  bool IsOpen() const { return file_ != nullptr; }
  const std::string& Path() const { return path_; }

  // The path `pattern` names at `now`: "<DATE>" becomes YYYYMMDD, "<TIME>"
  // HHMMSS and "<NO>" the first number from 1 whose file does not exist.
  static std::string ResolvePattern(const std::string& pattern, const LocalTime& now,
                                    LogStorage& storage);
  // One line as it is written: "HH:MM:SS.mmm, " + message + CR LF.
  static std::string FormatLine(const LocalTime& now, const std::string& message);

 private:
  LogClock& clock_;
  LogStorage& storage_;
  std::string path_;
  std::unique_ptr<LogFile> file_;
  std::int32_t threshold_ = 0;
  bool enabled_ = false;
  std::uint32_t flags_ = 0;
};

// The separator line each program writes when it opens its log.
inline constexpr const char* kLogSeparator = "-----------------------------------";

}  // namespace kx

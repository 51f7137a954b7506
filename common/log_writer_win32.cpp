#include "common/log_writer_win32.h"

#include <windows.h>

#include "common/file_system_win32.h"
#include "platform/win32/unique_resource.h"

namespace kx {
namespace {

class Win32LogFile final : public LogFile {
 public:
  explicit Win32LogFile(win::UniqueFile file) : file_(std::move(file)) {}
  void Write(const std::string& bytes) override {
    DWORD written = 0;
    WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

 private:
  win::UniqueFile file_;
};

}  // namespace

LocalTime Win32LogClock::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

bool Win32LogStorage::Exists(const std::string& path) { return Win32FileSystem().Exists(path); }

std::unique_ptr<LogFile> Win32LogStorage::Open(const std::string& path,
                                               LogDisposition disposition) {
  DWORD creation = CREATE_ALWAYS;
  if (disposition == LogDisposition::kCreateNew) creation = CREATE_NEW;
  if (disposition == LogDisposition::kOpenAppend) creation = OPEN_ALWAYS;
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, creation,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  if (!file) return nullptr;
  if (disposition == LogDisposition::kOpenAppend) SetFilePointer(file.get(), 0, nullptr, FILE_END);
  return std::make_unique<Win32LogFile>(std::move(file));
}

void Win32LogStorage::Delete(const std::string& path) { DeleteFileA(path.c_str()); }

LogWriter& ProcessLog() {
  static Win32LogClock clock;
  static Win32LogStorage storage;
  static LogWriter log(clock, storage);
  return log;
}

}  // namespace kx

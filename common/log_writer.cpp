#include "common/log_writer.h"

#include "common/text.h"

namespace kx {

LogWriter::LogWriter(LogClock& clock, LogStorage& storage) : clock_(clock), storage_(storage) {}

LogWriter::~LogWriter() { Close(); }

std::string LogWriter::ResolvePattern(const std::string& pattern, const LocalTime& now,
                                      LogStorage& storage) {
  const bool has_number = pattern.find("<NO>") != std::string::npos;
  const std::string date = Format("%04d%02d%02d", now.year, now.month, now.day);
  const std::string time = Format("%02d%02d%02d", now.hour, now.minute, now.second);
  const std::string dated = ReplaceAll(ReplaceAll(pattern, "<DATE>", date), "<TIME>", time);
  for (unsigned n = 1;; ++n) {
    std::string candidate = ReplaceAll(dated, "<NO>", Format("%u", n));
    if (!has_number || !storage.Exists(candidate)) return candidate;
  }
}

std::string LogWriter::FormatLine(const LocalTime& now, const std::string& message) {
  return Format("%02d:%02d:%02d.%03d", now.hour, now.minute, now.second, now.millisecond) + ", " +
         message + "\r\n";
}

bool LogWriter::Open(const std::string& pattern, std::uint32_t flags) {
  file_.reset();
  path_.clear();
  threshold_ = 0;
  enabled_ = true;
  flags_ = 0;

  const std::string path = ResolvePattern(pattern, clock_.Now(), storage_);
  flags_ = flags;
  LogDisposition disposition = LogDisposition::kCreateTruncate;
  if (flags & kCreateNew) {
    disposition = LogDisposition::kCreateNew;
  } else if (flags & kAppend) {
    disposition = LogDisposition::kOpenAppend;
  }
  file_ = storage_.Open(path, disposition);
  if (!file_) return false;
  path_ = path;
  return true;
}

void LogWriter::Write(const std::string& message, std::int32_t level) {
  if (!file_ || !enabled_ || level < threshold_) return;
  file_->Write(FormatLine(clock_.Now(), message));
}

void LogWriter::Close() {
  if (!file_) return;
  file_.reset();
  if (flags_ & kDeleteOnClose) storage_.Delete(path_);
  path_.clear();
}

}  // namespace kx

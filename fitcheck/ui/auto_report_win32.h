// The Windows side of the unattended run's report: the time, the text
// conversion and the file, written beside its place and renamed over it.
#pragma once

#include <string>

namespace kx {

// The current UTC time as "YYYY-MM-DDTHH:MM:SSZ".
std::string UtcTimeText();
// Text of the ANSI code page as UTF-8; invalid bytes as U+FFFD.
std::string AnsiToUtf8(const std::string& ansi);
// Writes `content` to `path` + ".tmp" and renames it to `path`, replacing
// what was there; false when either step fails (the temporary file is then
// removed).
bool WriteReportFile(const std::string& path, const std::string& content);

}  // namespace kx

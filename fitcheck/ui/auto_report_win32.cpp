#include "fitcheck/ui/auto_report_win32.h"

#include <windows.h>

#include <vector>

#include "common/text.h"
#include "platform/win32/unique_resource.h"

namespace kx {

std::string UtcTimeText() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return Format("%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
}

std::string AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  const int wide_length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (wide_length <= 0) return {};
  std::vector<wchar_t> wide(static_cast<std::size_t>(wide_length));
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), wide_length);
  const int utf8_length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (utf8_length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(utf8_length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), utf8_length, nullptr,
                      nullptr);
  return utf8;
}

bool WriteReportFile(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".tmp";
  bool written = false;
  {
    win::UniqueFile file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD done = 0;
    written =
        WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &done, nullptr) &&
        done == content.size() && FlushFileBuffers(file.get());
  }
  if (written && MoveFileExA(temporary.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileA(temporary.c_str());
  return false;
}

}  // namespace kx

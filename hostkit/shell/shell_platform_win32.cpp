#include "hostkit/shell/shell_platform_win32.h"

#include <windows.h>

#include <vector>

#include "platform/win32/file_attributes.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

namespace {

// The host reads and writes these files as C streams, which share both: a
// file it still holds open must not keep ours from being opened.
constexpr DWORD kSharedAsAStream = FILE_SHARE_READ | FILE_SHARE_WRITE;

}  // namespace

std::optional<std::string> Win32ClassKeys::DefaultValue(const std::string& key) {
  win::UniqueKey opened;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char value[kCommandBufferBytes + 1] = {};
  DWORD type = 0;
  DWORD size = kCommandBufferBytes;
  if (RegQueryValueExA(opened.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  // A value stored without its terminator still ends inside the buffer
  // (one byte more than the registry may fill); it must leave room for it.
  const std::string text(value);
  if (text.size() + 1 > kCommandBufferBytes) return std::nullopt;
  return text;
}

std::int32_t WinExecStarter::Start(const std::string& command_line) {
  return static_cast<std::int32_t>(WinExec(command_line.c_str(), SW_SHOW));
}

bool Win32DataFolderFiles::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32DataFolderFiles::IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32DataFolderFiles::CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

void Win32DataFolderFiles::ListFolder(const std::string& folder,
                                      const std::function<void(const std::string&, bool)>& entry) {
  WIN32_FIND_DATAA data;
  win::UniqueFind find(FindFirstFileA((folder + "\\*.*").c_str(), &data));
  if (!find) return;
  do {
    entry(data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileA(find.get(), &data));
}

bool Win32DataFolderFiles::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, kSharedAsAStream, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, kSharedAsAStream, nullptr,
                                   CREATE_ALWAYS, win::AttributesForRewriting(path.c_str()),
                                   nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string Win32SearchTextMapper::Map(const std::string& text) {
  constexpr DWORD kFlags = LCMAP_UPPERCASE | LCMAP_KATAKANA | LCMAP_FULLWIDTH;  // 0xA00200
  if (text.empty() || text.size() > 0x3FFFFFFF) return text;
  const int length = static_cast<int>(text.size());
  // Full width takes at most two bytes for each one: one call mostly does.
  std::string mapped(text.size() * 2 + 2, '\0');
  int made = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, mapped.data(),
                          static_cast<int>(mapped.size()));
  if (made <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    const int needed = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, nullptr, 0);
    if (needed <= 0) return text;
    mapped.assign(static_cast<std::size_t>(needed), '\0');
    made = LCMapStringA(LOCALE_USER_DEFAULT, kFlags, text.data(), length, mapped.data(), needed);
  }
  if (made <= 0) return text;
  mapped.resize(static_cast<std::size_t>(made));
  return mapped;
}

void Win32SearchFiles::ListFolder(const std::string& folder,
                                  const std::function<bool(const SearchEntry&)>& entry) {
  WIN32_FIND_DATAA data;
  win::UniqueFind find(FindFirstFileA((folder + "*.*").c_str(), &data));
  if (!find) return;
  SearchEntry current;
  do {
    current.name = data.cFileName;
    current.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    current.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    if (!entry(current)) return;
  } while (FindNextFileA(find.get(), &data));
}

}  // namespace kx::hostkit

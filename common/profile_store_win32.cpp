#include "common/profile_store_win32.h"

#include <windows.h>

#include <vector>

#include "common/text.h"

namespace kx {

std::string Win32ProfileStore::ReadString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& fallback,
                                          std::size_t buffer_size) {
  if (buffer_size == 0) return std::string();
  std::vector<char> buffer(buffer_size, '\0');
  // The platform cuts a long value on a character boundary and may report
  // the cut length past its terminator: the text ends at the first zero byte.
  GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                           static_cast<DWORD>(buffer.size()), file.c_str());
  return std::string(buffer.data());
}

int Win32ProfileStore::ReadInt(const std::string& file, const std::string& section,
                               const std::string& key, int fallback) {
  // Read as text so that a negative value (a window handle with its top bit
  // set) comes back with its sign, and a missing key gives the fallback.
  constexpr char kMissing[] = "\x01";
  const std::string text = ReadString(file, section, key, kMissing, 64);
  if (text == kMissing) return fallback;
  return DecimalOr(text, fallback);
}

bool Win32ProfileStore::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

std::string Win32ProfileStore::ReadSection(const std::string& file, const std::string& section,
                                           std::size_t buffer_size) {
  if (buffer_size < 2) return std::string();
  std::vector<char> buffer(buffer_size, '\0');
  const DWORD length = GetPrivateProfileSectionA(section.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), file.c_str());
  return std::string(buffer.data(), length);
}

}  // namespace kx

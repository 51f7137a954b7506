// Windows-style INI files ("private profiles"): sections in brackets, one
// key=value entry per line, ANSI text.
#pragma once

#include <cstddef>
#include <string>

namespace kx {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The value of `key`, or `fallback` when the file, section or key is
  // missing; at most `buffer_size` - 1 bytes, as a buffer of that size holds.
  virtual std::string ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& fallback,
                                 std::size_t buffer_size) = 0;
  // The value of `key` as a signed decimal integer, or `fallback` when the
  // key is missing or its value is empty or not such a number.
  virtual int ReadInt(const std::string& file, const std::string& section, const std::string& key,
                      int fallback) = 0;
  virtual bool WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
  // The entries of `section` as the platform returns them: "key=value"
  // strings, each ended by a zero byte, within a buffer of `buffer_size`
  // bytes. Empty when the section is missing or empty.
  virtual std::string ReadSection(const std::string& file, const std::string& section,
                                  std::size_t buffer_size) = 0;
};

}  // namespace kx

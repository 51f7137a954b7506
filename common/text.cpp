#include "common/text.h"

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kx {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result;
  if (needed > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    result.assign(buffer.data(), static_cast<std::size_t>(needed));
  }
  va_end(args);
  return result;
}

std::size_t FindText(const std::string& text, const std::string& needle) {
  if (needle.size() > text.size()) return std::string::npos;
  for (std::size_t i = 0; i + needle.size() <= text.size();) {
    if (text.compare(i, needle.size(), needle) == 0) return i;
    const bool pair = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    i += pair ? 2 : 1;
  }
  return std::string::npos;
}

std::string CutText(const std::string& text, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const bool pair = IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size();
    const std::size_t next = end + (pair ? 2 : 1);
    if (next > max_bytes) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  for (std::size_t pos = text.find(from); pos != std::string::npos;
       pos = text.find(from, pos + to.size())) {
    text.replace(pos, from.size(), to);
  }
  return text;
}

std::string TrimBlanks(const std::string& text) {
  const char* blanks = " \t";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

int LeadingNumber(const std::string& text) { return std::atoi(text.c_str()); }

int DecimalOr(const std::string& text, int fallback) {
  const std::string number = TrimBlanks(text);
  if (number.empty()) return fallback;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(number.c_str(), &end, 10);
  if (errno != 0 || end != number.c_str() + number.size() || value < INT32_MIN ||
      value > INT32_MAX) {
    return fallback;
  }
  return static_cast<int>(value);
}

std::size_t LastBackslash(const std::string& path) {
  std::size_t found = std::string::npos;
  for (std::size_t i = 0; i < path.size();) {
    if (path[i] == '\\') found = i;
    const bool pair = IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size();
    i += pair ? 2 : 1;
  }
  return found;
}

bool EndsWithBackslash(const std::string& path) {
  return !path.empty() && LastBackslash(path) == path.size() - 1;
}

std::string WithTrailingBackslash(std::string path) {
  if (!EndsWithBackslash(path)) path += '\\';
  return path;
}

}  // namespace kx

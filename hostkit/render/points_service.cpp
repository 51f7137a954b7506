#include "hostkit/render/points_service.h"

#include <cstring>
#include <limits>

#include "common/text.h"

namespace kx::hostkit {

std::array<char, kLoginBytes> LoginBuffer(const std::string& login) {
  std::array<char, kLoginBytes> buffer{};
  const std::string text = CutText(login.substr(0, login.find('\0')), kLoginBytes - 1);
  std::memcpy(buffer.data(), text.data(), text.size());
  return buffer;
}

std::string BufferText(const char* buffer, std::size_t size) {
  const void* end = std::memchr(buffer, '\0', size);
  return std::string(buffer, end ? static_cast<const char*>(end) - buffer : size);
}

std::optional<int> ParseInteger(const std::string& text) {
  const std::string t = TrimBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i == t.size()) return std::nullopt;
  long long value = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
    value = value * 10 + (t[i] - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

}  // namespace kx::hostkit

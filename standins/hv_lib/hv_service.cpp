#include "standins/hv_lib/hv_service.h"

#include <cstring>

#include "common/text.h"

namespace kx::hv {

std::optional<std::string> LoginText(const std::string& text) {
  if (text.rfind("refuse", 0) == 0) return std::nullopt;
  std::string name = text.empty() ? "guest" : text;
  long count = 0;
  const std::size_t separator = name.rfind(';');
  if (separator != std::string::npos) {
    const std::string digits = name.substr(separator + 1);
    if (!digits.empty() && digits.size() < 9 &&
        digits.find_first_not_of("0123456789") == std::string::npos) {
      count = std::stol(digits);
      name.resize(separator);
    }
  }
  const std::string suffix = ";" + std::to_string(count + 1);
  return CutText(name, kTextBytes - 1 - suffix.size()) + suffix;
}

std::optional<std::int32_t> PointsFor(std::int32_t pixels) {
  if (pixels < 0) return std::nullopt;
  return pixels / kPixelsPerPoint + (pixels % kPixelsPerPoint != 0 ? 1 : 0);
}

std::string PointsText(std::int32_t points) {
  return Format("残り: %d ポイント\r\n今回: %d ポイント", kBalance, points);
}

void CopyToBuffer(const std::string& text, char* buffer, std::size_t size) {
  if (size == 0) return;
  const std::size_t length = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace kx::hv

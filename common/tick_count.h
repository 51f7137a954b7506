// The system's 32-bit millisecond tick count, carried on past its wrap after
// 49.7 days into a 64-bit count.
#pragma once

#include <cstdint>

namespace kx {

// The 64-bit count for a reading `now` of the 32-bit one, given the last
// 64-bit count: its high half counts the wraps seen. A wrap is seen as long
// as readings come at least once every 49.7 days.
constexpr std::uint64_t ExtendTickCount(std::uint64_t last, std::uint32_t now) noexcept {
  std::uint64_t wraps = last >> 32;
  if (now < static_cast<std::uint32_t>(last)) ++wraps;
  return (wraps << 32) | now;
}

}  // namespace kx

// The outside render-points service, as the dialogs use it in service mode:
// a login, and the points text for a number of pixels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kx::hostkit {

inline constexpr std::size_t kLoginBytes = 256;
inline constexpr std::size_t kPointsTextBytes = 256;
inline constexpr std::size_t kPointsWorkBytes = 128;

class PointsService {
 public:
  virtual ~PointsService() = default;
  // Loads the library and resolves the entry points the dialog needs,
  // once; true when all of them are there.
  virtual bool Load() = 0;
  // The login: true with `login` replaced by the text to keep.
  virtual bool Login(std::string& login) = 0;
  // The points text for `pixels`; none when the service gives none (the
  // display then stays as it was).
  virtual std::optional<std::string> Points(std::int32_t pixels) = 0;
};

// The login text as the service's buffer holds it: cut to fit with its
// terminator, zero-filled behind.
std::array<char, kLoginBytes> LoginBuffer(const std::string& login);
// The text of a buffer the service filled, up to its first zero byte or
// its end.
std::string BufferText(const char* buffer, std::size_t size);

// A number box's text as a 32-bit integer: blanks around an optional sign
// and decimal digits. None for anything else or a number out of range.
std::optional<int> ParseInteger(const std::string& text);

}  // namespace kx::hostkit

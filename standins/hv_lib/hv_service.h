// What the stand-in render-points service answers: the login and the
// points a rendering of some pixels costs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kx::hv {

inline constexpr std::size_t kTextBytes = 256;  // the callers' login and points buffers
inline constexpr std::size_t kWorkBytes = 128;
inline constexpr std::int32_t kBalance = 100000;  // points left on every account
inline constexpr std::int32_t kPixelsPerPoint = 10000;

// The login text to keep after logging in with `text`, none when the
// service refuses it: a text beginning with "refuse". An empty text logs in
// as "guest"; "name" or "name;n" becomes "name;n+1" (the logins counted).
std::optional<std::string> LoginText(const std::string& text);

// Points for `pixels`, a started 10,000 pixels costing one; none for a
// negative count.
std::optional<std::int32_t> PointsFor(std::int32_t pixels);

// "残り: <balance> ポイント\r\n今回: <points> ポイント"
std::string PointsText(std::int32_t points);

// `text` and its terminator into `buffer` of `size` bytes, cut to fit.
void CopyToBuffer(const std::string& text, char* buffer, std::size_t size);

}  // namespace kx::hv

// The entry points of the stand-in render-points service, as the rendering
// dialogs call them. Stand-ins keep the caller's buffer sizes: 256 bytes of
// text, 128-byte work buffers.
#include <windows.h>

#include <cstdint>
#include <string>

#include "standins/hv_lib/hv_service.h"

using namespace kx::hv;

extern "C" {

// Logs in with the text in `in`; non-zero with the text to keep in `out`
// (the callers pass one buffer as both), zero when refused.
std::int32_t WINAPI HV_MRLoginEx(char* in, char* out) noexcept {
  if (in == nullptr || out == nullptr) return 0;
  try {
    const std::string text(in, strnlen(in, kTextBytes - 1));
    const auto kept = LoginText(text);
    if (!kept) return 0;
    CopyToBuffer(*kept, out, kTextBytes);
    return 1;
  } catch (...) {
    return 0;
  }
}

// The points text for a rendering of `pixels` into `text`; 1 when filled.
// The work buffers receive the pixel count and the points, as decimals.
std::int32_t WINAPI HV_MRGetZanPoint(std::int32_t pixels, char* work1, char* work2,
                                     char* text) noexcept {
  if (text == nullptr) return 0;
  try {
    const auto points = PointsFor(pixels);
    if (!points) return 0;
    if (work1 != nullptr) CopyToBuffer(std::to_string(pixels), work1, kWorkBytes);
    if (work2 != nullptr) CopyToBuffer(std::to_string(*points), work2, kWorkBytes);
    CopyToBuffer(PointsText(*points), text, kTextBytes);
    return 1;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"

// The double-byte rule of the process's ANSI code page, the one in which the
// system reads the paths of the ANSI functions.
#pragma once

#include <windows.h>

#include "common/text.h"

namespace kx {

inline bool AnsiLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

// The pair is one character when the system converts it to one.
inline bool AnsiTrailByte(unsigned char lead, unsigned char byte) {
  const char pair[2] = {static_cast<char>(lead), static_cast<char>(byte)};
  wchar_t wide[2] = {};
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) == 1;
}

inline constexpr DoubleByteRule kAnsiCodePage = {AnsiLeadByte, AnsiTrailByte};

}  // namespace kx

// Byte-string helpers for the programs' ANSI text (Shift-JIS, code page 932).
#pragma once

#include <cstddef>
#include <string>

namespace kx {

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True for a byte that begins a double-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True for a byte that may follow a lead byte in code page 932; it may be
// 0x5C ("\") or 0x7C ("|") and is then no separator or bar.
constexpr bool IsTrailByte(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// How the code page that reads a text joins its bytes into characters:
// which bytes begin a double-byte character, and which second bytes
// complete one begun by `lead`. Checks that decide what a path means to the
// file system take the rule of the code page the system reads the path in.
struct DoubleByteRule {
  bool (*lead)(unsigned char byte);
  bool (*trail)(unsigned char lead, unsigned char byte);
};

// Code page 932 (Shift-JIS).
inline constexpr DoubleByteRule kCodePage932 = {
    IsLeadByte, [](unsigned char, unsigned char byte) { return IsTrailByte(byte); }};

// A code page of single bytes only, such as 1252.
inline constexpr DoubleByteRule kSingleByteCodePage = {
    [](unsigned char) { return false; }, [](unsigned char, unsigned char) { return false; }};

// Position of the first occurrence of `needle` in `text` that starts on a
// character boundary, stepping over double-byte characters as units; npos
// when there is none. An empty needle is found at 0.
std::size_t FindText(const std::string& text, const std::string& needle);

inline bool ContainsText(const std::string& text, const std::string& needle) {
  return FindText(text, needle) != std::string::npos;
}

// `text` cut to at most `max_bytes` bytes, never in the middle of a
// double-byte character.
std::string CutText(const std::string& text, std::size_t max_bytes);

// Every occurrence of `from` replaced by `to` (byte-wise, left to right).
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);

// `text` without leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(const std::string& text);

// The leading decimal digits of `text` as a number (0 when there are none),
// as the C library's atoi reads them.
int LeadingNumber(const std::string& text);

// `text` as a signed decimal number of 32 bits, blanks around it allowed;
// `fallback` when it is empty, holds anything else or is out of range. An
// INI value written as "%d" reads back; "" or "abc" is no number, not 0.
int DecimalOr(const std::string& text, int fallback);

// Position of the last backslash character of `path`, npos when there is
// none. A second byte 0x5C of a double-byte character is not a backslash.
std::size_t LastBackslash(const std::string& path);

// True when the last character of `path` is a backslash.
bool EndsWithBackslash(const std::string& path);

// `path` with a trailing backslash, unless it already ends in one (an empty
// path becomes a lone backslash: callers that can have none check first).
std::string WithTrailingBackslash(std::string path);

}  // namespace kx

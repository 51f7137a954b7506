// The small decisions of a download that need no network: the stored file's
// name, the redirection target, texts for status codes and byte counts, and
// the dialog's placement.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"

namespace kx::hostkit {

// Everything behind the last "/" of `url` (read by `code_page`: a second
// byte that equals "/" belongs to its character); kFallbackFileName when
// the address holds no "/", empty when it ends in one.
std::string UrlFileName(std::string_view url, const DoubleByteRule& code_page);

// True when `name` names a file directly inside the target folder: not
// empty, not only dots and blanks (".", ".."), no separator, drive or
// stream colon, characters that Windows refuses in names, nor a device name
// such as "CON" or "NUL.txt". `code_page` is the one the file system reads
// the name in: a second byte "\" is harmless only where it completes a
// double-byte character there.
bool IsSafeFileName(std::string_view name, const DoubleByteRule& code_page);

// The redirection target in a response's CR LF header text: what follows the
// first "Location: " (case-sensitive), cut before the line feed. A carriage
// return before the line feed stays. nullopt when there is no such header.
std::optional<std::string> LocationTarget(std::string_view raw_headers);

// The text shown for the status code of the response that is stored; empty
// for codes that have none.
std::string StatusCodeText(int status);

// "HTTPエラー %d".
std::string HttpErrorText(int status);

// A Content-Length header read as C's atol reads it: blanks, a sign, then
// the leading digits; anything else gives 0. Saturates instead of
// overflowing.
std::int64_t ContentLengthValue(std::string_view text);

// Total bytes as the dialog shows them: the announced length, at least 1
// (none, 0 or a negative number count as 1), at most INT32_MAX.
std::int32_t TotalBytesShown(const std::optional<std::string>& content_length);

// The progress bar position for the counters: received / total * 100,
// truncated, kept within 0..100 (a length that was not announced makes the
// real percentage pass 100).
int ProgressPercent(std::int32_t received, std::int32_t total);

// "ダウンロード中... %d Bytes / %d Bytes".
std::string ByteCountText(std::int32_t received, std::int32_t total);

struct Point {
  int x = 0;
  int y = 0;
};

// Top left of a window of `width` x `height` centred on (x, y), kept on the
// screen's top and left edges.
Point CentredOrigin(int x, int y, int width, int height);

}  // namespace kx::hostkit

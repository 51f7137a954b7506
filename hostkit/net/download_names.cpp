#include "hostkit/net/download_names.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>

#include "common/text.h"
#include "hostkit/net/download_texts.h"

namespace kx::hostkit {

std::string UrlFileName(std::string_view url, const DoubleByteRule& code_page) {
  std::size_t name_start = std::string_view::npos;
  for (std::size_t i = 0; i < url.size(); ++i) {
    const auto c = static_cast<unsigned char>(url[i]);
    if (code_page.lead(c) && i + 1 < url.size() &&
        code_page.trail(c, static_cast<unsigned char>(url[i + 1]))) {
      ++i;  // its second byte is part of the same character
    } else if (c == '/') {
      name_start = i + 1;
    }
  }
  if (name_start == std::string_view::npos) return kFallbackFileName;
  return std::string(url.substr(name_start));
}

namespace {

bool IsDeviceName(std::string_view name) {
  // The device is named by what stands before the first dot, blanks behind
  // it ignored: "nul.q3d" and "COM1 .txt" open devices too.
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
      base == "CONOUT$") {
    return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsSafeFileName(std::string_view name, const DoubleByteRule& code_page) {
  // Windows drops trailing dots and blanks: ".", ".." and " " would name
  // the folder or its parent. Separators are refused below, so ".." inside
  // a name ("a..b.q3d") leads nowhere.
  if (name.find_last_not_of(". ") == std::string_view::npos) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (code_page.lead(c)) {
      // A second byte may equal "\" or "|" and is harmless. A lead byte
      // without a valid second byte is a broken character, and what follows
      // it (it may be "/") would stand on its own once Windows converts it.
      if (i + 1 >= name.size() || !code_page.trail(c, static_cast<unsigned char>(name[i + 1]))) {
        return false;
      }
      ++i;
      continue;
    }
    if (c < 0x20 || c == 0x7F) return false;
    // Separators, drive and stream colons, wildcards and the rest that
    // Windows refuses in a name.
    if (std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
  }
  return !IsDeviceName(name);
}

std::optional<std::string> LocationTarget(std::string_view raw_headers) {
  static constexpr std::string_view kLocation = "Location: ";
  const std::size_t found = raw_headers.find(kLocation);
  if (found == std::string_view::npos) return std::nullopt;
  std::string_view target = raw_headers.substr(found + kLocation.size());
  const std::size_t line_feed = target.find('\n');
  if (!target.empty() && line_feed != std::string_view::npos && line_feed > 0) {
    target = target.substr(0, line_feed);
  }
  return std::string(target);
}

std::string StatusCodeText(int status) {
  static constexpr struct {
    int status;
    const char* text;
  } kTexts[] = {
      {200, "ダウンロード開始"}, {201, "Created"},           {202, "Accepted"},
      {204, "No Content"},       {301, "Moved Permanently"}, {302, "Moved Temporarily"},
      {304, "Not Modified"},     {400, "Bad Request"},       {401, "Unauthorized"},
      {403, "Forbidden"},        {404, "ファイル未検出"},    {500, "Internal Server Error"},
      {501, "Not Inplemented"},  {502, "Bad Gateway"},       {503, "Service Unavailable"},
  };
  for (const auto& entry : kTexts) {
    if (entry.status == status) return entry.text;
  }
  return {};
}

std::string HttpErrorText(int status) { return Format(kTextHttpError, status); }

std::int64_t ContentLengthValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    value = value > (INT64_MAX - digit) / 10 ? INT64_MAX : value * 10 + digit;
  }
  return negative ? -value : value;
}

std::int32_t TotalBytesShown(const std::optional<std::string>& content_length) {
  const std::int64_t value = content_length ? ContentLengthValue(*content_length) : 0;
  if (value < 1) return 1;
  return static_cast<std::int32_t>(std::min<std::int64_t>(value, INT32_MAX));
}

int ProgressPercent(std::int32_t received, std::int32_t total) {
  if (total <= 0 || received <= 0) return 0;
  const double percent = static_cast<double>(received) / total * 100.0;
  return percent >= 100.0 ? 100 : static_cast<int>(percent);
}

std::string ByteCountText(std::int32_t received, std::int32_t total) {
  return Format(kTextByteCounts, static_cast<int>(received), static_cast<int>(total));
}

Point CentredOrigin(int x, int y, int width, int height) {
  return {std::max(0, x - width / 2), std::max(0, y - height / 2)};
}

}  // namespace kx::hostkit

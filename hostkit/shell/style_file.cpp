#include "hostkit/shell/style_file.h"

#include <vector>

namespace kx::hostkit {
namespace {

constexpr char kDelimiters[] = ", \n\t/";

// The lines of `text` as a text-mode reader with a 260-byte buffer sees
// them: CR LF is one line end, and a longer line comes in pieces.
std::vector<std::string> ReadPieces(const std::string& text) {
  std::vector<std::string> pieces;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\x1A') break;  // a text-mode reader ends the file here
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    current += c;
    if (c == '\n' || current.size() == kStyleLineBytes) {
      pieces.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) pieces.push_back(std::move(current));
  return pieces;
}

// The next token at or after *at, moving *at behind it; empty when none.
std::string NextToken(const std::string& line, std::size_t* at) {
  const std::size_t begin = line.find_first_not_of(kDelimiters, *at);
  if (begin == std::string::npos) {
    *at = line.size();
    return {};
  }
  std::size_t end = line.find_first_of(kDelimiters, begin);
  if (end == std::string::npos) end = line.size();
  *at = end;
  return line.substr(begin, end - begin);
}

}  // namespace

std::optional<std::string> FindStyleFile(const std::string& text, const std::string& style) {
  for (const std::string& line : ReadPieces(text)) {
    if (line[0] == '/' || line[0] == '#') continue;
    std::size_t at = 0;
    const std::string name = NextToken(line, &at);
    if (name.empty() || name != style) continue;
    std::string file = NextToken(line, &at);
    if (file.empty()) return std::nullopt;
    return file;
  }
  return std::nullopt;
}

}  // namespace kx::hostkit

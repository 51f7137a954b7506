#include "hostkit/shell/search_words.h"

#include <cctype>

#include "common/text.h"
#include "hostkit/shell/search_history.h"

namespace kx::hostkit {

std::string NormaliseSearchText(SearchTextMapper& mapper, const std::string& text) {
  const std::string mapped = mapper.Map(text);
  std::string blanked;
  blanked.reserve(mapped.size());
  // Character by character: the bytes 81 40 may also stand in the middle of
  // two double-byte characters.
  for (std::size_t i = 0; i < mapped.size();) {
    const bool pair = IsLeadByte(static_cast<unsigned char>(mapped[i])) && i + 1 < mapped.size();
    if (pair && mapped.compare(i, 2, kFullWidthBlank) == 0) {
      blanked += ' ';
    } else {
      blanked.append(mapped, i, pair ? 2 : 1);
    }
    i += pair ? 2 : 1;
  }
  return TrimWhiteSpace(blanked);
}

std::vector<std::string> SplitSearchTokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find_first_of(" \t", at);
    if (end == std::string::npos) end = text.size();
    std::string token = TrimWhiteSpace(text.substr(at, end - at));
    if (!token.empty()) tokens.push_back(std::move(token));
    at = end + 1;
  }
  return tokens;
}

std::vector<std::string> SearchKeywords(SearchTextMapper& mapper, const std::string& text) {
  return SplitSearchTokens(NormaliseSearchText(mapper, text));
}

bool MatchesKeywords(SearchTextMapper& mapper, const std::string& text,
                     const std::vector<std::string>& keywords) {
  if (text.empty() || keywords.empty()) return false;
  const std::string normal = NormaliseSearchText(mapper, text);
  for (const std::string& keyword : keywords) {
    if (!ContainsText(normal, keyword)) return false;
  }
  return true;
}

bool EndsWithNoCase(const std::string& name, const std::string& ending) {
  if (ending.size() > name.size()) return false;
  const std::size_t start = name.size() - ending.size();
  for (std::size_t i = 0; i < ending.size(); ++i) {
    const auto a = static_cast<unsigned char>(name[start + i]);
    const auto b = static_cast<unsigned char>(ending[i]);
    if (a != b && (a >= 0x80 || b >= 0x80 || std::tolower(a) != std::tolower(b))) return false;
  }
  return true;
}

}  // namespace kx::hostkit

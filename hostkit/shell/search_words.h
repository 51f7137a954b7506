// How the parts search compares words: texts are brought to one form
// (upper case, full width, katakana) before a keyword is looked for in them.
#pragma once

#include <string>
#include <vector>

namespace kx::hostkit {

// The system's mapping of a text to upper-case, full-width katakana form, in
// the user's locale.
class SearchTextMapper {
 public:
  virtual ~SearchTextMapper() = default;
  // The mapped text; the text itself when the system cannot map it.
  virtual std::string Map(const std::string& text) = 0;
};

// The full-width blank of code page 932.
inline constexpr char kFullWidthBlank[] = "\x81\x40";

// `text` mapped, its full-width blanks made plain blanks, trimmed of white
// space at both ends.
std::string NormaliseSearchText(SearchTextMapper& mapper, const std::string& text);

// The non-empty pieces of `text` between blanks and tabs, in order.
std::vector<std::string> SplitSearchTokens(const std::string& text);

// The keywords of the caller's text: normalised, then split.
std::vector<std::string> SearchKeywords(SearchTextMapper& mapper, const std::string& text);

// True when every keyword occurs in the normalised `text`. An empty text or
// an empty keyword list matches nothing.
bool MatchesKeywords(SearchTextMapper& mapper, const std::string& text,
                     const std::vector<std::string>& keywords);

// True when `name` ends in `ending`, letters compared without case.
bool EndsWithNoCase(const std::string& name, const std::string& ending);

}  // namespace kx::hostkit

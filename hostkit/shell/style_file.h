// The style list "stylewith.mwm": which file belongs to a style name.
#pragma once

#include <optional>
#include <string>

namespace kx::hostkit {

inline constexpr char kStyleListName[] = "stylewith.mwm";

// Lines are read in pieces of at most this many bytes; each piece counts as
// a line of its own.
inline constexpr std::size_t kStyleLineBytes = 259;

// The file name that the style list `text` (the file's bytes) gives for
// `style`: the second token of the first line whose first token is `style`.
// Tokens are separated by runs of ", \n\t/"; lines beginning with "/" or "#"
// are comments. None when no line names the style, or when the first one
// that does has no second token.
std::optional<std::string> FindStyleFile(const std::string& text, const std::string& style);

}  // namespace kx::hostkit

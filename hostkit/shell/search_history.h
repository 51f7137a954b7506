// The history of search texts the user entered, newest first, kept in the
// registry under the host application's key.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/registry.h"

namespace kx::hostkit {

inline constexpr char kSearchHistoryKey[] = "Software\\HALVANE\\3D Domirel Designer VEK 4\\Search";
inline constexpr std::size_t kSearchHistoryEntries = 25;
// A stored value longer than this, terminator included, is skipped.
inline constexpr std::size_t kSearchHistoryValueBytes = 260;

// `text` without white space at either end.
std::string TrimWhiteSpace(const std::string& text);
// `text` without white space at its start.
std::string TrimLeadingWhiteSpace(const std::string& text);

class SearchHistory {
 public:
  const std::vector<std::string>& entries() const { return entries_; }

  // Reads HISTORY00 ... HISTORY24; values that are missing or too long are
  // passed over. A missing key leaves the history empty.
  void Load(Registry& registry);
  // Writes the entries as HISTORY00, HISTORY01, ...; values beyond them
  // stay as they are. False when the key or a value cannot be written.
  [[nodiscard]] bool Save(Registry& registry) const;

  // `text`, trimmed, becomes the newest entry; an earlier equal entry goes
  // and the list keeps kSearchHistoryEntries at most. Nothing changes for a
  // text that trims to nothing; false then.
  bool Add(const std::string& text);

 private:
  std::vector<std::string> entries_;
};

}  // namespace kx::hostkit

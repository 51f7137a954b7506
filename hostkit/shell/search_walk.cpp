#include "hostkit/shell/search_walk.h"

#include <algorithm>

namespace kx::hostkit {

void SearchRun::Run() {
  SearchFolder(request_.root);
  if (!cancelled()) listener_.Done();
}

bool SearchRun::ShouldStop() const { return hit_count_.load() >= kSearchHitLimit || cancelled(); }

void SearchRun::SearchFolder(const std::string& folder) {
  files_.ListFolder(folder, [&](const SearchEntry& entry) {
    // Nothing is reported before the first file has been looked at. The
    // stop is tested at every entry: the dialog waits for this thread on
    // Cancel, and a tree without any wanted file must not hold it until
    // the walk ends. A stop ends this folder, and the enclosing ones at
    // their next entry.
    if (files_examined_.load() > 0 && !progress_pending_.exchange(true)) listener_.Progress();
    if (ShouldStop()) return false;
    if (entry.hidden) return true;
    if (entry.directory) {
      if (entry.name != "." && entry.name != "..") SearchFolder(folder + entry.name + "\\");
      return true;
    }
    const bool wanted =
        std::any_of(request_.extensions.begin(), request_.extensions.end(),
                    [&](const std::string& ending) { return EndsWithNoCase(entry.name, ending); });
    if (!wanted) return true;
    files_examined_.fetch_add(1);
    if (IsHit(folder, entry.name)) {
      hits_.push_back(folder + entry.name);
      hit_count_.fetch_add(1);
    }
    return true;
  });
}

bool SearchRun::IsHit(const std::string& folder, const std::string& name) {
  if (MatchesKeywords(mapper_, name, request_.keywords)) return true;
  if (!EndsWithNoCase(name, "q3d")) return false;
  std::string first, second;
  if (!attributes_.Read(folder + name, &first, &second)) return false;
  return MatchesKeywords(mapper_, first, request_.keywords) ||
         MatchesKeywords(mapper_, second, request_.keywords);
}

int SearchProgressPosition(std::int32_t examined, std::int32_t expected) {
  const double whole = expected > 0 ? expected : 1;
  const double position = static_cast<double>(examined) / whole * 100.0;
  return static_cast<int>(std::clamp(position, 0.0, 100.0));
}

std::string SearchResultText(const std::string& keywords_text, const std::vector<std::string>& hits,
                             const std::string& line_end) {
  std::string text = "#" + keywords_text + line_end;
  for (const std::string& hit : hits) text += hit + line_end;
  return text;
}

DialogOrigin PlaceAboveAnchor(int x, int y, int width, int height) {
  return {std::max(0, x - width / 2), std::max(0, y - height)};
}

}  // namespace kx::hostkit

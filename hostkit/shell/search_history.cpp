#include "hostkit/shell/search_history.h"

#include "common/text.h"

namespace kx::hostkit {
namespace {

// The characters the C library's isspace() takes in the "C" locale; none of
// them can be the second byte of a double-byte character.
constexpr char kWhiteSpace[] = " \t\n\v\f\r";

std::string ValueName(std::size_t index) { return Format("HISTORY%02d", static_cast<int>(index)); }

}  // namespace

std::string TrimWhiteSpace(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(kWhiteSpace);
  return text.substr(first, last - first + 1);
}

std::string TrimLeadingWhiteSpace(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  return first == std::string::npos ? std::string() : text.substr(first);
}

void SearchHistory::Load(Registry& registry) {
  entries_.clear();
  const auto key =
      registry.OpenKey(RegistryRoot::kCurrentUser, kSearchHistoryKey, RegistryAccess::kRead);
  if (!key) return;
  for (std::size_t i = 0; i < kSearchHistoryEntries; ++i) {
    std::optional<std::string> value = key->QueryString(ValueName(i));
    if (value && value->size() < kSearchHistoryValueBytes) entries_.push_back(std::move(*value));
  }
}

bool SearchHistory::Save(Registry& registry) const {
  const auto key =
      registry.CreateKey(RegistryRoot::kCurrentUser, kSearchHistoryKey, "", RegistryAccess::kAll);
  if (!key) return false;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (!key->SetString(ValueName(i), entries_[i])) return false;
  }
  return true;
}

bool SearchHistory::Add(const std::string& text) {
  const std::string entry = TrimWhiteSpace(text);
  if (entry.empty()) return false;
  entries_.insert(entries_.begin(), entry);
  for (std::size_t i = 1; i < entries_.size(); ++i) {
    if (entries_[i] == entry) {
      entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  if (entries_.size() > kSearchHistoryEntries) entries_.resize(kSearchHistoryEntries);
  return true;
}

}  // namespace kx::hostkit

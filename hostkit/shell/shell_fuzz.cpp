// Bytes from outside into the shell utilities and the search: style lists,
// registered commands and documents, search texts, and what a model file
// holds behind its body. Each must give its defined result, never overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hostkit/shell/search_history.h"
#include "hostkit/shell/search_walk.h"
#include "hostkit/shell/shell_command.h"
#include "hostkit/shell/style_file.h"
#include "standins/kx3d/file_attribute.h"

namespace {

using namespace kx::hostkit;

class Identity final : public SearchTextMapper {
 public:
  std::string Map(const std::string& text) override { return text; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // The first line is the second input of each pair.
  const std::size_t cut = bytes.find('\n');
  const std::string first = bytes.substr(0, cut);
  const std::string rest = cut == std::string::npos ? std::string() : bytes.substr(cut + 1);

  if (const auto file = FindStyleFile(rest, first)) {
    if (file->empty() || file->size() > kStyleLineBytes) std::abort();
  }
  if (const auto line = PlaceDocument(rest, first)) {
    if (line->size() + 1 > kCommandBufferBytes) std::abort();
  }

  Identity mapper;
  const auto keywords = SearchKeywords(mapper, bytes);
  for (const std::string& keyword : keywords) {
    if (keyword.empty() || keyword.find_first_of(" \t") != std::string::npos) std::abort();
  }
  (void)MatchesKeywords(mapper, rest, keywords);
  SearchHistory history;
  for (int i = 0; i < 30; ++i) history.Add(first + std::to_string(i % 27));
  if (history.entries().size() > kSearchHistoryEntries) std::abort();

  kx::kx3d::FileAttributes attributes;
  auto read_at = [&](std::uint64_t offset, std::size_t length) -> std::optional<std::string> {
    if (offset >= bytes.size()) return std::string();
    return bytes.substr(static_cast<std::size_t>(offset), length);
  };
  if (kx::kx3d::ReadFileAttributes(read_at, &attributes) == kx::kx3d::kAttributesRead) {
    if (attributes.name.size() > kx::kx3d::kMaxAttributeText ||
        attributes.description.size() > kx::kx3d::kMaxAttributeText) {
      std::abort();
    }
  }
  return 0;
}

#include "hostkit/gfxcaps/chip_lists.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "common/text.h"

namespace kx::hostkit {

namespace {

constexpr char kFileName[] = "glspec.ini";
constexpr char kChipTypeKey[] = "ChipType";

// The section buffer is the file's size, so that the whole section fits,
// but never smaller than the platform's customary 1024 bytes, nor larger
// than the platform can be asked for.
constexpr std::uint64_t kMinSectionBuffer = 1024;
constexpr std::uint64_t kMaxSectionBuffer = 0x7FFFFFFF;

}  // namespace

std::vector<std::string> ChipTypeValues(const std::string& section_text) {
  std::vector<std::string> values;
  std::size_t start = 0;
  while (start < section_text.size()) {
    std::size_t end = section_text.find('\0', start);
    if (end == std::string::npos) end = section_text.size();
    const std::string entry = section_text.substr(start, end - start);
    const std::size_t equals = entry.find('=');
    if (equals != std::string::npos && ContainsText(entry.substr(0, equals), kChipTypeKey)) {
      values.push_back(entry.substr(equals + 1));
    }
    start = end + 1;
  }
  return values;
}

ChipLists::ChipLists(ProfileStore& profiles, FileSystem& files, std::string folder)
    : profiles_(profiles), files_(files), folder_(std::move(folder)) {}

bool ChipLists::Lists(const std::string& chip, const char* section) {
  if (chip.empty() || folder_.empty()) return false;
  const std::string path = folder_ + kFileName;
  const std::optional<std::uint64_t> size = files_.FileSize(path);
  if (!size) return false;
  const std::uint64_t buffer = std::clamp(*size, kMinSectionBuffer, kMaxSectionBuffer);
  std::string text;
  try {
    text = profiles_.ReadSection(path, section, static_cast<std::size_t>(buffer));
  } catch (const std::bad_alloc&) {
    return false;  // a file too large to read lists nothing
  }
  if (text.empty()) return false;
  for (const std::string& value : ChipTypeValues(text)) {
    if (ContainsText(chip, value)) return true;
  }
  return false;
}

}  // namespace kx::hostkit

#include "hostkit/render/multi_view_rules.h"

#include <algorithm>
#include <limits>

#include "common/text.h"

namespace kx::hostkit {

int ScrollMaximum(int entry_count) { return std::max(0, entry_count - kVisibleRows); }

int ScrollTo(int offset, ScrollCode code, int thumb_position, int entry_count) {
  const long long page = entry_count / 3;
  long long position = offset;
  switch (code) {
    case ScrollCode::kLineUp:
      position -= 1;
      break;
    case ScrollCode::kLineDown:
      position += 1;
      break;
    case ScrollCode::kPageUp:
      position -= page;
      break;
    case ScrollCode::kPageDown:
      position += page;
      break;
    case ScrollCode::kThumb:
      position = thumb_position;
      break;
    case ScrollCode::kOther:
      break;
  }
  return static_cast<int>(std::clamp<long long>(position, 0, ScrollMaximum(entry_count)));
}

GridLines GridFor(int frame_height) {
  GridLines grid;
  for (int y = 30; y < frame_height; y += 20) grid.horizontal_y.push_back(y);
  grid.vertical_x = {50, 100};
  return grid;
}

std::string WithoutTrailingBackslash(const std::string& path) {
  if (!EndsWithBackslash(path)) return path;
  return path.substr(0, path.size() - 1);
}

std::string OutputPath(const std::string& folder, const std::string& file_name,
                       const std::string& extension) {
  return folder + "\\" + file_name + "." + extension;
}

bool CreateFolderPath(FolderSystem& folders, const std::string& path) {
  const std::string full = WithoutTrailingBackslash(path);
  // Backslash positions, stepping over double-byte characters.
  std::vector<std::size_t> separators;
  for (std::size_t i = 0; i < full.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(full[i])) && i + 1 < full.size()) {
      ++i;
      continue;
    }
    if (full[i] == '\\') separators.push_back(i);
  }
  // Every level between the first backslash and the last one; the drive
  // ("C:") before the first is not a folder to create.
  for (std::size_t k = 1; k < separators.size(); ++k) {
    const std::string level = full.substr(0, separators[k]);
    if (!folders.IsFolder(level) && !folders.CreateFolder(level)) return false;
  }
  return folders.CreateFolder(full);
}

std::int32_t PixelCount(int width, int height, int count) {
  const long long w = std::clamp(width, 0, 1 << 20);
  const long long h = std::clamp(height, 0, 1 << 20);
  const long long pixels = w * h * std::clamp(count, 0, 1 << 20);
  if (pixels > std::numeric_limits<std::int32_t>::max()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(pixels);
}

}  // namespace kx::hostkit

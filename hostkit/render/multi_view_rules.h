// The rules of the multi-view dialog that do not need a window: scrolling
// its six rows, the grid behind them, the output paths and the creation of
// the destination folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx::hostkit {

inline constexpr int kVisibleRows = 6;

// The folder questions of the destination folder.
class FolderSystem {
 public:
  virtual ~FolderSystem() = default;
  virtual bool Exists(const std::string& path) = 0;  // a file or a folder
  virtual bool IsFolder(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;  // one level
};

enum class ScrollCode { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kOther };

// Highest scroll offset: the last six entries in the rows.
int ScrollMaximum(int entry_count);
// The offset after a scroll-bar event, clamped to 0 … count − 6.
int ScrollTo(int offset, ScrollCode code, int thumb_position, int entry_count);

// Grid behind the rows, in the frame's client pixels.
struct GridLines {
  std::vector<int> horizontal_y;  // across the whole width
  std::vector<int> vertical_x;    // over the whole height
};
GridLines GridFor(int frame_height);

// `path` without one trailing backslash (a 0x5C second byte of a
// double-byte character is not one).
std::string WithoutTrailingBackslash(const std::string& path);

// folder \ file name . extension
std::string OutputPath(const std::string& folder, const std::string& file_name,
                       const std::string& extension);

// Creates `path` and the folders above it that are missing. True when the
// last level was created.
[[nodiscard]] bool CreateFolderPath(FolderSystem& folders, const std::string& path);

// The points asked for `count` pictures of width × height, kept within 32 bits.
std::int32_t PixelCount(int width, int height, int count = 1);

}  // namespace kx::hostkit

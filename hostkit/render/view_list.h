// The view list file: an INI file the host writes with its saved views and
// reads back to know which views to render, with which roof display, and
// where to save the pictures.
//
//   [RenderView]  number, mode, savePath, type
//   [View<i>]     index, viewname, filename, renderOn, roofOn
#pragma once

#include <string>
#include <vector>

#include "common/profile_store.h"

namespace kx::hostkit {

// Views beyond this many are not read: a damaged "number" must not keep the
// dialog reading sections for ever.
inline constexpr int kMaxViews = 10000;
// Texts of the file are read through buffers of this size.
inline constexpr std::size_t kViewTextBytes = 256;

struct RenderView {
  int index = 0;
  std::string name;
};

struct MultiViewEntry {
  int index = 0;
  std::string view_name;
  std::string file_name;
  bool render = false;
  bool roof = false;
};

struct MultiViewList {
  std::string save_path;
  std::vector<MultiViewEntry> entries;
};

std::string ViewSection(int position);

// The views as the settings dialog lists them; none for an empty path.
std::vector<RenderView> ReadRenderViews(ProfileStore& store, const std::string& file);

// The settings dialog's choice: "renderOn" 1 for the selected view only,
// "roofOn" 0 when the roof is hidden, then "mode".
void WriteRenderChoice(ProfileStore& store, const std::string& file, int view_count, int selected,
                       bool roof_hidden, const std::string& mode);

// The views as the multi-view dialog lists them; an entry without a view
// name keeps everything empty or off.
MultiViewList ReadMultiViewList(ProfileStore& store, const std::string& file);

// "savePath", every entry's "renderOn" and "roofOn", "mode" 2 and "type".
void WriteMultiViewChoice(ProfileStore& store, const std::string& file, const std::string& folder,
                          const std::vector<MultiViewEntry>& entries, const std::string& extension);

// "type": 0 for bitmaps (any case of "bmp"), 1 otherwise.
std::string FileTypeValue(const std::string& extension);

}  // namespace kx::hostkit

#include "hostkit/render/view_list.h"

#include <algorithm>

#include "common/text.h"

namespace kx::hostkit {
namespace {

constexpr const char* kListSection = "RenderView";
constexpr const char* kNoData = "_no_data_";

int ViewCount(ProfileStore& store, const std::string& file) {
  return std::clamp(store.ReadInt(file, kListSection, "number", 0), 0, kMaxViews);
}

// A text whose "_no_data_" stands for empty.
std::string ReadName(ProfileStore& store, const std::string& file, const std::string& section,
                     const char* key) {
  std::string text = store.ReadString(file, section, key, kNoData, kViewTextBytes);
  return text == kNoData ? std::string() : text;
}

const char* Flag(bool on) { return on ? "1" : "0"; }

bool IsBmp(const std::string& extension) {
  if (extension.size() != 3) return false;
  std::string lower = extension;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower == "bmp";
}

}  // namespace

std::string ViewSection(int position) { return Format("View%d", position); }

std::vector<RenderView> ReadRenderViews(ProfileStore& store, const std::string& file) {
  std::vector<RenderView> views;
  if (file.empty()) return views;
  const int count = ViewCount(store, file);
  for (int i = 0; i < count; ++i) {
    const std::string section = ViewSection(i);
    RenderView view;
    view.index = store.ReadInt(file, section, "index", 0);
    view.name = ReadName(store, file, section, "viewname");
    views.push_back(std::move(view));
  }
  return views;
}

void WriteRenderChoice(ProfileStore& store, const std::string& file, int view_count, int selected,
                       bool roof_hidden, const std::string& mode) {
  if (file.empty()) return;
  for (int i = 0; i < view_count; ++i) {
    const std::string section = ViewSection(i);
    store.WriteString(file, section, "renderOn", Flag(i == selected));
    store.WriteString(file, section, "roofOn", Flag(!roof_hidden));
  }
  store.WriteString(file, kListSection, "mode", mode);
}

MultiViewList ReadMultiViewList(ProfileStore& store, const std::string& file) {
  MultiViewList list;
  if (file.empty()) return list;
  list.save_path = store.ReadString(file, kListSection, "savePath", "", kViewTextBytes);
  const int count = ViewCount(store, file);
  for (int i = 0; i < count; ++i) {
    const std::string section = ViewSection(i);
    MultiViewEntry entry;
    entry.view_name = ReadName(store, file, section, "viewname");
    if (!entry.view_name.empty()) {
      entry.index = store.ReadInt(file, section, "index", 0);
      entry.roof = store.ReadInt(file, section, "roofOn", 0) == 1;
      entry.render = store.ReadInt(file, section, "renderOn", 0) == 1;
      entry.file_name = ReadName(store, file, section, "filename");
    }
    list.entries.push_back(std::move(entry));
  }
  return list;
}

void WriteMultiViewChoice(ProfileStore& store, const std::string& file, const std::string& folder,
                          const std::vector<MultiViewEntry>& entries,
                          const std::string& extension) {
  if (file.empty()) return;
  store.WriteString(file, kListSection, "savePath", folder);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string section = ViewSection(static_cast<int>(i));
    store.WriteString(file, section, "renderOn", Flag(entries[i].render));
    store.WriteString(file, section, "roofOn", Flag(entries[i].roof));
  }
  store.WriteString(file, kListSection, "mode", "2");
  store.WriteString(file, kListSection, "type", FileTypeValue(extension));
}

std::string FileTypeValue(const std::string& extension) { return IsBmp(extension) ? "0" : "1"; }

}  // namespace kx::hostkit

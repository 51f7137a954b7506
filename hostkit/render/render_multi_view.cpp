#include "hostkit/render/render_multi_view.h"

#include <algorithm>

#include "hostkit/render/render_resource.h"

namespace kx::hostkit {
namespace {

constexpr const char* kConfirmCaption = "確認";
constexpr const char* kBmpItem = "ビットマップ(*.bmp)";
constexpr const char* kJpegItem = "JPEG(*.jpg)";

}  // namespace

RenderMultiView::RenderMultiView(RenderMultiViewServices services, RenderMultiViewArgs args)
    : s_(services), args_(std::move(args)) {}

void RenderMultiView::OnInitDialog() {
  DialogView& v = s_.view;
  v.ClearCombo(IDC_MULTI_FILE_TYPE);
  v.AddComboItem(IDC_MULTI_FILE_TYPE, kBmpItem, 0);
  // The render-points service delivers bitmaps only.
  if (!args_.service_mode) {
    v.AddComboItem(IDC_MULTI_FILE_TYPE, kJpegItem, 1);
    ApplyLocalLayout();
  }

  MultiViewList list = ReadMultiViewList(s_.profiles, args_.view_list_path);
  entries_ = std::move(list.entries);
  offset_ = 0;
  folder_ = WithoutTrailingBackslash(
      s_.registry.ReadString(DirectoriesKeyPath(args_.key_path), "ImageDir")
          .value_or(list.save_path));

  const int count = static_cast<int>(entries_.size());
  if (count <= kVisibleRows) {
    for (int row = count; row < kVisibleRows; ++row) {
      v.ShowControl(IDC_MULTI_RENDER_FIRST + row, false);
      v.ShowControl(IDC_MULTI_ROOF_FIRST + row, false);
      v.ShowControl(IDC_MULTI_NAME_FIRST + row, false);
    }
    v.ShowControl(IDC_MULTI_SCROLL, false);
  } else {
    v.SetScrollRange(IDC_MULTI_SCROLL, 0, ScrollMaximum(count));
    v.SetScrollPosition(IDC_MULTI_SCROLL, 0);
  }
  ShowRows();
  v.SelectComboItem(IDC_MULTI_FILE_TYPE, 0);
  v.SetText(IDC_MULTI_FOLDER, folder_);
  // The points text appears with the first change after opening.
  if (args_.service_mode && s_.points != nullptr) points_ready_ = s_.points->Load();
}

void RenderMultiView::ApplyLocalLayout() {
  DialogView& v = s_.view;
  const int group = v.ControlHeight(IDC_RENDER_POINTS_GROUP);
  v.ShowControl(IDC_RENDER_POINTS_TEXT, false);
  v.ShowControl(IDC_RENDER_POINTS_GROUP, false);
  for (int id : {IDC_MULTI_BACK, IDC_RENDER_START, 2}) v.MoveControlUp(id, group);
  v.ShrinkWindow(group);
}

int RenderMultiView::EntryOfRow(int row) const {
  const int entry = offset_ + row;
  if (row < 0 || row >= kVisibleRows || entry >= static_cast<int>(entries_.size())) return -1;
  return entry;
}

void RenderMultiView::ShowRows() {
  DialogView& v = s_.view;
  const int rows = std::min(static_cast<int>(entries_.size()), kVisibleRows);
  for (int row = 0; row < rows; ++row) {
    const MultiViewEntry& e = entries_[static_cast<std::size_t>(offset_ + row)];
    v.SetChecked(IDC_MULTI_RENDER_FIRST + row, e.render);
    v.SetChecked(IDC_MULTI_ROOF_FIRST + row, e.roof);
    v.SetText(IDC_MULTI_NAME_FIRST + row, e.view_name);
    v.EnableControl(IDC_MULTI_ROOF_FIRST + row, e.render);
    v.EnableControl(IDC_MULTI_NAME_FIRST + row, e.render);
  }
  RefreshPoints();
}

int RenderMultiView::TickedCount() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [](const MultiViewEntry& e) { return e.render; }));
}

void RenderMultiView::RefreshPoints() {
  if (!points_ready_) return;
  const auto text =
      s_.points->Points(PixelCount(image_size_.width, image_size_.height, TickedCount()));
  if (text) s_.view.SetText(IDC_RENDER_POINTS_TEXT, *text);
}

void RenderMultiView::OnRenderCheck(int row) {
  const int entry = EntryOfRow(row);
  if (entry < 0) return;
  MultiViewEntry& e = entries_[static_cast<std::size_t>(entry)];
  // A row without a view has nothing the host could render.
  e.render = !e.view_name.empty() && s_.view.IsChecked(IDC_MULTI_RENDER_FIRST + row);
  ShowRows();
}

void RenderMultiView::OnRoofCheck(int row) {
  const int entry = EntryOfRow(row);
  if (entry < 0) return;
  MultiViewEntry& e = entries_[static_cast<std::size_t>(entry)];
  e.roof = !e.view_name.empty() && s_.view.IsChecked(IDC_MULTI_ROOF_FIRST + row);
}

void RenderMultiView::OnSelectAll(bool ticked) {
  for (MultiViewEntry& e : entries_) {
    e.render = ticked && !e.view_name.empty();
    e.roof = e.render;
  }
  ShowRows();
}

void RenderMultiView::OnScroll(ScrollCode code, int thumb_position) {
  offset_ = ScrollTo(offset_, code, thumb_position, static_cast<int>(entries_.size()));
  s_.view.SetScrollPosition(IDC_MULTI_SCROLL, offset_);
  ShowRows();
}

void RenderMultiView::OnBrowse() {
  const auto folder = s_.browser.Browse("保存先フォルダを選択してください");
  if (folder) s_.view.SetText(IDC_MULTI_FOLDER, *folder);
}

void RenderMultiView::OnBack() {
  folder_ = s_.view.Text(IDC_MULTI_FOLDER);
  s_.view.EndDialog(IDC_MULTI_BACK);
}

void RenderMultiView::OnCancel() { s_.view.EndDialog(2); }

bool RenderMultiView::Ask(const std::string& text) {
  return s_.view.ShowMessage(text, kConfirmCaption, MessageKind::kYesNoQuestion) ==
         MessageAnswer::kYes;
}

void RenderMultiView::Tell(const std::string& text) {
  s_.view.ShowMessage(text, kConfirmCaption, MessageKind::kExclamation);
}

void RenderMultiView::OnStart() {
  // Without a trailing backslash, so that a join never doubles it.
  folder_ = WithoutTrailingBackslash(s_.view.Text(IDC_MULTI_FOLDER));
  if (TickedCount() == 0) {
    Tell("視点を選択してください");
    return;
  }
  if (folder_.empty()) {
    Tell("保存先を指定してください");
    return;
  }
  if (!s_.folders.IsFolder(folder_)) {
    if (!Ask("指定されたディレクトリが存在しません。\n作成しますか？")) return;
    if (!CreateFolderPath(s_.folders, folder_)) {
      Tell("フォルダの作成に失敗しました");
      return;
    }
  }
  const std::string extension = s_.view.ComboSelection(IDC_MULTI_FILE_TYPE) == 1 ? "jpg" : "bmp";
  std::string existing;
  for (const MultiViewEntry& e : entries_) {
    if (!e.render) continue;
    const std::string path = OutputPath(folder_, e.file_name, extension);
    if (s_.folders.Exists(path)) existing += path + "\n";
  }
  if (!existing.empty() && !Ask("これらのファイルが上書きされますがよろしいですか\n" + existing)) {
    return;
  }
  s_.registry.WriteString(DirectoriesKeyPath(args_.key_path), "ImageDir", folder_);
  WriteMultiViewChoice(s_.profiles, args_.view_list_path, folder_, entries_, extension);
  s_.view.EndDialog(IDC_RENDER_START);
}

}  // namespace kx::hostkit

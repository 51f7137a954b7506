// In-memory stand-ins for the tests of the rendering dialogs' logic: a
// dialog window, the registry, the folders and the render-points service.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hostkit/render/dialog_view.h"
#include "hostkit/render/multi_view_rules.h"
#include "hostkit/render/points_service.h"
#include "hostkit/render/render_settings.h"

namespace kx::hostkit::test {

class FakeDialogView final : public DialogView {
 public:
  struct Control {
    std::string text;
    bool shown = true, enabled = true, checked = false;
    std::vector<std::pair<std::string, int>> items;
    int selection = -1;
    int height = 20;
    int moved_up = 0;
    int scroll_min = 0, scroll_max = 0, scroll_pos = 0;
  };
  struct Message {
    std::string text, caption;
    MessageKind kind;
  };
  std::map<int, Control> controls;
  std::vector<Message> messages;
  std::deque<MessageAnswer> answers;  // for Yes/No questions; Yes when empty
  int shrunk = 0;
  int ended = 0;  // 0 while open
  int focus = 0;

  Control& operator[](int id) { return controls[id]; }
  // The text of the selected item of a combo; empty when none.
  std::string SelectedText(int id) {
    Control& c = controls[id];
    if (c.selection < 0 || c.selection >= static_cast<int>(c.items.size())) return {};
    return c.items[static_cast<std::size_t>(c.selection)].first;
  }
  std::vector<std::string> ItemTexts(int id) {
    std::vector<std::string> texts;
    for (const auto& item : controls[id].items) texts.push_back(item.first);
    return texts;
  }
  // Chooses a combo item as the user would, without the notification.
  void Choose(int id, int position) { controls[id].selection = position; }

  void SetText(int id, const std::string& text) override { controls[id].text = text; }
  std::string Text(int id) override { return controls[id].text; }
  void ShowControl(int id, bool shown) override { controls[id].shown = shown; }
  void EnableControl(int id, bool enabled) override { controls[id].enabled = enabled; }
  bool IsChecked(int id) override { return controls[id].checked; }
  void SetChecked(int id, bool checked) override { controls[id].checked = checked; }
  void FocusAndSelect(int id) override { focus = id; }
  void ClearCombo(int id) override {
    controls[id].items.clear();
    controls[id].selection = -1;
  }
  void AddComboItem(int id, const std::string& text, int data) override {
    controls[id].items.emplace_back(text, data);
  }
  bool SelectComboItem(int id, int position) override {
    Control& c = controls[id];
    if (position < -1 || position >= static_cast<int>(c.items.size())) {
      c.selection = -1;
      return false;
    }
    c.selection = position;
    return true;
  }
  int ComboSelection(int id) override { return controls[id].selection; }
  int ComboCount(int id) override { return static_cast<int>(controls[id].items.size()); }
  int ComboItemData(int id, int position) override {
    Control& c = controls[id];
    if (position < 0 || position >= static_cast<int>(c.items.size())) return -1;
    return c.items[static_cast<std::size_t>(position)].second;
  }
  int ControlHeight(int id) override { return controls[id].height; }
  void MoveControlUp(int id, int pixels) override { controls[id].moved_up += pixels; }
  void ShrinkWindow(int pixels) override { shrunk += pixels; }
  void SetScrollRange(int id, int minimum, int maximum) override {
    controls[id].scroll_min = minimum;
    controls[id].scroll_max = maximum;
  }
  void SetScrollPosition(int id, int position) override { controls[id].scroll_pos = position; }
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageKind kind) override {
    messages.push_back({text, caption, kind});
    if (kind != MessageKind::kYesNoQuestion) return MessageAnswer::kOk;
    if (answers.empty()) return MessageAnswer::kYes;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void EndDialog(int result) override { ended = result; }
};

class FakeSettingsRegistry final : public SettingsRegistry {
 public:
  std::map<std::string, std::map<std::string, std::uint32_t>> dwords;  // key -> name -> value
  std::map<std::string, std::map<std::string, std::string>> strings;
  std::vector<std::string> write_order;  // names, in write order

  std::optional<std::uint32_t> ReadDword(const std::string& key, const std::string& name) override {
    auto k = dwords.find(key);
    if (k == dwords.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
  }
  std::optional<std::string> ReadString(const std::string& key, const std::string& name) override {
    auto k = strings.find(key);
    if (k == strings.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
  }
  void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override {
    dwords[key][name] = value;
    write_order.push_back(name);
  }
  void WriteString(const std::string& key, const std::string& name,
                   const std::string& value) override {
    strings[key][name] = value;
    write_order.push_back(name);
  }
  // A stored 32-bit value as a signed number; -12345 when missing.
  int Dword(const std::string& key, const std::string& name) {
    const auto value = ReadDword(key, name);
    return value ? static_cast<int>(*value) : -12345;
  }
};

class FakeFolders final : public FolderSystem {
 public:
  std::set<std::string> folders, files;
  std::set<std::string> refused;  // CreateFolder fails for these
  std::vector<std::string> created;

  bool Exists(const std::string& path) override {
    return folders.count(path) != 0 || files.count(path) != 0;
  }
  bool IsFolder(const std::string& path) override { return folders.count(path) != 0; }
  bool CreateFolder(const std::string& path) override {
    created.push_back(path);
    if (refused.count(path) || Exists(path)) return false;
    folders.insert(path);
    return true;
  }
};

class FakePointsService final : public PointsService {
 public:
  bool loads = true;
  bool logs_in = true;
  std::string login_reply = "session-1";
  std::vector<std::int32_t> asked;  // pixel counts, in order
  int load_calls = 0;

  bool Load() override {
    ++load_calls;
    return loads;
  }
  bool Login(std::string& login) override {
    if (!logs_in) return false;
    login = login_reply;
    return true;
  }
  std::optional<std::string> Points(std::int32_t pixels) override {
    asked.push_back(pixels);
    return "points " + std::to_string(pixels);
  }
};

}  // namespace kx::hostkit::test

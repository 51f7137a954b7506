#include "tests/driver/dialog_driver.h"

#include <algorithm>
#include <vector>

#include "platform/win32/unique_resource.h"

namespace kx::test {
namespace {

// Longest wait for the dialog's thread to answer a read; a busy dialog (a
// wizard in the middle of its graphics check) makes the read fail instead of
// hanging.
constexpr UINT kReadTimeoutMs = 2000;
constexpr int kMessageTextId = 0xFFFF;  // the static that holds a message box's text

struct MemoryDcTraits {
  using value_type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC dc) noexcept { DeleteDC(dc); }
};
struct ScreenDcTraits {
  using value_type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC dc) noexcept { ReleaseDC(nullptr, dc); }
};
using UniqueMemoryDc = win::UniqueResource<MemoryDcTraits>;
using UniqueScreenDc = win::UniqueResource<ScreenDcTraits>;

bool HasClass(HWND window, const char* name) {
  char cls[32] = {};
  return GetClassNameA(window, cls, sizeof cls) > 0 && lstrcmpiA(cls, name) == 0;
}

// The caption of a top-level window as the system keeps it: for a window of
// another process the read sends it nothing, so a busy dialog cannot delay
// the search.
bool HasTitle(HWND window, const std::string& title) {
  char text[256] = {};
  const int length = GetWindowTextA(window, text, sizeof text);
  return length >= 0 && title == std::string(text, static_cast<size_t>(length));
}

BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Every top-level window, in Z order.
std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool IsVisibleDialog(HWND window) { return IsWindowVisible(window) && HasClass(window, "#32770"); }

bool HasAnswerButton(HWND box) {
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    if (DialogDriver::HasButton(box, id)) return true;
  }
  return false;
}

// Posts the notification a click on `control` sends to its dialog.
bool PostClickNotice(HWND dialog, HWND control) {
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                      reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool WriteBitmapFile(const std::string& path, LONG width, LONG height, const void* bits) {
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD image_size = stride * static_cast<DWORD>(height);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as the section was made
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = image_size;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + image_size;

  win::UniqueFile out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  DWORD written = 0;
  bool ok = WriteFile(out.get(), &file, sizeof file, &written, nullptr) && written == sizeof file;
  ok = ok && WriteFile(out.get(), &info, sizeof info, &written, nullptr) && written == sizeof info;
  ok = ok && WriteFile(out.get(), bits, image_size, &written, nullptr) && written == image_size;
  out.reset();
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms, DWORD interval_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (GetTickCount64() < deadline) {
    if (condition()) return true;
    Sleep(interval_ms);
  }
  return condition();
}

HWND FindVisibleWindow(const std::string& title) noexcept {
  for (HWND window : TopLevelWindows()) {
    if (IsWindowVisible(window) && HasTitle(window, title)) return window;
  }
  return nullptr;
}

bool ReadWindowText(HWND window, std::string& text) noexcept {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs,
                           &length)) {
    return false;
  }
  // The length may be an overestimate (it counts bytes of the wide text); the
  // copy's own count is the truth.
  std::vector<char> buffer(length + 2, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           kReadTimeoutMs, &copied)) {
    return false;
  }
  text.assign(buffer.data(), std::min<size_t>(copied, buffer.size() - 1));
  return true;
}

bool SaveScreenshot(const std::string& path, HWND window) noexcept {
  RECT area = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (window) {
    RECT frame;
    if (!GetWindowRect(window, &frame) || !IntersectRect(&area, &area, &frame)) return false;
  }
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;

  UniqueScreenDc screen(GetDC(nullptr));
  if (!screen) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::UniqueBitmap section(
      CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!section || !memory) return false;
  const HGDIOBJ previous = SelectObject(memory.get(), section.get());
  const bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top,
                             SRCCOPY | CAPTUREBLT) != FALSE;
  GdiFlush();
  SelectObject(memory.get(), previous);
  return copied && WriteBitmapFile(path, width, height, bits);
}

DialogDriver::DialogDriver(HWND dialog) noexcept : dialog_(dialog) {
  if (dialog_) GetWindowThreadProcessId(dialog_, &process_id_);
}

bool DialogDriver::Find(const std::string& title, int control_id) noexcept {
  for (HWND window : TopLevelWindows()) {
    if (IsVisibleDialog(window) && (control_id == 0 || GetDlgItem(window, control_id)) &&
        HasTitle(window, title)) {
      dialog_ = window;
      GetWindowThreadProcessId(window, &process_id_);
      return true;
    }
  }
  return false;
}

bool DialogDriver::WaitFor(const std::string& title, int control_id, DWORD timeout_ms) {
  return WaitUntil([&] { return Find(title, control_id); }, timeout_ms);
}

bool DialogDriver::WaitUntilGone(DWORD timeout_ms) {
  return WaitUntil([this] { return !Present(); }, timeout_ms);
}

bool DialogDriver::Present() const noexcept { return dialog_ && IsWindow(dialog_); }

HWND DialogDriver::Control(int id) const noexcept {
  return Present() ? GetDlgItem(dialog_, id) : nullptr;
}

bool DialogDriver::ReadText(int id, std::string& text) const noexcept {
  const HWND control = Control(id);
  return control && ReadWindowText(control, text);
}

bool DialogDriver::ReadState(int id, ControlState& state) const noexcept {
  const HWND control = Control(id);
  if (!control) return false;
  ControlState read;
  read.visible = IsWindowVisible(control) != FALSE;
  read.enabled = IsWindowEnabled(control) != FALSE;
  if (HasClass(control, "Button")) {
    DWORD_PTR check = 0;
    if (!SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs,
                             &check)) {
      return false;
    }
    read.checked = check == BST_CHECKED;
  }
  state = read;
  return true;
}

bool DialogDriver::WaitForText(int id, const std::string& text, DWORD timeout_ms) const {
  return WaitUntil(
      [&] {
        std::string now;
        return ReadText(id, now) && now == text;
      },
      timeout_ms);
}

bool DialogDriver::Click(int id) const noexcept {
  const HWND control = Control(id);
  if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  // Nor does a dialog that a modal box has disabled take clicks.
  if (!IsWindowEnabled(dialog_)) return false;
  if (HasClass(control, "Button")) {
    // The button's own click: an automatic check box toggles, then the dialog hears of it.
    return PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
  }
  // A label that notifies its dialog of clicks; others take no clicks.
  if (HasClass(control, "Static") && (GetWindowLongA(control, GWL_STYLE) & SS_NOTIFY)) {
    return PostClickNotice(dialog_, control);
  }
  return false;
}

bool DialogDriver::SetCheck(int id, bool checked) const noexcept {
  ControlState state;
  if (!ReadState(id, state)) return false;
  if (state.checked == checked) return true;
  if (!Click(id)) return false;
  // The click is posted; a second SetCheck must see its outcome.
  return WaitUntil([&] { return ReadState(id, state) && state.checked == checked; }, kReadTimeoutMs,
                   10);
}

bool DialogDriver::TypeText(int id, const std::string& text) const noexcept {
  HWND control = Control(id);
  if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  // An editable combo box is typed into through its edit box.
  if (HasClass(control, "ComboBox")) control = FindWindowExA(control, nullptr, "Edit", nullptr);
  if (!control || !HasClass(control, "Edit")) return false;
  // An edit box tells its dialog of a WM_SETTEXT with EN_CHANGE, as it does
  // of typed keys; sent, so the dialog has seen the text when this returns.
  DWORD_PTR done = 0;
  return SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, kReadTimeoutMs, &done) &&
         done == TRUE;
}

bool DialogDriver::SelectComboItem(int id, int index) const noexcept {
  const HWND control = Control(id);
  if (!control || !HasClass(control, "ComboBox") || !IsWindowVisible(control) ||
      !IsWindowEnabled(control)) {
    return false;
  }
  DWORD_PTR selected = 0;
  if (!SendMessageTimeoutA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG,
                           kReadTimeoutMs, &selected) ||
      static_cast<int>(selected) != index) {
    return false;
  }
  // CB_SETCURSEL itself notifies nobody; a choice with the mouse does.
  return PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool DialogDriver::ReadComboItems(int id, std::vector<std::string>& items) const {
  const HWND control = Control(id);
  if (!control) return false;
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutA(control, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs, &count) ||
      static_cast<LRESULT>(count) == CB_ERR) {
    return false;
  }
  std::vector<std::string> read;
  for (WPARAM i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs,
                             &length) ||
        static_cast<LRESULT>(length) == CB_ERR) {
      return false;
    }
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kReadTimeoutMs, &copied) ||
        static_cast<LRESULT>(copied) == CB_ERR) {
      return false;
    }
    read.emplace_back(buffer.data(), std::min<size_t>(copied, buffer.size() - 1));
  }
  items = std::move(read);
  return true;
}

bool DialogDriver::ReadComboSelection(int id, int& index) const noexcept {
  const HWND control = Control(id);
  DWORD_PTR selected = 0;
  if (!control || !SendMessageTimeoutA(control, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG,
                                       kReadTimeoutMs, &selected)) {
    return false;
  }
  index = static_cast<int>(static_cast<LRESULT>(selected));
  return true;
}

bool DialogDriver::PressEscape() const noexcept {
  if (!Present()) return false;
  // Keys go to the focused control; the dialog manager turns Escape into the
  // dialog's cancel command.
  HWND target = dialog_;
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &gui) && gui.hwndFocus &&
      IsChild(dialog_, gui.hwndFocus)) {
    target = gui.hwndFocus;
  }
  const UINT scan = MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC);
  return PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1 | (scan << 16)) &&
         PostMessageA(target, WM_KEYUP, VK_ESCAPE, 1 | (scan << 16) | 0xC0000000u);
}

bool DialogDriver::CloseByCloseBox() const noexcept {
  return Present() && PostMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND DialogDriver::FindMessageBox(const std::string& title) const noexcept {
  if (!Present()) return nullptr;
  for (HWND window : TopLevelWindows()) {
    if (window == dialog_ || !IsVisibleDialog(window)) continue;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == process_id_ && HasAnswerButton(window) && HasTitle(window, title)) {
      return window;
    }
  }
  return nullptr;
}

bool DialogDriver::WaitForMessageBox(const std::string& title, DWORD timeout_ms, HWND& box) const {
  HWND found = nullptr;
  if (!WaitUntil([&] { return (found = FindMessageBox(title)) != nullptr; }, timeout_ms)) {
    return false;
  }
  box = found;
  return true;
}

bool DialogDriver::ReadMessageText(HWND box, std::string& text) noexcept {
  const HWND message = GetDlgItem(box, kMessageTextId);
  return message && ReadWindowText(message, text);
}

bool DialogDriver::HasButton(HWND box, int id) noexcept {
  const HWND button = GetDlgItem(box, id);
  return button && HasClass(button, "Button") && IsWindowVisible(button);
}

bool DialogDriver::AnswerMessageBox(HWND box, int id, DWORD timeout_ms) {
  if (!IsWindow(box) || !HasButton(box, id)) return false;
  if (!PostClickNotice(box, GetDlgItem(box, id))) return false;
  return WaitUntil([box] { return !IsWindow(box); }, timeout_ms, 50);
}

}  // namespace kx::test

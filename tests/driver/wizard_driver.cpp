#include "tests/driver/wizard_driver.h"

#include <algorithm>
#include <vector>

#include "platform/win32/unique_resource.h"

namespace kx::test {
namespace {

// Longest wait for another process to answer a read; a busy wizard (in the
// middle of its graphics check) makes the read fail instead of hanging.
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
// another process the read sends it nothing, so a busy wizard cannot delay
// the search.
bool HasTitle(HWND window, const std::string& title) {
  char text[256] = {};
  const int length = GetWindowTextA(window, text, sizeof text);
  return length >= 0 && title == std::string(text, static_cast<size_t>(length));
}

// Every top-level window, in Z order.
std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool IsVisibleDialog(HWND window) { return IsWindowVisible(window) && HasClass(window, "#32770"); }

bool HasAnswerButton(HWND box) {
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    if (WizardDriver::HasButton(box, id)) return true;
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

bool WizardDriver::Find() noexcept {
  for (HWND window : TopLevelWindows()) {
    if (IsVisibleDialog(window) && GetDlgItem(window, kNextButton) &&
        HasTitle(window, kWizardTitle)) {
      wizard_ = window;
      GetWindowThreadProcessId(window, &process_id_);
      return true;
    }
  }
  return false;
}

bool WizardDriver::WaitForWizard(DWORD timeout_ms) {
  return WaitUntil([this] { return Find(); }, timeout_ms);
}

bool WizardDriver::WaitUntilGone(DWORD timeout_ms) {
  return WaitUntil([this] { return !Present(); }, timeout_ms);
}

bool WizardDriver::Present() const noexcept { return wizard_ && IsWindow(wizard_); }

HWND WizardDriver::Control(int id) const noexcept {
  return Present() ? GetDlgItem(wizard_, id) : nullptr;
}

bool WizardDriver::ReadText(int id, std::string& text) const noexcept {
  const HWND control = Control(id);
  return control && ReadWindowText(control, text);
}

bool WizardDriver::ReadState(int id, ControlState& state) const noexcept {
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

bool WizardDriver::WaitForText(int id, const std::string& text, DWORD timeout_ms) const {
  return WaitUntil(
      [&] {
        std::string now;
        return ReadText(id, now) && now == text;
      },
      timeout_ms);
}

bool WizardDriver::Click(int id) const noexcept {
  const HWND control = Control(id);
  if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
  if (HasClass(control, "Button")) {
    // The button's own click: an automatic check box toggles, then the dialog hears of it.
    return PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
  }
  // A label that notifies its dialog of clicks; others take no clicks.
  if (HasClass(control, "Static") && (GetWindowLongA(control, GWL_STYLE) & SS_NOTIFY)) {
    return PostClickNotice(wizard_, control);
  }
  return false;
}

bool WizardDriver::PressEscape() const noexcept {
  if (!Present()) return false;
  // Keys go to the focused control; the dialog manager turns Escape into the
  // dialog's cancel command.
  HWND target = wizard_;
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(wizard_, nullptr), &gui) && gui.hwndFocus &&
      IsChild(wizard_, gui.hwndFocus)) {
    target = gui.hwndFocus;
  }
  const UINT scan = MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC);
  return PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1 | (scan << 16)) &&
         PostMessageA(target, WM_KEYUP, VK_ESCAPE, 1 | (scan << 16) | 0xC0000000u);
}

bool WizardDriver::CloseByCloseBox() const noexcept {
  return Present() && PostMessageA(wizard_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND WizardDriver::FindMessageBox() const noexcept {
  if (!Present()) return nullptr;
  for (HWND window : TopLevelWindows()) {
    if (window == wizard_ || !IsVisibleDialog(window)) continue;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == process_id_ && HasAnswerButton(window) && HasTitle(window, kWizardTitle)) {
      return window;
    }
  }
  return nullptr;
}

bool WizardDriver::WaitForMessageBox(DWORD timeout_ms, HWND& box) const {
  HWND found = nullptr;
  if (!WaitUntil([&] { return (found = FindMessageBox()) != nullptr; }, timeout_ms)) return false;
  box = found;
  return true;
}

bool WizardDriver::ReadMessageText(HWND box, std::string& text) noexcept {
  const HWND message = GetDlgItem(box, kMessageTextId);
  return message && ReadWindowText(message, text);
}

bool WizardDriver::HasButton(HWND box, int id) noexcept {
  const HWND button = GetDlgItem(box, id);
  return button && HasClass(button, "Button") && IsWindowVisible(button);
}

bool WizardDriver::AnswerMessageBox(HWND box, int id, DWORD timeout_ms) {
  if (!IsWindow(box) || !HasButton(box, id)) return false;
  if (!PostClickNotice(box, GetDlgItem(box, id))) return false;
  return WaitUntil([box] { return !IsWindow(box); }, timeout_ms, 50);
}

}  // namespace kx::test

#include "hostkit/render/render_dialog_driver.h"

#include <cstdio>

#include "hostkit/shell/text_slot_win32.h"
#include "tests/win/process.h"

namespace kx::test {

std::string BinFolder() { return kx::test::TestProgramFolder() + "..\\bin\\"; }

RenderCall::RenderCall(Arguments arguments)
    : arguments_(std::move(arguments)), hostkit_((BinFolder() + "Hostkit.dll").c_str()) {
  entry_ = hostkit_.Entry<decltype(RenderDialogDoModal)>("RenderDialogDoModal");
  if (!arguments_.login.empty()) {
    login_ =
        SysAllocStringByteLen(arguments_.login.data(), static_cast<UINT>(arguments_.login.size()));
  }
  roof_mode_ = arguments_.roof_mode;
}

RenderCall::~RenderCall() {
  if (thread_) {
    for (int attempt = 0; attempt < 100 && InterlockedCompareExchange(&done_, 0, 0) == 0;
         ++attempt) {
      EndOpenDialogs();
      Sleep(100);
    }
    WaitForSingleObject(thread_.get(), 5000);
  }
  SysFreeString(login_);
}

namespace {

BOOL CALLBACK PressCancel(HWND window, LPARAM) {
  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

// Adds "[title] text" to the report (a std::string) for a visible window of
// the call, with the text of a message box.
BOOL CALLBACK NoteOpenWindow(HWND window, LPARAM report) {
  if (!IsWindowVisible(window)) return TRUE;
  std::string title;
  std::string text;
  (void)ReadWindowText(window, title);
  (void)DialogDriver::ReadMessageText(window, text);
  *reinterpret_cast<std::string*>(report) += " [" + title + "] " + text;
  return TRUE;
}

}  // namespace

void RenderCall::EndOpenDialogs() { EnumThreadWindows(thread_id_, PressCancel, 0); }

bool RenderCall::Start() {
  if (entry_ == nullptr) return false;
  thread_.reset(CreateThread(nullptr, 0, Run, this, 0, &thread_id_));
  return static_cast<bool>(thread_);
}

DWORD WINAPI RenderCall::Run(void* argument) {
  auto* self = static_cast<RenderCall*>(argument);
  const Arguments& a = self->arguments_;
  self->result_ = self->entry_(nullptr, 11, 22, a.mode, a.perspective_width, a.perspective_height,
                               &self->roof_mode_, "テスト", a.key_path.c_str(),
                               a.view_list_path.c_str(), a.null_login ? nullptr : &self->login_);
  InterlockedExchange(&self->done_, 1);
  return 0;
}

bool RenderCall::WaitForReturn(DWORD timeout_ms) {
  if (!thread_) return false;
  returned_ = WaitForSingleObject(thread_.get(), timeout_ms) == WAIT_OBJECT_0;
  if (!returned_) {
    // What the call still shows is what a failed test needs to explain itself.
    std::string open;
    EnumThreadWindows(thread_id_, NoteOpenWindow, reinterpret_cast<LPARAM>(&open));
    std::fprintf(stderr, "RenderDialogDoModal has not returned; still open:%s\n", open.c_str());
  }
  return returned_;
}

std::string RenderCall::login() const { return hostkit::TextSlotBytes(login_); }

void ShotIfAsked(HWND window, const std::string& name) {
  char folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("KX_SHOT_DIR", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || window == nullptr) return;
  // Let the dialog finish painting what it was just told.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  (void)SaveScreenshot(std::string(folder) + "\\" + name + ".bmp", window);
}

namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The room a text needs with `font`: one line, or lines broken at `width`.
SIZE TextExtent(HDC dc, const std::string& text, UINT format, int width) {
  RECT rect = {0, 0, width, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

std::string ComboItem(HWND combo, int index) {
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// Adds "id: text" to the report (a std::string) when the text of `control`
// does not fit it in the font the control draws with. A stdcall callback
// of EnumChildWindows: a lambda does not convert to one in the 32-bit build.
BOOL CALLBACK NoteTextThatDoesNotFit(HWND control, LPARAM report) {
  RECT client = {};
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  const std::string kind = ClassOf(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  std::string text;
  (void)ReadWindowText(control, text);
  bool fits = true;
  if (kind == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT && !text.empty()) {
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    const SIZE need = TextExtent(dc, text, DT_WORDBREAK | prefix, client.right);
    fits = need.cx <= client.right && need.cy <= client.bottom;
  } else if (kind == "Button" && !text.empty()) {
    const LONG type = style & BS_TYPEMASK;
    // Check boxes and radios draw their box and a gap before the text.
    const int box = (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON ||
                     type == BS_RADIOBUTTON)
                        ? GetSystemMetrics(SM_CXMENUCHECK) + 4
                        : (type == BS_GROUPBOX ? 16 : 8);
    const SIZE need = TextExtent(dc, text, DT_SINGLELINE, 0);
    fits = need.cx + box <= client.right && need.cy <= client.bottom + 2;
  } else if (kind == "ComboBox") {
    const int count = static_cast<int>(SendMessageA(control, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && fits; ++i) {
      const std::string item = ComboItem(control, i);
      const SIZE need = TextExtent(dc, item, DT_SINGLELINE | DT_NOPREFIX, 0);
      fits = need.cx + GetSystemMetrics(SM_CXVSCROLL) + 6 <= client.right;
      if (!fits) text = item;
    }
  }
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  if (!fits)
    *reinterpret_cast<std::string*>(report) +=
        std::to_string(GetDlgCtrlID(control)) + ": " + text + "\n";
  return TRUE;
}

}  // namespace

std::string TextsThatDoNotFit(HWND dialog) {
  std::string report;
  EnumChildWindows(dialog, NoteTextThatDoesNotFit, reinterpret_cast<LPARAM>(&report));
  return report;
}

std::string IniValue(const std::string& file, const std::string& section, const std::string& key) {
  char value[512] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "?", value, sizeof value, file.c_str());
  return value;
}

}  // namespace kx::test

#include "hostkit/render/render_dialog_driver.h"

#include "hostkit/shell/text_slot_win32.h"

namespace kx::test {

std::string BinFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + "..\\bin\\";
}

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

void RenderCall::EndOpenDialogs() {
  EnumThreadWindows(
      thread_id_,
      [](HWND window, LPARAM) -> BOOL {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      },
      0);
}

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

std::string IniValue(const std::string& file, const std::string& section, const std::string& key) {
  char value[512] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "?", value, sizeof value, file.c_str());
  return value;
}

}  // namespace kx::test

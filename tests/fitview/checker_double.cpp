#include "tests/fitview/checker_double.h"

#include "common/exchange_contract.h"

namespace kx::test {
namespace {

constexpr char kClassName[] = "KxCheckerDouble";

void Write(const std::string& file, const char* key, const std::string& value) {
  WritePrivateProfileStringA(exchange::kSection, key, value.c_str(), file.c_str());
}

double Elapsed(const LARGE_INTEGER& since) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - since.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

void WriteRequest(const std::string& request, const std::string& bmp_file,
                  const std::string& q3d_file, const std::string& result_file,
                  const RequestFlags& flags, HWND checker, const std::string& log_file) {
  Write(request, exchange::kBmpFile, bmp_file);
  Write(request, exchange::kQ3dFile, q3d_file);
  Write(request, exchange::kResultFile, result_file);
  Write(request, exchange::kDirectX, flags.direct_x ? "1" : "0");
  Write(request, exchange::kAntiAlias, flags.anti_alias ? "1" : "0");
  Write(request, exchange::kShadow, flags.shadow ? "1" : "0");
  Write(request, exchange::kPhong, flags.phong ? "1" : "0");
  Write(request, exchange::kNoOpenGLAcc, flags.no_opengl_acc ? "1" : "0");
  Write(request, exchange::kHwnd,
        std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(checker))));
  Write(request, exchange::kLogFile, log_file);
}

CheckerDouble::CheckerDouble() {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = &WindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kClassName;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&window_class);  // fails harmlessly when already registered
  // Where the wizard would be: the upper part of the screen.
  window_.reset(CreateWindowExA(0, kClassName, "checker double", WS_POPUP | WS_VISIBLE, 320, 40,
                                640, 280, nullptr, nullptr, GetModuleHandleA(nullptr), this));
}

CheckerDouble::~CheckerDouble() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

LRESULT CALLBACK CheckerDouble::WindowProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CheckerDouble*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && message >= WM_USER && message < WM_APP) self->private_messages.push_back(message);
  if (self && message == exchange::kViewerNotify) {
    self->notifications.emplace_back(wparam, lparam);
    if (wparam == static_cast<WPARAM>(exchange::kNotifyViewShown) && self->shown_ms_ < 0) {
      self->shown_ms_ = Elapsed(self->started_);
      if (self->on_view_shown) self->on_view_shown();
    }
    return 0;
  }
  if (self && message == exchange::kViewerClosing) {
    ++self->closing_received;
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool CheckerDouble::Start(const std::string& viewer, const std::string& request) {
  std::string command = "\"" + viewer + "\" \"" + request + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  QueryPerformanceCounter(&started_);
  if (!CreateProcessA(viewer.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  return true;
}

void CheckerDouble::Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool CheckerDouble::WaitForNotify(WPARAM kind, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    Pump();
    for (const auto& n : notifications) {
      if (n.first == kind) return true;
    }
    if (!Running()) {
      Pump();  // a notification posted just before the end
      for (const auto& n : notifications) {
        if (n.first == kind) return true;
      }
      return false;
    }
    if (GetTickCount() - start > timeout_ms) return false;
    const HANDLE process = process_.get();
    MsgWaitForMultipleObjects(1, &process, FALSE, 50, QS_ALLINPUT);
  }
}

bool CheckerDouble::WaitForEnd(DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (Running()) {
    Pump();
    if (GetTickCount() - start > timeout_ms) return false;
    const HANDLE process = process_.get();
    MsgWaitForMultipleObjects(1, &process, FALSE, 50, QS_ALLINPUT);
  }
  Pump();
  return true;
}

bool CheckerDouble::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD CheckerDouble::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_.get(), &code);
  return code;
}

}  // namespace kx::test

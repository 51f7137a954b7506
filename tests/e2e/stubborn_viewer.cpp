// A viewer that shows its window and reports it, as Fitview does, but never
// closes: installed as Fitview.exe, it leaves its end to the checker's close
// watch. It writes every private message it receives, by number, with its
// parameters, one line each, to "received.txt" beside itself, so that the
// test sees exactly what the checker sent.
//
//   stubborn_viewer.exe <request file>
//
// Like Fitview it holds the single-instance lock "Fitview" (the program's
// base name) from its start until its process has ended, and a second start
// while it runs brings it to the front and exits at once.
//
// The message numbers and keys are written out here, not taken from the
// programs' shared header, so that both sides are held to the agreed values.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT kNotifyMessage = WM_USER + 13;  // 1037, to the checker
constexpr WPARAM kViewShown = 2;
constexpr char kTitle[] = "ドミレルデザイナー動作チェック";

std::string g_record;  // the file the messages go to

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

void Record(UINT message, WPARAM wparam, LPARAM lparam) {
  if (FILE* file = std::fopen(g_record.c_str(), "ab")) {
    std::fprintf(file, "%u %d %d\n", message, static_cast<int>(static_cast<INT_PTR>(wparam)),
                 static_cast<int>(lparam));
    std::fclose(file);
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message >= WM_USER && message < WM_APP) {
    Record(message, wparam, lparam);
    return 0;  // the close request included: ignored
  }
  if (message == WM_CLOSE) return 0;  // nor closed by the user
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  const std::string request = __argv[1];
  // Owned until the process ends, as the viewer's lock is held until its
  // engine has ended; the system releases it with the process.
  CreateMutexA(nullptr, TRUE, "Fitview");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (const HWND running = FindWindowA(nullptr, kTitle)) SetForegroundWindow(running);
    return 0;
  }
  g_record = OwnFolder() + "received.txt";

  char result[1024] = {};
  GetPrivateProfileStringA("Fitcheck", "ResultFile", "", result, sizeof result, request.c_str());
  const HWND checker = reinterpret_cast<HWND>(static_cast<INT_PTR>(
      static_cast<int>(GetPrivateProfileIntA("Fitcheck", "hwnd", 0, request.c_str()))));

  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "KxStubbornViewer";
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&window_class);
  const HWND window =
      CreateWindowExA(0, window_class.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 320,
                      560, 400, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 3;

  WritePrivateProfileStringA("Fitcheck", "ResultCode", "0", result);
  PostMessageA(checker, kNotifyMessage, kViewShown, 0);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

/* A sample host application of Hostkit.dll: a plain C program that links the
 * DLL's import library, loads the 3D engine with a model, and calls each
 * family of Hostkit's services the way the design application does. What it
 * calls and what comes back is shown in its window and written to a log.
 *
 *   HostSample.exe                    runs every family, then waits for you
 *   HostSample.exe /log log.txt       the same, with the log written to a file
 *   HostSample.exe /auto log.txt      runs every family, writes the log and
 *                                     exits (status: the number of failures)
 *   /model path                       a model other than data\test.q3d
 *   /url address                      a file to download (no download without)
 *   /mapi folder                      where to find MAPI32.DLL first (a
 *                                     recording mail client, for tests)
 *   /nodialogs                        leaves out the dialogs that wait for
 *                                     the user (rendering settings, search)
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "host_engine.h"
#include "host_families.h"
#include "host_log.h"

#define WM_HOST_RUN (WM_APP + 1)

static const char kClassName[] = "HostkitSampleHost";
static BOOL g_auto = FALSE;
static char g_model[MAX_PATH + 32];
static char g_url[1024];
static BOOL g_dialogs = TRUE;

static void RunFamilies(HWND mainWindow) {
  HostLog("sample.start = 1");
  RunVersion();
  if (!HostEngineOpen(g_model)) {
    HostLog("sample.end = engine not open");
    return;
  }
  RunCapabilities();
  RunParts();
  RunExtend();
  RunFrame(mainWindow);
  RunDownload(mainWindow, g_url, g_auto);
  RunMail(mainWindow, g_model);
  RunStyle();
  if (g_dialogs) {
    RunRender(mainWindow);
    RunSearch(mainWindow);
  }
  HostEngineClose();
  HostLog("sample.failures = %d", HostLogFailures());
}

static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: {
      HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                                      ES_READONLY | ES_AUTOVSCROLL,
                                  0, 0, 0, 0, window, (HMENU)1, NULL, NULL);
      SendMessageA(pane, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
      SendMessageA(pane, EM_SETLIMITTEXT, 0, 0);
      HostLogSetPane(pane);
      return 0;
    }
    case WM_SIZE:
      MoveWindow(GetDlgItem(window, 1), 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      return 0;
    case WM_HOST_RUN:
      RunFamilies(window);
      if (g_auto) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      CloseFrame();
      HostLogSetPane(NULL);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

/* "/auto file", "/log file", "/model path", "/url address", "/mapi folder",
 * "/nodialogs"; arguments may be quoted. */
static BOOL ParseCommandLine(const char** logPath) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  static char log[MAX_PATH];
  int i;
  if (args == NULL) return FALSE;
  for (i = 1; i < count; ++i) {
    const BOOL isAuto = lstrcmpiW(args[i], L"/auto") == 0;
    if ((isAuto || lstrcmpiW(args[i], L"/log") == 0) && i + 1 < count) {
      g_auto = isAuto;
      WideCharToMultiByte(CP_ACP, 0, args[++i], -1, log, sizeof log, NULL, NULL);
      *logPath = log;
    } else if (lstrcmpiW(args[i], L"/model") == 0 && i + 1 < count) {
      WideCharToMultiByte(CP_ACP, 0, args[++i], -1, g_model, sizeof g_model, NULL, NULL);
    } else if (lstrcmpiW(args[i], L"/nodialogs") == 0) {
      g_dialogs = FALSE;
    } else if (lstrcmpiW(args[i], L"/url") == 0 && i + 1 < count) {
      WideCharToMultiByte(CP_ACP, 0, args[++i], -1, g_url, sizeof g_url, NULL, NULL);
    } else if (lstrcmpiW(args[i], L"/mapi") == 0 && i + 1 < count) {
      char folder[MAX_PATH];
      WideCharToMultiByte(CP_ACP, 0, args[++i], -1, folder, sizeof folder, NULL, NULL);
      SetDllDirectoryA(folder);
    }
  }
  LocalFree(args);
  return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  const char* logPath = NULL;
  WNDCLASSA cls;
  HWND window;
  MSG msg;
  (void)previous;
  (void)commandLine;

  snprintf(g_model, sizeof g_model, "%sdata\\test.q3d", HostProgramFolder());
  if (!ParseCommandLine(&logPath) || !HostLogOpen(logPath)) return 100;

  ZeroMemory(&cls, sizeof cls);
  cls.lpfnWndProc = MainProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(NULL, IDC_ARROW);
  cls.hIcon = LoadIcon(NULL, IDI_APPLICATION);
  cls.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  cls.lpszClassName = kClassName;
  if (!RegisterClassA(&cls)) return 101;
  window = CreateWindowExA(0, kClassName, "Hostkit サンプルホスト", WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 720, 520, NULL, NULL, instance, NULL);
  if (window == NULL) return 102;
  ShowWindow(window, show);
  UpdateWindow(window);
  PostMessageA(window, WM_HOST_RUN, 0, 0);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  HostLogClose();
  return HostLogFailures();
}

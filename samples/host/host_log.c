#include "host_log.h"

#include <stdarg.h>
#include <stdio.h>

static HANDLE g_file = INVALID_HANDLE_VALUE;
static HWND g_pane = NULL;
static int g_failures = 0;

BOOL HostLogOpen(const char* path) {
  if (path == NULL) return TRUE;
  g_file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
  return g_file != INVALID_HANDLE_VALUE;
}

void HostLogClose(void) {
  if (g_file != INVALID_HANDLE_VALUE) CloseHandle(g_file);
  g_file = INVALID_HANDLE_VALUE;
}

void HostLogSetPane(HWND pane) { g_pane = pane; }

void HostLog(const char* format, ...) {
  char line[1024];
  va_list args;
  int length;
  va_start(args, format);
  length = vsnprintf(line, sizeof line - 2, format, args);
  va_end(args);
  if (length < 0) return;
  if (length > (int)sizeof line - 3) length = (int)sizeof line - 3;
  line[length++] = '\r';
  line[length++] = '\n';
  line[length] = '\0';
  if (g_file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(g_file, line, (DWORD)length, &written, NULL);
  }
  if (g_pane != NULL) {
    /* Appended at the end of what the pane shows. */
    int end = GetWindowTextLengthA(g_pane);
    SendMessageA(g_pane, EM_SETSEL, (WPARAM)end, (LPARAM)end);
    SendMessageA(g_pane, EM_REPLACESEL, FALSE, (LPARAM)line);
  }
}

void HostLogFailure(const char* item, const char* why) {
  ++g_failures;
  HostLog("%s = FAILED (%s)", item, why);
}

BOOL HostExpect(const char* item, long result, long expected) {
  char why[64];
  if (result == expected) return TRUE;
  snprintf(why, sizeof why, "%ld, not %ld", result, expected);
  HostLogFailure(item, why);
  return FALSE;
}

int HostLogFailures(void) { return g_failures; }

// A harmless program for the tests of the open command: it writes the
// command line it was started with into the file that KX_PROBE_OUTPUT names,
// and ends.
#include <windows.h>

int main() {
  char output[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("KX_PROBE_OUTPUT", output, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 2;
  const char* line = GetCommandLineA();
  HANDLE file =
      CreateFileA(output, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line, lstrlenA(line), &written, nullptr);
  CloseHandle(file);
  return ok ? 0 : 1;
}

// Runs a program of the test build as a second process and collects what it
// prints, for Windows tests that check what another process sees.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/unique_resource.h"

namespace kx::test {

// The folder of the running test program, ending in a backslash.
inline std::string TestProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Starts `command_line` (the program path quoted by the caller) in `folder`
// (the caller's when empty) without waiting; its process, none on failure.
inline win::UniqueHandle StartProcess(const std::string& command_line,
                                      const std::string& folder = "") {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string line = command_line;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return win::UniqueHandle();
  }
  win::UniqueHandle thread(info.hThread);
  return win::UniqueHandle(info.hProcess);
}

struct ProcessResult {
  DWORD exit_code = 0xFFFFFFFF;
  std::string output;
};

// Runs `command_line` (the program path quoted by the caller) and waits for it.
inline ProcessResult RunProcess(const std::string& command_line) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  win::UniqueHandle read_end, write_end;
  if (!CreatePipe(read_end.put(), write_end.put(), &inherit, 0)) return result;
  SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end.get();
  startup.hStdError = write_end.get();
  PROCESS_INFORMATION info = {};
  std::string line = command_line;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    return result;
  }
  win::UniqueHandle process(info.hProcess), thread(info.hThread);
  write_end.reset();
  // Reads until the program has ended, not until the pipe is closed: a
  // process it started may hold the pipe for longer (Wine's desktop process,
  // started by the first window of a session, keeps the stderr it was given).
  const auto drain = [&] {
    char buffer[512];
    DWORD available = 0, got = 0;
    while (PeekNamedPipe(read_end.get(), nullptr, 0, nullptr, &available, nullptr) &&
           available > 0 &&
           ReadFile(read_end.get(), buffer, available < sizeof buffer ? available : sizeof buffer,
                    &got, nullptr) &&
           got > 0) {
      result.output.append(buffer, got);
    }
  };
  do {
    drain();
  } while (WaitForSingleObject(process.get(), 20) == WAIT_TIMEOUT);
  drain();
  GetExitCodeProcess(process.get(), &result.exit_code);
  return result;
}

}  // namespace kx::test

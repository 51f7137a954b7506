// Plays the checker's part towards a running viewer: a window that receives
// the viewer's notifications, the request file, the quoted command line, and
// the close request.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/unique_resource.h"

namespace kx::test {

// One viewer configuration as the checker writes it into the request.
struct RequestFlags {
  bool direct_x = false;
  bool anti_alias = false;
  bool shadow = false;
  bool phong = false;
  bool no_opengl_acc = true;
};

// Writes every key of the request in the checker's order.
void WriteRequest(const std::string& request_path, const std::string& bmp_file,
                  const std::string& q3d_file, const std::string& result_file,
                  const RequestFlags& flags, HWND checker, const std::string& log_file);

class CheckerDouble {
 public:
  CheckerDouble();
  ~CheckerDouble();
  CheckerDouble(const CheckerDouble&) = delete;
  CheckerDouble& operator=(const CheckerDouble&) = delete;

  HWND window() const { return window_.get(); }

  // Starts "<viewer>" "<request>"; false when the process cannot be created.
  bool Start(const std::string& viewer, const std::string& request);
  // Pumps messages until a notification of `kind` has arrived, the viewer has
  // ended, or `timeout_ms` has passed; true when the notification came.
  bool WaitForNotify(WPARAM kind, DWORD timeout_ms);
  // Pumps messages (the viewer sends to this window while it closes) until
  // the viewer process has ended; true when it has.
  bool WaitForEnd(DWORD timeout_ms);
  bool Running() const;
  DWORD ProcessId() const { return process_ ? GetProcessId(process_.get()) : 0; }
  DWORD ExitCode() const;
  // Milliseconds from the start of the process to the first notification of
  // kind 2, or -1.
  double MillisecondsToShown() const { return shown_ms_; }

  std::vector<std::pair<WPARAM, LPARAM>> notifications;
  // Called the moment the first notification of kind 2 arrives.
  std::function<void()> on_view_shown;
  int closing_received = 0;
  // Every private message (WM_USER and above) that reached the window, by
  // number, in order.
  std::vector<UINT> private_messages;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Pump();

  win::UniqueWindow window_;
  win::UniqueHandle process_;
  LARGE_INTEGER started_{};
  double shown_ms_ = -1;
};

}  // namespace kx::test

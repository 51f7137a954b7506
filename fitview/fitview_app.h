// The viewer program: one instance at a time, one dialog per run.
#pragma once

#include <windows.h>

#include <string>

namespace kx {

class CFitviewApp {
 public:
  // Runs the viewer with the request file `request_path` (the first
  // command-line argument; empty when there was none). Returns the process
  // exit code.
  int Run(HINSTANCE instance, const std::string& request_path) noexcept;
};

}  // namespace kx

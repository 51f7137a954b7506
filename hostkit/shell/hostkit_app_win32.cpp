#include "hostkit/shell/hostkit_app.h"

namespace kx::hostkit {
namespace {

// Constructed when the library is loaded, destroyed when it is unloaded.
CHostkitApp the_app;

}  // namespace

CHostkitApp& CHostkitApp::Instance() noexcept { return the_app; }

}  // namespace kx::hostkit

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  // Thread notifications stay on: the statically linked runtime frees what
  // it keeps per thread (exception state, thread-local storage) when a
  // thread of the host that called an export ends.
  if (reason == DLL_PROCESS_ATTACH) kx::hostkit::CHostkitApp::Instance().Attach(module);
  return TRUE;
}

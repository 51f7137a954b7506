#include "hostkit/shell/hostkit_app.h"

namespace kx::hostkit {
namespace {

// Constructed when the library is loaded, destroyed when it is unloaded.
CHostkitApp the_app;

}  // namespace

CHostkitApp& CHostkitApp::Instance() noexcept { return the_app; }

}  // namespace kx::hostkit

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    kx::hostkit::CHostkitApp::Instance().Attach(module);
    // No export keeps per-thread state.
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

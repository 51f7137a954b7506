#include "standins/kx3d/surface_window_win32.h"

namespace kx::kx3d {
namespace {

constexpr char kClassName[] = "KX3DStandinSurface";
// Surfaces alive: the class is registered while there are any, so that
// the engine library can be unloaded without leaving a class behind whose
// procedure is gone.
int g_surfaces = 0;

bool RegisterSurfaceClass() noexcept {
  if (g_surfaces > 0) return true;
  WNDCLASSA wc = {};
  wc.style = CS_OWNDC;  // OpenGL keeps one device context per window
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = EngineModule();
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void UnregisterSurfaceClass() noexcept {
  if (g_surfaces == 0) UnregisterClassA(kClassName, EngineModule());
}

}  // namespace

HMODULE EngineModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&EngineModule), &module);
  return module;
}

SurfaceWindow SurfaceWindow::Create(int width, int height) noexcept {
  SurfaceWindow surface;
  if (!RegisterSurfaceClass()) return surface;
  ++g_surfaces;  // counted from here on: Release() balances it
  surface.window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "KX3D", WS_POPUP, 0, 0, width,
                                        height, nullptr, nullptr, EngineModule(), nullptr));
  if (!surface.window_) surface.Release();
  return surface;
}

SurfaceWindow& SurfaceWindow::operator=(SurfaceWindow&& other) noexcept {
  if (this != &other) {
    if (window_) Release();
    window_ = std::move(other.window_);
  }
  return *this;
}

SurfaceWindow::~SurfaceWindow() {
  if (window_) Release();
}

// Destroys the window (when there is one) and gives up its share of the class.
void SurfaceWindow::Release() noexcept {
  window_.reset();
  --g_surfaces;
  UnregisterSurfaceClass();
}

bool SurfaceWindow::Resize(int width, int height) noexcept {
  return SetWindowPos(window_.get(), nullptr, 0, 0, width, height,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace kx::kx3d

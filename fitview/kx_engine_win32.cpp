#include "fitview/kx_engine_win32.h"

#include <windows.h>
#include <shlwapi.h>

#include "common/file_system_win32.h"
#include "common/log_writer_win32.h"
#include "fitview/engine_api/kx3d_api.h"

namespace kx {
namespace {

HWND HwndOf(WindowId window) { return reinterpret_cast<HWND>(window); }

}  // namespace

std::int32_t Kx3dEngine::Initialize() { return Kxi_Initialize(); }
void Kx3dEngine::Terminate() { Kxi_Terminate(); }
void Kx3dEngine::SetEnvironment(std::int32_t id, std::int32_t value) {
  Kxi_SetEnvironment(id, value);
}
void Kx3dEngine::SetEnvironmentEx(std::int32_t id, std::int32_t value) {
  Kxi_SetEnvironmentEx(id, value);
}
void Kx3dEngine::ForceRGBPixelFormat(std::int32_t force) { Kxi_ForceRGBPixelFormat(force); }
std::int32_t Kx3dEngine::InitDrawEx(WindowId window, std::int32_t mode, std::int32_t option,
                                    std::int32_t library_code) {
  return Kxi_InitDrawEx(HwndOf(window), mode, option, nullptr, library_code);
}
std::int32_t Kx3dEngine::ConfirmDraw() { return Kxi_ConfirmDraw(); }
void Kx3dEngine::EndDraw() { Kxi_EndDraw(); }
void Kx3dEngine::SetDrawStep(std::int32_t step) { Kxi_SetDrawStep(step); }
void Kx3dEngine::UpdateDraw() { Kxi_UpdateDraw(); }
void Kx3dEngine::FitView(std::int32_t left, std::int32_t top, std::int32_t right,
                         std::int32_t bottom, std::int32_t scale_x, std::int32_t scale_y,
                         std::int32_t width, std::int32_t height) {
  Kxi_FitView(left, top, right, bottom, scale_x, scale_y, width, height);
}
void Kx3dEngine::Redraw(std::int32_t mode) { Kxi_Redraw(mode); }
void Kx3dEngine::RegisterFolder(std::int32_t kind, std::int32_t flags, const char* folder) {
  Kxi_RegisterFolder(kind, flags, folder);
}
void Kx3dEngine::ReadModelHeader(const char* path, std::int32_t* version, std::int32_t* parts,
                                 std::int32_t* flags, std::int32_t* handle) {
  Kxi_ReadModelHeader(path, version, parts, flags, handle);
}
void Kx3dEngine::SetDrawFlag(std::int32_t id, std::int32_t flag) { Kxi_SetDrawFlag(id, flag); }
void Kx3dEngine::PrepareDraw() { Kxi_PrepareDraw(); }
std::int32_t Kx3dEngine::ReadModelFile(std::int32_t mode, const char* path, char* message,
                                       std::int32_t handle, std::int32_t* count) {
  return Kxi_ReadModelFile(mode, path, message, handle, count);
}
void Kx3dEngine::FinishRead(std::int32_t a, std::int32_t b) { Kxi_FinishRead(a, b); }

std::optional<KxHost::Size> Win32KxHost::WindowSize(WindowId window) {
  RECT rect;
  if (!GetWindowRect(HwndOf(window), &rect)) return std::nullopt;
  return Size{rect.right - rect.left, rect.bottom - rect.top};
}

std::string Win32KxHost::CanonicalPath(const std::string& path) {
  if (path.size() >= MAX_PATH) return std::string();
  char canonical[MAX_PATH] = {};
  if (!PathCanonicalizeA(canonical, path.c_str())) return std::string();
  return canonical;
}

std::string Win32KxHost::TempFolder() {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return std::string();
  return folder;
}

KxIf& ProcessEngineSession() {
  static Kx3dEngine engine;
  static Win32KxHost host;
  static Win32FileSystem files;
  static KxIf session(engine, host, files, ProcessLog());
  return session;
}

}  // namespace kx

// Stand-in for the outside 3D engine library. Built once per library code
// (KX3D_LIBRARY_CODE), as the installer's variants of the engine are.
//
// This first form keeps the engine's states and answers as the viewer
// expects them (start, drawing set-up into a window, model header and body,
// end); it draws nothing yet.
#include <cstdio>

#include "fitview/engine_api/kx3d_api.h"

#ifndef KX3D_LIBRARY_CODE
#error "KX3D_LIBRARY_CODE names the graphics library of this variant"
#endif

namespace {

struct EngineState {
  bool started = false;
  HWND window = nullptr;
  int32_t next_handle = 0;
  int32_t open_handle = -1;
};
EngineState g_engine;

// A model file begins with these four bytes.
bool HasModelSignature(const char* path) noexcept {
  if (path == nullptr) return false;
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char magic[4] = {};
  const bool ok = std::fread(magic, 1, 4, file) == 4 && magic[0] == 'K' && magic[1] == 'Q' &&
                  magic[2] == '3' && magic[3] == 'D';
  std::fclose(file);
  return ok;
}

}  // namespace

extern "C" {

int32_t WINAPI Kxi_GetGraphicLibrary(void) { return KX3D_LIBRARY_CODE; }

int32_t WINAPI Kxi_Initialize(void) {
  g_engine.started = true;
  return 0;
}
int32_t WINAPI Kxi_Terminate(void) {
  g_engine = EngineState{};
  return 0;
}
int32_t WINAPI Kxi_SetEnvironment(int32_t, int32_t) { return 0; }
int32_t WINAPI Kxi_SetEnvironmentEx(int32_t, int32_t) { return 0; }
int32_t WINAPI Kxi_ForceRGBPixelFormat(int32_t) { return 0; }
int32_t WINAPI Kxi_InitDrawEx(HWND window, int32_t, int32_t, void*, int32_t library_code) {
  if (!g_engine.started || !IsWindow(window) || library_code < 1 || library_code > 3)
    return KX3D_SETUP_FAILED;
  g_engine.window = window;
  return 0;
}
int32_t WINAPI Kxi_ConfirmDraw(void) { return g_engine.window ? 0 : KX3D_SETUP_FAILED; }
int32_t WINAPI Kxi_EndDraw(void) {
  g_engine.window = nullptr;
  return 0;
}
int32_t WINAPI Kxi_SetDrawStep(int32_t) { return 0; }
int32_t WINAPI Kxi_UpdateDraw(void) { return 0; }
int32_t WINAPI Kxi_FitView(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                           int32_t) {
  return 0;
}
int32_t WINAPI Kxi_Redraw(int32_t) { return 0; }
int32_t WINAPI Kxi_RegisterFolder(int32_t, int32_t, const char*) { return 0; }
int32_t WINAPI Kxi_ReadModelHeader(const char* path, int32_t* version, int32_t* parts,
                                   int32_t* flags, int32_t* handle) {
  if (handle == nullptr) return -1;
  if (!g_engine.started || !HasModelSignature(path)) {
    *handle = -1;
    return -1;
  }
  if (version) *version = 1;
  if (parts) *parts = 0;
  if (flags) *flags = 0;
  g_engine.open_handle = g_engine.next_handle++;
  *handle = g_engine.open_handle;
  return 0;
}
int32_t WINAPI Kxi_SetDrawFlag(int32_t, int32_t) { return 0; }
int32_t WINAPI Kxi_PrepareDraw(void) { return 0; }
int32_t WINAPI Kxi_ReadModelFile(int32_t, const char*, char* message, int32_t handle,
                                 int32_t* count) {
  if (message) message[0] = '\0';
  if (count) *count = 0;
  return handle == g_engine.open_handle && handle >= 0 ? 0 : -1;
}
int32_t WINAPI Kxi_FinishRead(int32_t, int32_t) { return 0; }

}  // extern "C"

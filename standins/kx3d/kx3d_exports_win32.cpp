// The exported entry points of the stand-in engine: thin wrappers over the
// one engine of the process. Built once per library code (KX3D_LIBRARY_CODE),
// as the installer's variants of the engine are.
#include <windows.h>

#include <cstring>
#include <new>

#include "common/text.h"
#include "fitview/engine_api/kx3d_api.h"
#include "standins/kx3d/engine.h"
#include "standins/kx3d/engine_instance_win32.h"
#include "standins/kx3d/engine_platform_win32.h"
#include "standins/kx3d/file_attribute_win32.h"
#include "standins/kx3d/kx3d_standin.h"

#ifndef KX3D_LIBRARY_CODE
#error "KX3D_LIBRARY_CODE names the graphics library of this variant"
#endif

namespace {

using kx::kx3d::Engine;

// Destroyed when the library is unloaded, taking down whatever a caller
// left set up (windows whose procedures live in this library).
struct Process {
  kx::kx3d::Win32GraphicsPlatform platform;
  kx::kx3d::Win32EngineFiles files;
  Engine engine{platform, files};
};

Engine& TheEngine() {
  static Process process;
  return process.engine;
}

// Nothing is thrown across an entry point.
template <class F>
int32_t Shielded(int32_t on_failure, F&& call) noexcept {
  try {
    return call();
  } catch (...) {
    return on_failure;
  }
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

kx::kx3d::Engine& kx::kx3d::ProcessEngine() { return TheEngine(); }

extern "C" {

int32_t WINAPI Kxi_GetGraphicLibrary(void) { return KX3D_LIBRARY_CODE; }

int32_t WINAPI Kxi_Initialize(void) {
  return Shielded(-1, [] { return TheEngine().Initialize(); });
}

int32_t WINAPI Kxi_Terminate(void) {
  return Shielded(-1, [] { return TheEngine().Terminate(); });
}

int32_t WINAPI Kxi_SetEnvironment(int32_t id, int32_t value) {
  return Shielded(-1, [&] { return TheEngine().SetEnvironment(id, value); });
}

int32_t WINAPI Kxi_SetEnvironmentEx(int32_t id, int32_t value) {
  return Shielded(-1, [&] { return TheEngine().SetEnvironmentEx(id, value); });
}

int32_t WINAPI Kxi_ForceRGBPixelFormat(int32_t force) {
  return Shielded(-1, [&] { return TheEngine().ForceRgbPixelFormat(force); });
}

int32_t WINAPI Kxi_InitDrawEx(HWND window, int32_t, int32_t option, void*, int32_t library_code) {
  return Shielded(KX3D_SETUP_FAILED, [&] {
    return TheEngine().InitDraw(reinterpret_cast<kx::kx3d::WindowId>(window), option, library_code);
  });
}

int32_t WINAPI Kxi_ConfirmDraw(void) {
  return Shielded(KX3D_SETUP_FAILED, [] { return TheEngine().ConfirmDraw(); });
}

int32_t WINAPI Kxi_EndDraw(void) {
  return Shielded(-1, [] { return TheEngine().EndDraw(); });
}

// The drawing steps the viewer takes around a set-up prepare the real
// engine's scene graph; the stand-in has nothing to prepare.
int32_t WINAPI Kxi_SetDrawStep(int32_t) { return 0; }
int32_t WINAPI Kxi_UpdateDraw(void) { return 0; }
int32_t WINAPI Kxi_SetDrawFlag(int32_t, int32_t) { return 0; }
int32_t WINAPI Kxi_PrepareDraw(void) { return 0; }
int32_t WINAPI Kxi_FinishRead(int32_t, int32_t) {
  return Shielded(-1, [] { return TheEngine().FinishRead(); });
}

// The stand-in always fits the whole model; only the size counts.
int32_t WINAPI Kxi_FitView(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t width,
                           int32_t height) {
  return Shielded(-1, [&] { return TheEngine().FitView(width, height); });
}

int32_t WINAPI Kxi_Redraw(int32_t) {
  return Shielded(-1, [] { return TheEngine().Redraw(); });
}

int32_t WINAPI Kxi_RegisterFolder(int32_t, int32_t, const char* folder) {
  return Shielded(-1, [&] { return TheEngine().RegisterFolder(Text(folder)); });
}

int32_t WINAPI Kxi_ReadModelHeader(const char* path, int32_t* version, int32_t* parts,
                                   int32_t* triangles, int32_t* handle) {
  return Shielded(-1, [&] {
    kx::kx3d::HeaderValues values;
    const int32_t result = TheEngine().ReadModelHeader(Text(path), &values);
    if (result >= 0) {
      if (version) *version = values.version;
      if (parts) *parts = values.parts;
      if (triangles) *triangles = values.triangles;
    }
    // A negative handle is how a caller learns that the file is no model.
    if (handle) *handle = result >= 0 ? result : -1;
    return result >= 0 ? 0 : result;
  });
}

int32_t WINAPI Kxi_ReadModelFile(int32_t, const char* path, char* message, int32_t handle,
                                 int32_t* triangles) {
  return Shielded(-1, [&] {
    std::string text;
    int32_t count = 0;
    const int32_t result = TheEngine().ReadModelFile(Text(path), handle, &text, &count);
    if (message) {
      const std::string cut = kx::CutText(text, 511);  // the caller's buffer holds 512 bytes
      std::memcpy(message, cut.c_str(), cut.size() + 1);
    }
    if (result == 0 && triangles) *triangles = count;
    return result;
  });
}

// The attribute texts of a model file, for the parts search. The path comes
// as a byte string; the two texts go back as byte strings in the caller's
// slots, which are replaced only when the file has attributes.
int32_t WINAPI Kxi_GetFileAttribute(BSTR* path, BSTR* name, BSTR* description) {
  return Shielded(-1, [&]() -> int32_t {
    if (path == nullptr || *path == nullptr || name == nullptr || description == nullptr) return -1;
    const std::string file(reinterpret_cast<const char*>(*path), SysStringByteLen(*path));
    kx::kx3d::FileAttributes attributes;
    const int32_t result = kx::kx3d::ReadModelFileAttributes(file, &attributes);
    if (result != kx::kx3d::kAttributesRead) return result;
    BSTR made_name =
        SysAllocStringByteLen(attributes.name.data(), static_cast<UINT>(attributes.name.size()));
    BSTR made_description = SysAllocStringByteLen(attributes.description.data(),
                                                  static_cast<UINT>(attributes.description.size()));
    if (made_name == nullptr || made_description == nullptr) {
      SysFreeString(made_name);
      SysFreeString(made_description);
      return -1;
    }
    SysFreeString(*name);
    *name = made_name;
    SysFreeString(*description);
    *description = made_description;
    return 0;
  });
}

int32_t WINAPI KxStandin_DescribeDrawing(KxStandinDrawing* drawing) {
  return Shielded(-1, [&] {
    const auto info = TheEngine().Drawing();
    if (!info || drawing == nullptr) return -1;
    KxStandinDrawing d = {};
    d.library = info->library == kx::kx3d::GraphicsLibrary::kOpenGL ? 1 : 2;
    d.width = info->width;
    d.height = info->height;
    d.pixel_format = info->pixel_format;
    d.pixel_format_flags = info->pixel_format_flags;
    d.color_bits = info->color_bits;
    d.alpha_bits = info->alpha_bits;
    d.depth_bits = info->depth_bits;
    d.samples = info->samples;
    d.shadow_map_size = info->shadow_map_size;
    d.per_pixel_lighting = info->per_pixel_lighting ? 1 : 0;
    *drawing = d;
    return 0;
  });
}

int32_t WINAPI KxStandin_ReadFrame(uint8_t* bgr, int32_t capacity, int32_t* width,
                                   int32_t* height) {
  return Shielded(-1, [&] {
    kx::kx3d::FrameImage frame;
    if (TheEngine().ReadFrame(&frame) != 0) return -1;
    if (bgr == nullptr || capacity < 0 || static_cast<std::size_t>(capacity) < frame.bgr.size()) {
      return -2;
    }
    std::memcpy(bgr, frame.bgr.data(), frame.bgr.size());
    if (width) *width = frame.width;
    if (height) *height = frame.height;
    return 0;
  });
}

}  // extern "C"

#include "standins/kx3d/engine_platform_win32.h"

#include <windows.h>

#include "common/product_settings.h"
#include "common/profile_store_win32.h"
#include "platform/win32/unique_resource.h"
#include "standins/kx3d/d3d9_device_win32.h"
#include "standins/kx3d/gl_device_win32.h"
#include "standins/kx3d/surface_window_win32.h"
#include "standins/kx3d/view_window_win32.h"

namespace kx::kx3d {
namespace {

// Larger files are not models this engine would show.
constexpr LONGLONG kMaxModelFileSize = 64LL * 1024 * 1024;

}  // namespace

std::unique_ptr<ViewWindow> Win32GraphicsPlatform::AttachView(WindowId window) noexcept {
  return Win32ViewWindow::Attach(reinterpret_cast<HWND>(window));
}

std::unique_ptr<DrawingDevice> Win32GraphicsPlatform::CreateDevice(const DrawFeatures& features,
                                                                   int width, int height) noexcept {
  if (features.library == GraphicsLibrary::kOpenGL) return CreateGlDevice(features, width, height);
  return CreateD3d9Device(features, width, height);
}

std::optional<std::string> Win32EngineFiles::ReadFile(const std::string& path) noexcept {
  if (path.empty()) return std::nullopt;
  kx::win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxModelFileSize) return std::nullopt;
  try {
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    std::size_t total = 0;
    while (total < bytes.size()) {
      if (!::ReadFile(file.get(), &bytes[total], static_cast<DWORD>(bytes.size() - total), &done,
                      nullptr) ||
          done == 0) {
        return std::nullopt;
      }
      total += done;
    }
    return bytes;
  } catch (...) {
    return std::nullopt;
  }
}

FailureSwitch Win32EngineFiles::ReadFailureSwitch() noexcept {
  try {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(EngineModule(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return FailureSwitch{};
    Win32ProfileStore store;
    return FailureSwitch::Read(store, ModuleFolderOf(path) + kFailureSettingsFile);
  } catch (...) {
    return FailureSwitch{};
  }
}

}  // namespace kx::kx3d

// The graphics capability exports: thin wrappers that bring the Win32
// implementations to the logic and copy its answers into the caller's
// records. Nothing escapes as an exception.
#include <cstring>
#include <new>
#include <string>

#include "common/file_system_win32.h"
#include "common/profile_store_win32.h"
#include "hostkit/gfxcaps/device_acceptability.h"
#include "hostkit/gfxcaps/direct3d_probe_win32.h"
#include "hostkit/gfxcaps/directdraw_probe_win32.h"
#include "hostkit/gfxcaps/dxdiag_devices_win32.h"
#include "hostkit/gfxcaps/engine_library_win32.h"
#include "hostkit/gfxcaps/gl_spec.h"
#include "hostkit/gfxcaps/video_board.h"
#include "hostkit/include/hostkit.h"
#include "platform/win32/full_path.h"

using namespace kx::hostkit;

namespace {

static_assert(HOSTKIT_GLSPEC_CHIPTYPE_BYTES == kSpecChipTypeBytes);
static_assert(HOSTKIT_BOARD_CHIPTYPE_BYTES == kBoardChipTypeBytes);
static_assert(HOSTKIT_MASK_ANTIALIAS == kMaskAntiAlias &&
              HOSTKIT_MASK_SHADOWMAP == kMaskShadowMap && HOSTKIT_MASK_PHONG == kMaskPhong);

struct Platform {
  Win32Direct3DProbe direct3d;
  Win32DiagService diag;
  Win32ThreadCodePage code_page;
  BoardSources sources{direct3d, diag, code_page};
};

// The private-profile functions read a path that is not full from the
// Windows folder: the lists are read from the file that the folder text
// names, made full first (the file's path, not the folder text, which is
// followed by "glspec.ini" directly and may be "." or "C:").
class FullPathProfiles final : public kx::ProfileStore {
 public:
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback,
                         std::size_t buffer_size) override {
    return store_.ReadString(kx::win::FullPath(file), section, key, fallback, buffer_size);
  }
  int ReadInt(const std::string& file, const std::string& section, const std::string& key,
              int fallback) override {
    return store_.ReadInt(kx::win::FullPath(file), section, key, fallback);
  }
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
    return store_.WriteString(kx::win::FullPath(file), section, key, value);
  }
  std::string ReadSection(const std::string& file, const std::string& section,
                          std::size_t buffer_size) override {
    return store_.ReadSection(kx::win::FullPath(file), section, buffer_size);
  }

 private:
  kx::Win32ProfileStore store_;
};

// `text` (which fits) and its terminator into `buffer`.
void CopyText(const std::string& text, char* buffer) {
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
}

}  // namespace

extern "C" {

int32_t WINAPI EnvChk_GetGLType(const char* enginePath) noexcept {
  try {
    Win32EngineLibraryLoader loader;
    return GraphicLibraryType(loader, enginePath);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI EnvChk_GetGLSpec(const char* folder, int32_t mode, EnvChkGLSpec* spec,
                                char* chipType) noexcept {
  if (spec == nullptr || chipType == nullptr) return -1;
  GLSpecResult result;
  try {
    Platform platform;
    FullPathProfiles profiles;
    kx::Win32FileSystem files;
    const DiagThread diag_thread =
        ServiceMayUseItsOwnThread() ? DiagThread::kOwn : DiagThread::kCaller;
    result =
        LookUpGLSpec(platform.sources, profiles, files, folder ? folder : "", mode, diag_thread);
  } catch (...) {
    return -1;  // out of memory: nothing is written
  }
  const GLSpec& s = result.spec;
  spec->AntiAliasAcceptable = s.anti_alias_acceptable;
  spec->ShadowMapAcceptable = s.shadow_map_acceptable;
  spec->PhongShadingAcceptable = s.phong_shading_acceptable;
  spec->DirectXCapable = s.directx_capable;
  spec->DirectX9cCapable = s.directx9c_capable;
  spec->PhongCheck = s.phong_check;
  spec->VideoMemory = s.video_memory;
  spec->DirectX = s.directx;
  spec->DirectX9c = s.directx9c;
  CopyText(result.chip_type, chipType);
  return 0;
}

int32_t WINAPI GetVideoBoradInfo(VideoBoardInfo* info) noexcept {
  if (info == nullptr) return 0;
  try {
    Platform platform;
    const std::optional<BoardReading> reading = ReadVideoBoard(platform.sources);
    if (!reading) return 0;
    if (reading->video_memory) info->VideoMemory = *reading->video_memory;
    if (reading->chip_type) CopyText(*reading->chip_type, info->ChipType);
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI GetVideoMemory(double* memory) noexcept {
  try {
    Platform platform;
    const std::optional<double> megabytes = ReadVideoMemory(platform.sources);
    if (!megabytes) return 0;
    if (memory != nullptr) *memory = *megabytes;
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI GetVideoMemFromDirectDraw(double* memory) noexcept {
  if (memory == nullptr) return 0;
  try {
    Win32DirectDrawProbe directdraw;
    const std::optional<double> megabytes = ReadDirectDrawMemory(directdraw);
    if (!megabytes) return 0;
    *memory = *megabytes;
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI ConformDeviceAcceptable(int32_t libraryCode) noexcept {
  try {
    Win32Direct3DProbe direct3d;
    return ConformDevice(direct3d, libraryCode);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI ConformDeviceAcceptableEx(int32_t libraryCode, uint32_t mask) noexcept {
  try {
    Win32Direct3DProbe direct3d;
    return ConformDeviceEx(direct3d, libraryCode, mask);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI GetAvailableMultiSampleLevel(int32_t, int32_t) noexcept {
  try {
    Win32Direct3DProbe direct3d;
    return AvailableMultiSampleLevel(direct3d);
  } catch (...) {
    return 0;
  }
}

}  // extern "C"

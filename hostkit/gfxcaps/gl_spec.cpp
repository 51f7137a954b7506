#include "hostkit/gfxcaps/gl_spec.h"

#include "common/text.h"
#include "hostkit/gfxcaps/chip_lists.h"
#include "hostkit/gfxcaps/device_acceptability.h"

namespace kx::hostkit {

namespace {

// The memory the DirectX library needs, in megabytes.
constexpr double kDirectXMemory = 32.0;

}  // namespace

GLSpecResult LookUpGLSpec(const BoardSources& sources, ProfileStore& profiles, FileSystem& files,
                          const std::string& folder, std::int32_t mode) {
  GLSpec spec;
  std::string chip;
  if (const std::optional<BoardReading> board = ReadVideoBoard(sources)) {
    // The board's own fields start as -1.0 and empty, so that what the
    // service leaves out stays unknown.
    spec.video_memory = board->video_memory.value_or(-1.0);
    chip = board->chip_type.value_or(std::string());
  }
  if (chip.empty()) chip = kUnknownChip;

  Direct3DProbe& direct3d = sources.direct3d;
  spec.anti_alias_acceptable = ConformDeviceEx(direct3d, kLibraryDirectXShader, kMaskAntiAlias);
  spec.shadow_map_acceptable = ConformDeviceEx(direct3d, kLibraryDirectXShader, kMaskShadowMap);
  spec.phong_shading_acceptable = ConformDeviceEx(direct3d, kLibraryDirectXShader, kMaskPhong);

  ChipLists lists(profiles, files, folder);
  if (mode != 1) {
    spec.anti_alias_acceptable = 0;
  } else if (spec.anti_alias_acceptable > 0 && lists.Lists(chip, kDisableAntiAlias)) {
    spec.anti_alias_acceptable = 0;
  }
  if (spec.phong_shading_acceptable > 0 && lists.Lists(chip, kDisablePhong)) {
    spec.phong_shading_acceptable = 0;
  }

  spec.directx = spec.video_memory >= kDirectXMemory ? 1 : 0;
  spec.directx_capable = spec.directx;
  spec.directx9c = spec.directx == 1 && spec.shadow_map_acceptable > 0 ? 1 : 0;
  spec.directx9c_capable = spec.phong_check = spec.directx9c;
  if (spec.directx9c == 1 && lists.Lists(chip, kDirectXSpec)) {
    spec.directx9c = spec.directx9c_capable = spec.phong_check = 0;
  }
  if (spec.directx9c == 1 && lists.Lists(chip, kUncheckPhong)) spec.phong_check = 0;

  return GLSpecResult{spec, CutText(chip, kSpecChipTypeBytes - 1)};
}

std::int32_t GraphicLibraryType(EngineLibraryLoader& loader, const char* path) {
  if (path == nullptr) return 0;
  const std::unique_ptr<EngineLibrary> library = loader.Load(path);
  if (!library) return 0;
  return library->GraphicLibrary().value_or(0);
}

}  // namespace kx::hostkit

#include "hostkit/gfxcaps/gl_spec.h"

#include <future>
#include <system_error>
#include <vector>

#include "common/text.h"
#include "hostkit/gfxcaps/chip_lists.h"
#include "hostkit/gfxcaps/device_acceptability.h"

namespace kx::hostkit {

namespace {

// The memory the DirectX library needs, in megabytes.
constexpr double kDirectXMemory = 32.0;

}  // namespace

GLSpecResult LookUpGLSpec(const BoardSources& sources, ProfileStore& profiles, FileSystem& files,
                          const std::string& folder, std::int32_t mode, DiagThread diag_thread) {
  using Devices = std::optional<std::vector<DiagDeviceFacts>>;
  DiagService& diag = sources.diag;
  std::future<Devices> own_thread;
  if (diag_thread == DiagThread::kOwn) {
    try {
      own_thread = std::async(std::launch::async, [&diag] { return ReadDisplayDevices(diag); });
    } catch (const std::system_error&) {
      // No thread to be had: the service is read on this one, afterwards.
    }
  }

  GLSpec spec;
  std::optional<Guid> adapter_id;  // none without Direct3D 9
  {
    const std::unique_ptr<Direct3DAdapter> adapter = sources.direct3d.Open();
    // All zeros when the identifier cannot be read.
    if (adapter) adapter_id = adapter->DeviceIdentifier().value_or(Guid{});
    spec.anti_alias_acceptable =
        ConformDeviceEx(adapter.get(), kLibraryDirectXShader, kMaskAntiAlias);
    spec.shadow_map_acceptable =
        ConformDeviceEx(adapter.get(), kLibraryDirectXShader, kMaskShadowMap);
    spec.phong_shading_acceptable =
        ConformDeviceEx(adapter.get(), kLibraryDirectXShader, kMaskPhong);
  }
  // Without Direct3D the adapter has no name to look for: the service is
  // not asked (a reading started beside is waited for and let go).
  Devices devices;
  if (own_thread.valid()) {
    devices = own_thread.get();
  } else if (adapter_id) {
    devices = ReadDisplayDevices(diag);
  }

  std::string chip;
  if (adapter_id && devices) {
    if (const std::optional<BoardReading> board =
            BoardOf(*devices, *adapter_id, sources.code_page)) {
      // What the service leaves out stays unknown.
      spec.video_memory = board->video_memory.value_or(-1.0);
      chip = board->chip_type.value_or(std::string());
    }
  }
  if (chip.empty()) chip = kUnknownChip;

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

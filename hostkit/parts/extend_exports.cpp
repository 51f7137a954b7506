// The extended parts information, back image, hatch script and display
// attribute exports: thin wrappers that bring the engine (loaded per call,
// or the engine link for the display attributes), the files, the message
// box and the caller's string slots to the logic. Nothing escapes as an
// exception; running out of memory gives the export's failure result.
#include <windows.h>
// windows.h first
#include <oleauto.h>

#include <cstring>
#include <string>

#include "hostkit/include/hostkit.h"
#include "hostkit/parts/attribute_block.h"
#include "hostkit/parts/back_image.h"
#include "hostkit/parts/display_attr.h"
#include "hostkit/parts/display_attr_engine_win32.h"
#include "hostkit/parts/engine_link_win32.h"
#include "hostkit/parts/extend_engine_win32.h"
#include "hostkit/parts/extend_info.h"
#include "hostkit/parts/extend_info_current.h"
#include "hostkit/parts/hatch_script.h"
#include "hostkit/parts/view_record.h"
#include "hostkit/shell/text_slot_win32.h"

using namespace kx::hostkit;

namespace {

// The title of the library's own messages: the name the library goes by.
constexpr char kMessageTitle[] = "Hostkit";

// A back image asked for without a target: as a target that cannot be
// opened, nothing is written and nothing is shown.
class NoTargetFiles final : public Win32BackImageFiles {
 public:
  std::optional<std::string> CreateTemporaryFile(const std::string&) override {
    return std::nullopt;
  }
  std::optional<FileErrorCause> WriteFileDirectly(const std::string&, const std::uint8_t*,
                                                  std::size_t) override {
    return std::nullopt;
  }
};

void ReleaseCurrent(PartsAttributeBlock* block) { delete block; }

// Process-wide, as the host expects between its calls; the host calls from
// its user-interface thread only.
CurrentPartsInfo<PartsAttributeBlock>& Current() {
  static CurrentPartsInfo<PartsAttributeBlock> current(&ReleaseCurrent);
  return current;
}

PendingPartsStrings& Pending() {
  static PendingPartsStrings pending;
  return pending;
}

void CopyVector(const std::array<float, 3>& from, float* to) {
  if (to != nullptr) std::memcpy(to, from.data(), sizeof(float) * 3);
}

}  // namespace

extern "C" {

int32_t WINAPI ReadExtendPartsInfo(int32_t partsIndex) noexcept {
  try {
    return Current().Read([&]() -> PartsAttributeBlock* {
      IKX3DInterface* link = EngineLink();
      if (link == nullptr) return nullptr;
      Win32PartsEngine engine(*link);
      Win32SystemCodec codec;
      Win32DebugTrace trace;
      return BuildAttributeBlock({&engine, &codec, &trace}, partsIndex, false).release();
    });
  } catch (...) {
    return 0;  // the old block went first; none is current
  }
}

int32_t WINAPI GetExtendPartsInfo(uint32_t id, BSTR* text) noexcept {
  PartsAttributeBlock* block = Current().Get();
  if (block == nullptr) return 0;
  (void)GetPartsAttribute(block, id, text);
  return 1;
}

int32_t WINAPI GetExtendPartsInfoVar(uint32_t id, VARIANT* value) noexcept {
  PartsAttributeBlock* block = Current().Get();
  if (block == nullptr) return 0;
  (void)GetPartsAttributeVar(block, id, value);
  return 1;
}

int32_t WINAPI ClearExtendPartsInfo(void) noexcept {
  Current().Clear();
  return 1;
}

int32_t WINAPI SetExtendPartsInfoData(const char* text) noexcept {
  try {
    Pending().Append(text);
  } catch (...) {
    // A string the list cannot hold is not kept; the host has no way to
    // hear of it but the block it writes.
  }
  return 1;
}

int32_t WINAPI SetExtendPartsInfo(int32_t partsIndex) noexcept {
  try {
    Win32ExtendEngineLoader loader;
    return Pending().WriteTo(loader, partsIndex);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI copyExPartsInfoHeadToPartsEx(int32_t partsIndex, int32_t type) noexcept {
  try {
    Win32ExtendEngineLoader loader;
    return CopyHeadBlockToParts(loader, partsIndex, type);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI copyExPartsInfoHeadToParts(int32_t partsIndex) noexcept {
  return copyExPartsInfoHeadToPartsEx(partsIndex, kAttributeStringsBlock);
}

int32_t WINAPI GetPartsView(int32_t partsIndex, float* first, float* second, float* value1,
                            float* value2, float* value3, BSTR* name) noexcept {
  try {
    Win32ExtendEngineLoader loader;
    const std::optional<ViewRecord> view = ReadPartsView(loader, partsIndex);
    if (!view) return 0;
    CopyVector(view->first, first);
    CopyVector(view->second, second);
    float* const values[3] = {value1, value2, value3};
    for (int i = 0; i < 3; ++i) {
      if (values[i] != nullptr) *values[i] = view->values[static_cast<std::size_t>(i)];
    }
    (void)hostkit::SetTextSlot(name, view->name);
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI SetExtendBackImage(const char* path) noexcept {
  if (path == nullptr) return 0;
  try {
    Win32ExtendEngineLoader loader;
    Win32BackImageFiles files;
    return StoreBackImage(loader, files, path);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI GetExtendBackImage(const char* path, BSTR* name) noexcept {
  try {
    Win32ExtendEngineLoader loader;
    Win32BackImageFiles files;
    NoTargetFiles no_target;
    const BackImageWrite written = path != nullptr ? WriteBackImage(loader, files, path)
                                                   : WriteBackImage(loader, no_target, "");
    if (written.result == 0) return 0;
    (void)hostkit::SetTextSlot(name, written.name);
    if (written.message) {
      MessageBoxA(GetActiveWindow(), written.message->c_str(), kMessageTitle,
                  MB_OK | MB_ICONEXCLAMATION);
    }
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI ClearExtendBackImage(int32_t partsIndex) noexcept {
  try {
    Win32ExtendEngineLoader loader;
    return ClearBackImage(loader, partsIndex);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI LoadExtendShasenScript(int32_t partsIndex, int32_t target) noexcept {
  try {
    Win32ExtendEngineLoader loader;
    return LoadHatchScript(loader, partsIndex, target);
  } catch (...) {
    return 0;
  }
}

void WINAPI SetDispAttrToWalls(int32_t rootPartsIndex, int32_t viewIndex, uint32_t bits,
                               uint32_t flags) noexcept {
  try {
    IKX3DInterface* link = EngineLink();
    if (link == nullptr) return;  // without the engine there are no parts
    Win32DisplayAttrEngine engine(*link);
    SetDisplayBitsOnWalls(engine, rootPartsIndex, viewIndex, bits, flags);
  } catch (...) {
    // What was written before the failure stays; the host is told nothing.
  }
}

int32_t WINAPI SetDispAttrToShapes(int32_t partsIndex, uint32_t bits, uint32_t on,
                                   uint32_t recurse) noexcept {
  try {
    IKX3DInterface* link = EngineLink();
    if (link == nullptr) return 0;
    Win32DisplayAttrEngine engine(*link);
    SetDisplayBitsOnShapes(engine, partsIndex, bits, SwitchOn(on), SwitchOn(recurse));
  } catch (...) {
  }
  return 0;
}

}  // extern "C"

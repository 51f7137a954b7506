// The graphics features that the environment check's 3D test may try on
// this machine: the adapter's measured capabilities, narrowed by the
// per-chip exception lists of "glspec.ini"; and the engine library's own
// statement of which graphics library it drives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_system.h"
#include "common/profile_store.h"
#include "hostkit/gfxcaps/engine_library.h"
#include "hostkit/gfxcaps/video_board.h"

namespace kx::hostkit {

// Room for the chip description beside the capability record, terminator
// included.
constexpr std::size_t kSpecChipTypeBytes = 260;

// The chip text the lists are matched against when the adapter has none.
constexpr char kUnknownChip[] = "unknown";

// The capability record, field for field (flags are 0 or 1).
struct GLSpec {
  std::int32_t anti_alias_acceptable = 0;
  std::int32_t shadow_map_acceptable = 0;
  std::int32_t phong_shading_acceptable = 0;
  std::int32_t directx_capable = 0;    // always equal to directx
  std::int32_t directx9c_capable = 0;  // always equal to directx9c
  std::int32_t phong_check = 0;        // the 3D test tries the Phong configurations
  double video_memory = -1.0;          // megabytes; -1.0 when unknown
  std::int32_t directx = 0;
  std::int32_t directx9c = 0;
};

struct GLSpecResult {
  GLSpec spec;
  // The chip description, or "unknown"; cut on a character boundary to fit
  // kSpecChipTypeBytes with its terminator.
  std::string chip_type;
};

// Where the diagnostic service is read during a lookup: on the calling
// thread once the Direct3D questions are answered, or on a thread of its own
// while they are asked (the service is slow to start, and Direct3D does not
// wait for it). The answer is the same either way.
enum class DiagThread { kCaller, kOwn };

// Measures the adapter afresh and applies the lists found at `folder` +
// "glspec.ini" (no lists for an empty folder). `mode` 1 considers
// anti-aliasing; any other value rules it out. All Direct3D questions of the
// lookup go to one Direct3D object, released before the lists are read.
[[nodiscard]] GLSpecResult LookUpGLSpec(const BoardSources& sources, ProfileStore& profiles,
                                        FileSystem& files, const std::string& folder,
                                        std::int32_t mode,
                                        DiagThread diag_thread = DiagThread::kCaller);

// The engine library's graphics library code (1, 2 or 3) as it answers it,
// or 0 when the library at `path` cannot be loaded or does not say.
[[nodiscard]] std::int32_t GraphicLibraryType(EngineLibraryLoader& loader, const char* path);

}  // namespace kx::hostkit

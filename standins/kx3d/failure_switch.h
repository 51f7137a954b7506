// The stand-in's failure switch for tests: a settings file beside the engine
// library ("kx3d_standin.ini") names one step that is to fail, and which
// call of it:
//
//   [Failure]
//   Step=Kxi_InitDrawEx
//   Call=2
//
// Step is one of Kxi_Initialize, Kxi_InitDrawEx, Kxi_ConfirmDraw,
// Kxi_ReadModelHeader, Kxi_ReadModelFile; Call counts the calls of that step
// since the engine was started (1 = the first), 0 or missing = every call.
// The file is read each time the engine starts.
//
// One more key makes the engine draw wrong instead of failing, as a driver
// that drops an effect does: DrawWithout=Shadows, Phong or Shadows,Phong
// leaves those effects out of every picture while the set-up still succeeds.
#pragma once

#include <array>
#include <string>

#include "common/profile_store.h"
#include "standins/kx3d/draw_options.h"

namespace kx::kx3d {

enum class EngineStep {
  kInitialize,
  kInitDraw,
  kConfirmDraw,
  kReadModelHeader,
  kReadModelFile,
  kCount
};

inline constexpr char kFailureSettingsFile[] = "kx3d_standin.ini";

class FailureSwitch {
 public:
  FailureSwitch() = default;
  // Reads the settings of `file`; a missing file, section or unknown step
  // name fails nothing.
  static FailureSwitch Read(ProfileStore& store, const std::string& file);

  // Counts one call of `step` and tells whether this call is to fail.
  bool Fails(EngineStep step);
  // Takes out of `features` the effects that are to be left out.
  void DrawWrong(DrawFeatures& features) const;

 private:
  bool armed_ = false;
  EngineStep step_ = EngineStep::kInitialize;
  int call_ = 0;
  bool without_shadows_ = false;
  bool without_phong_ = false;
  std::array<int, static_cast<int>(EngineStep::kCount)> calls_{};
};

}  // namespace kx::kx3d

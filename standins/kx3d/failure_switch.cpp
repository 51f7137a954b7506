#include "standins/kx3d/failure_switch.h"

namespace kx::kx3d {
namespace {

struct StepName {
  EngineStep step;
  const char* name;
};
constexpr StepName kStepNames[] = {
    {EngineStep::kInitialize, "Kxi_Initialize"},
    {EngineStep::kInitDraw, "Kxi_InitDrawEx"},
    {EngineStep::kConfirmDraw, "Kxi_ConfirmDraw"},
    {EngineStep::kReadModelHeader, "Kxi_ReadModelHeader"},
    {EngineStep::kReadModelFile, "Kxi_ReadModelFile"},
};

}  // namespace

FailureSwitch FailureSwitch::Read(ProfileStore& store, const std::string& file) {
  FailureSwitch result;
  const std::string step = store.ReadString(file, "Failure", "Step", "", 64);
  for (const StepName& entry : kStepNames) {
    if (step == entry.name) {
      result.armed_ = true;
      result.step_ = entry.step;
    }
  }
  result.call_ = store.ReadInt(file, "Failure", "Call", 0);
  const std::string without = store.ReadString(file, "Failure", "DrawWithout", "", 64);
  result.without_shadows_ = without.find("Shadows") != std::string::npos;
  result.without_phong_ = without.find("Phong") != std::string::npos;
  return result;
}

void FailureSwitch::DrawWrong(DrawFeatures& features) const {
  if (without_shadows_) features.shadow_map_level = 0;
  if (without_phong_) features.phong = false;
}

bool FailureSwitch::Fails(EngineStep step) {
  const int count = ++calls_[static_cast<int>(step)];
  if (!armed_ || step != step_) return false;
  return call_ <= 0 || count == call_;
}

}  // namespace kx::kx3d

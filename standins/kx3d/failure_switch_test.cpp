#include "standins/kx3d/failure_switch.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_file_system.h"

namespace kx::kx3d {
namespace {

constexpr char kFile[] = "C:\\app\\kx3d_standin.ini";

FailureSwitch Switch(const char* step, const char* call = nullptr) {
  test::MemoryProfileStore store;
  if (step) store.Set(kFile, "Failure", "Step", step);
  if (call) store.Set(kFile, "Failure", "Call", call);
  return FailureSwitch::Read(store, kFile);
}

TEST(FailureSwitch, NoFileFailsNothing) {
  FailureSwitch s = Switch(nullptr);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(s.Fails(EngineStep::kInitialize));
    EXPECT_FALSE(s.Fails(EngineStep::kInitDraw));
    EXPECT_FALSE(s.Fails(EngineStep::kReadModelHeader));
  }
}

TEST(FailureSwitch, NamedStepFailsEveryCallWithoutACallNumber) {
  FailureSwitch s = Switch("Kxi_ConfirmDraw");
  EXPECT_TRUE(s.Fails(EngineStep::kConfirmDraw));
  EXPECT_TRUE(s.Fails(EngineStep::kConfirmDraw));
  EXPECT_FALSE(s.Fails(EngineStep::kInitDraw));
  EXPECT_FALSE(s.Fails(EngineStep::kInitialize));
}

TEST(FailureSwitch, CallNumberPicksOneCallOfTheStep) {
  FailureSwitch s = Switch("Kxi_InitDrawEx", "2");
  EXPECT_FALSE(s.Fails(EngineStep::kReadModelHeader));  // other steps do not count
  EXPECT_FALSE(s.Fails(EngineStep::kInitDraw));
  EXPECT_TRUE(s.Fails(EngineStep::kInitDraw));
  EXPECT_FALSE(s.Fails(EngineStep::kInitDraw));
}

TEST(FailureSwitch, EveryStepHasItsName) {
  EXPECT_TRUE(Switch("Kxi_Initialize").Fails(EngineStep::kInitialize));
  EXPECT_TRUE(Switch("Kxi_InitDrawEx").Fails(EngineStep::kInitDraw));
  EXPECT_TRUE(Switch("Kxi_ConfirmDraw").Fails(EngineStep::kConfirmDraw));
  EXPECT_TRUE(Switch("Kxi_ReadModelHeader").Fails(EngineStep::kReadModelHeader));
  EXPECT_TRUE(Switch("Kxi_ReadModelFile").Fails(EngineStep::kReadModelFile));
}

TEST(FailureSwitch, UnknownStepNamesFailNothing) {
  FailureSwitch s = Switch("kxi_initialize");  // names are exact
  EXPECT_FALSE(s.Fails(EngineStep::kInitialize));
  FailureSwitch blank = Switch("");
  EXPECT_FALSE(blank.Fails(EngineStep::kInitialize));
}

TEST(FailureSwitch, DrawWithoutLeavesEffectsOutAndFailsNothing) {
  const auto drawn = [](const char* without) {
    test::MemoryProfileStore store;
    store.Set(kFile, "Failure", "DrawWithout", without);
    FailureSwitch s = FailureSwitch::Read(store, kFile);
    EXPECT_FALSE(s.Fails(EngineStep::kInitDraw));
    DrawFeatures f;
    f.shadow_map_level = 3;
    f.phong = true;
    f.antialias_level = 1;
    s.DrawWrong(f);
    EXPECT_EQ(f.antialias_level, 1);
    return std::make_pair(f.shadow_map_level, f.phong);
  };
  EXPECT_EQ(drawn("Shadows"), std::make_pair(0, true));
  EXPECT_EQ(drawn("Phong"), std::make_pair(3, false));
  EXPECT_EQ(drawn("Shadows,Phong"), std::make_pair(0, false));
  EXPECT_EQ(drawn(""), std::make_pair(3, true));
}

}  // namespace
}  // namespace kx::kx3d

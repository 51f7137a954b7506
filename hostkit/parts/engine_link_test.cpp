#include "hostkit/parts/engine_link.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace kx::hostkit {
namespace {

// Libraries that load or not and lack whichever entry points a test says.
struct FakeModules final : EngineModules {
  bool present = true;
  std::set<std::string> missing;
  std::vector<std::string> loads;
  std::vector<std::string> looked_up;
  int alive = 0;

  struct Module final : EngineModule {
    FakeModules& owner;
    explicit Module(FakeModules& o) : owner(o) { ++owner.alive; }
    ~Module() override { --owner.alive; }
    void* Find(const char* name) override {
      owner.looked_up.push_back(name);
      if (owner.missing.count(name) != 0) return nullptr;
      return const_cast<char*>(name);  // any address that tells the entry points apart
    }
  };

  std::unique_ptr<EngineModule> Load(const std::string& file) override {
    loads.push_back(file);
    if (!present) return nullptr;
    return std::make_unique<Module>(*this);
  }
};

TEST(EngineLink, ResolvesTheTwentyEntryPointsInOrder) {
  FakeModules modules;
  IKX3DInterface link(modules);
  EXPECT_FALSE(link.loaded());
  ASSERT_TRUE(link.EnsureLoaded());
  EXPECT_TRUE(link.loaded());
  EXPECT_STREQ(link.file_name(), "kx3d.dll");
  EXPECT_EQ(modules.loads, std::vector<std::string>{"kx3d.dll"});
  ASSERT_EQ(modules.looked_up.size(), 20u);
  EXPECT_EQ(modules.looked_up.front(), "Kxi_CheckPartsIndex");
  EXPECT_EQ(modules.looked_up[6], "Kxi_GetAttribute");
  EXPECT_EQ(modules.looked_up[16], "Kxi_SetPartsExtendBlockDataEx");
  EXPECT_EQ(modules.looked_up.back(), "Kxi_GetView");
  EXPECT_STREQ(static_cast<const char*>(link.Address(EngineEntry::kGetMakerAttribute)),
               "Kxi_GetMakerAttribute");

  // Loaded stays loaded: no further loading.
  EXPECT_TRUE(link.EnsureLoaded());
  EXPECT_EQ(modules.loads.size(), 1u);
  EXPECT_EQ(modules.alive, 1);
}

TEST(EngineLink, AMissingLibraryOrEntryPointLeavesItUnloadedAndIsTriedAgain) {
  FakeModules modules;
  IKX3DInterface link(modules);
  modules.present = false;
  EXPECT_FALSE(link.EnsureLoaded());
  EXPECT_STREQ(link.file_name(), "");

  modules.present = true;
  modules.missing = {"Kxi_GetShapeNum"};
  EXPECT_FALSE(link.EnsureLoaded());
  EXPECT_FALSE(link.loaded());
  EXPECT_EQ(modules.alive, 0);  // the library went again
  EXPECT_EQ(modules.looked_up.back(), "Kxi_GetShapeNum");
  EXPECT_EQ(modules.looked_up.size(), 9u);  // nothing after the first missing one
  EXPECT_EQ(link.Address(EngineEntry::kCheckPartsIndex), nullptr);

  modules.missing.clear();
  EXPECT_TRUE(link.EnsureLoaded());
  EXPECT_EQ(modules.loads.size(), 3u);
  EXPECT_EQ(modules.alive, 1);
}

TEST(EngineLink, UnloadsTheLibraryWhenItGoes) {
  FakeModules modules;
  {
    IKX3DInterface link(modules);
    ASSERT_TRUE(link.EnsureLoaded());
    EXPECT_EQ(modules.alive, 1);
  }
  EXPECT_EQ(modules.alive, 0);
}

}  // namespace
}  // namespace kx::hostkit

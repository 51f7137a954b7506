#include "fitcheck/core/result_store.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_graphics.h"
#include "tests/fakes/fake_system_info.h"
#include "tests/fakes/memory_log.h"
#include "tests/fakes/memory_registry.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;
using test::MemoryRegistry;

constexpr const char* kEnvironment = "Software\\HALVANE\\3D Domirel Designer ZT 3\\Environment";
constexpr const char* kDirectories = "Software\\HALVANE\\3D Domirel Designer ZT 3\\Directories";

class FakeModuleFiles final : public ModuleFiles {
 public:
  std::set<std::string> existing;
  Strings copies;  // "from>to"
  bool ResetAttributes(const std::string& path) override { return existing.count(path) != 0; }
  bool Copy(const std::string& from, const std::string& to) override {
    if (!existing.count(from)) return false;
    copies.push_back(from + ">" + to);
    return true;
  }
};

class ResultStoreTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  FakeModuleFiles files;
  test::FakeGraphics graphics;
  test::FakeSystemInfo system;
  test::MemoryLog log;
  ResultStore store{registry, files, graphics, log.writer, kEnvironment, kDirectories};

  const KxGLOption a{true, true, true, true, true, true, "testA.bmp"};
  const KxGLOption c{true, true, false, true, true, true, "testC.bmp"};
  const KxGLOption i{false, false, false, false, false, true, "testI.bmp"};
  const KxGLOption j{false, false, false, false, true, true, "testJ.bmp"};

  // An environment whose capabilities came from the graphics lookup.
  void Measure(CKxEnv& env, double video_memory, const std::string& chip) {
    graphics.spec = test::FakeGraphics::Capable();
    graphics.spec.ShadowMapAcceptable = 0;
    graphics.spec.VideoMemory = video_memory;
    graphics.chip = chip;
    env.CheckGLEnv();
  }
  std::uint32_t Dword(const char* name) {
    const auto* v = registry.FindValue(RegistryRoot::kCurrentUser, kEnvironment, name);
    EXPECT_TRUE(v && v->type == MemoryRegistry::Value::kDword) << name;
    return v ? v->dword : 0xFFFFFFFF;
  }
  std::string String(const char* name) {
    const auto* v = registry.FindValue(RegistryRoot::kCurrentUser, kEnvironment, name);
    EXPECT_TRUE(v && v->type == MemoryRegistry::Value::kString) << name;
    return v ? v->bytes : "<absent>";
  }
  void InstallDirectories(const std::string& program, const std::string& install) {
    auto key = registry.CreateKey(RegistryRoot::kLocalMachine, kDirectories, "", RegistryAccess::kAll);
    ASSERT_TRUE(key->SetString("ProgramDir", program));
    ASSERT_TRUE(key->SetString("InstallDir", install));
  }
};

TEST_F(ResultStoreTest, OutcomeCodeAndItsKey) {
  ASSERT_TRUE(store.WriteEnvCheckResult(1));
  EXPECT_EQ(Dword("EnvCheckResult"), 1u);
  EXPECT_EQ(registry.Find(RegistryRoot::kCurrentUser, kEnvironment)->key_class, "Application Data");
  ASSERT_TRUE(store.WriteEnvCheckResult(3));
  EXPECT_EQ(Dword("EnvCheckResult"), 3u);
}

TEST_F(ResultStoreTest, SettingsOfConfigurationC) {
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\App\\");
  Measure(env, 128.0, "Radeon");
  ASSERT_TRUE(store.StoreGraphicSettings(c, env));
  const auto* key = registry.Find(RegistryRoot::kCurrentUser, kEnvironment);
  Strings names;
  for (const auto& v : key->values) names.push_back(v.first);
  EXPECT_EQ(names, (Strings{"GraphicLibrary", "AntiAliasAcceptable", "ShadowMapAcceptable",
                            "PhongShadingAcceptable", "ShadowMapResolutionLv", "ShadingMethod",
                            "PerspectiveViewAntialiasLv", "ReusePixelFormat", "ChipType", "VideoMemory"}));
  EXPECT_EQ(Dword("GraphicLibrary"), 3u);
  EXPECT_EQ(Dword("AntiAliasAcceptable"), 1u);
  EXPECT_EQ(Dword("ShadowMapAcceptable"), 0u);
  EXPECT_EQ(Dword("PhongShadingAcceptable"), 1u);
  EXPECT_EQ(Dword("ShadowMapResolutionLv"), 0u);
  EXPECT_EQ(Dword("ShadingMethod"), 1u);
  EXPECT_EQ(Dword("PerspectiveViewAntialiasLv"), 1u);
  EXPECT_EQ(Dword("ReusePixelFormat"), 0u);
  EXPECT_EQ(String("ChipType"), std::string("Radeon\0", 7));
  EXPECT_EQ(String("VideoMemory"), std::string("128\0", 4));
}

TEST_F(ResultStoreTest, OpenGLConfigurationsAndValueForms) {
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\App\\");
  Measure(env, 1.5, "");
  ASSERT_TRUE(store.StoreGraphicSettings(j, env));
  EXPECT_EQ(Dword("GraphicLibrary"), 1u);
  EXPECT_EQ(Dword("ReusePixelFormat"), 0u);
  EXPECT_EQ(String("VideoMemory"), std::string("1.5\0", 4));
  EXPECT_EQ(String("ChipType"), std::string("\0", 1));  // the terminator alone
  ASSERT_TRUE(store.StoreGraphicSettings(i, env));
  EXPECT_EQ(Dword("ReusePixelFormat"), 1u);

  CKxEnv unmeasured({system, graphics, log.writer}, "ZT", "3", "C:\\App\\");
  ASSERT_TRUE(store.StoreGraphicSettings(i, unmeasured));
  EXPECT_EQ(String("VideoMemory"), std::string("-1\0", 3));
}

TEST_F(ResultStoreTest, EachSettingFromItsOwnField) {
  // Capabilities and flags chosen so that any two values swapped show.
  graphics.spec = test::FakeGraphics::Capable();
  graphics.spec.AntiAliasAcceptable = 0;
  graphics.spec.ShadowMapAcceptable = 1;
  graphics.spec.PhongShadingAcceptable = 0;
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\App\\");
  env.CheckGLEnv();
  struct Row {
    KxGLOption option;
    std::uint32_t library, shadow_level, shading, anti_alias_level, reuse_pixel_format;
  };
  const Row rows[] = {
      {{true, true, true, false, true, true, "testB.bmp"}, 3, 3, 0, 1, 0},
      {{true, false, false, true, true, true, "testG.bmp"}, 3, 0, 1, 0, 0},
      {{true, true, false, false, true, true, "testD.bmp"}, 2, 0, 0, 1, 0},
      {{true, false, true, false, true, true, "testF.bmp"}, 3, 3, 0, 0, 0},
      {{false, false, false, false, false, true, "testI.bmp"}, 1, 0, 0, 0, 1},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(store.StoreGraphicSettings(row.option, env));
    const std::string& name = row.option.BmpFile;
    EXPECT_EQ(Dword("GraphicLibrary"), row.library) << name;
    EXPECT_EQ(Dword("AntiAliasAcceptable"), 0u) << name;
    EXPECT_EQ(Dword("ShadowMapAcceptable"), 1u) << name;
    EXPECT_EQ(Dword("PhongShadingAcceptable"), 0u) << name;
    EXPECT_EQ(Dword("ShadowMapResolutionLv"), row.shadow_level) << name;
    EXPECT_EQ(Dword("ShadingMethod"), row.shading) << name;
    EXPECT_EQ(Dword("PerspectiveViewAntialiasLv"), row.anti_alias_level) << name;
    EXPECT_EQ(Dword("ReusePixelFormat"), row.reuse_pixel_format) << name;
  }
}

TEST_F(ResultStoreTest, LibraryFilesForEachCode) {
  InstallDirectories("C:\\Prog", "C:\\Inst");
  struct Row {
    KxGLOption option;
    std::int32_t installed;  // the engine library's code before the switch
    Strings copies;
    const char* logged;
  };
  const Row rows[] = {
      {{false, false, false, false, true, true, "testJ.bmp"}, 3,
       {"C:\\Inst\\kx3dlib\\kx3d.ogl>C:\\Prog\\kx3d.dll", "C:\\Inst\\kx3dlib\\kx3dcol.ogl>C:\\Prog\\kx3dcol.dll"},
       "グラフィックライブラリモジュール LibType 3 から 1 へ切り替え成功"},
      {{true, true, false, false, true, true, "testD.bmp"}, 1,
       {"C:\\Inst\\kx3dlib\\kx3d.drx>C:\\Prog\\kx3d.dll", "C:\\Inst\\kx3dlib\\kx3dcol.drx>C:\\Prog\\kx3dcol.dll"},
       "グラフィックライブラリモジュール LibType 1 から 2 へ切り替え成功"},
      {{true, false, true, false, true, true, "testF.bmp"}, 2,
       {"C:\\Inst\\kx3dlib\\kx3d.ds3>C:\\Prog\\kx3d.dll", "C:\\Inst\\kx3dlib\\kx3dcol.drx>C:\\Prog\\kx3dcol.dll"},
       "グラフィックライブラリモジュール LibType 2 から 3 へ切り替え成功"},
  };
  for (const Row& row : rows) {
    files.copies.clear();
    files.existing = {"C:\\Prog\\kx3d.dll", "C:\\Prog\\kx3dcol.dll"};
    for (const std::string& copy : row.copies) files.existing.insert(copy.substr(0, copy.find('>')));
    graphics.engine_types["C:\\Prog\\kx3d.dll"] = row.installed;
    const std::size_t logged = log.Messages().size();
    EXPECT_TRUE(store.SwitchGraphicLibraryModule(row.option)) << row.option.BmpFile;
    EXPECT_EQ(files.copies, row.copies) << row.option.BmpFile;
    const Strings messages = log.Messages();
    EXPECT_EQ(Strings(messages.begin() + static_cast<std::ptrdiff_t>(logged), messages.end()),
              Strings{row.logged})
        << row.option.BmpFile;
  }
}

TEST_F(ResultStoreTest, UnwritableKeyIsReportedAsAFailure) {
  registry.uncreatable.insert(MemoryRegistry::Name(RegistryRoot::kCurrentUser, kEnvironment));
  CKxEnv env({system, graphics, log.writer}, "ZT", "3", "C:\\App\\");
  EXPECT_FALSE(store.WriteEnvCheckResult(0));
  EXPECT_FALSE(store.StoreGraphicSettings(a, env));
  registry.uncreatable.clear();
  ASSERT_TRUE(store.WriteEnvCheckResult(1));
  registry.Find(RegistryRoot::kCurrentUser, kEnvironment)->read_only = true;
  EXPECT_FALSE(store.WriteEnvCheckResult(0));
  EXPECT_FALSE(store.StoreGraphicSettings(a, env));
  EXPECT_EQ(Dword("EnvCheckResult"), 1u);
}

TEST_F(ResultStoreTest, SwitchFromDirectXToTheShaderLibrary) {
  InstallDirectories("C:\\Prog", "C:\\Inst");
  graphics.engine_types["C:\\Prog\\kx3d.dll"] = 2;
  files.existing = {"C:\\Prog\\kx3d.dll", "C:\\Prog\\kx3dcol.dll", "C:\\Inst\\kx3dlib\\kx3d.ds3",
                    "C:\\Inst\\kx3dlib\\kx3dcol.drx"};
  EXPECT_TRUE(store.SwitchGraphicLibraryModule(a));
  EXPECT_EQ(files.copies, (Strings{"C:\\Inst\\kx3dlib\\kx3d.ds3>C:\\Prog\\kx3d.dll",
                                   "C:\\Inst\\kx3dlib\\kx3dcol.drx>C:\\Prog\\kx3dcol.dll"}));
  EXPECT_EQ(log.Messages(), Strings{"グラフィックライブラリモジュール LibType 2 から 3 へ切り替え成功"});
}

TEST_F(ResultStoreTest, NoSwitchWhenTheLibraryAlreadyMatches) {
  InstallDirectories("C:\\Prog", "C:\\Inst");
  graphics.engine_types["C:\\Prog\\kx3d.dll"] = 3;
  EXPECT_TRUE(store.SwitchGraphicLibraryModule(a));
  EXPECT_TRUE(files.copies.empty());
  EXPECT_TRUE(log.Messages().empty());
}

TEST_F(ResultStoreTest, AMissingVariantFailsButTheOtherPairIsStillCopied) {
  InstallDirectories("C:\\Prog", "C:\\Inst");
  // The engine library cannot be loaded: type 0 never matches.
  files.existing = {"C:\\Prog\\kx3d.dll", "C:\\Prog\\kx3dcol.dll", "C:\\Inst\\kx3dlib\\kx3dcol.ogl"};
  EXPECT_FALSE(store.SwitchGraphicLibraryModule(j));
  EXPECT_EQ(files.copies, Strings{"C:\\Inst\\kx3dlib\\kx3dcol.ogl>C:\\Prog\\kx3dcol.dll"});
  EXPECT_EQ(log.Messages(), Strings{"グラフィックライブラリモジュール LibType 0 から 1 へ切り替え失敗"});
}

TEST_F(ResultStoreTest, NoDirectoriesNoSwitch) {
  EXPECT_TRUE(store.SwitchGraphicLibraryModule(a));
  InstallDirectories("C:\\Prog", "");
  EXPECT_TRUE(store.SwitchGraphicLibraryModule(a));
  EXPECT_TRUE(files.copies.empty());
  EXPECT_TRUE(log.Messages().empty());
}

}  // namespace
}  // namespace kx

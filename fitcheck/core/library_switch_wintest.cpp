// The engine library switch against the real stand-in variant files, with
// Hostkit telling the current library type, as the wizard runs it.
#include <gtest/gtest.h>

#include <windows.h>

#include "common/registry_win32.h"
#include "fitcheck/core/hostkit_capabilities_win32.h"
#include "fitcheck/core/module_files_win32.h"
#include "fitcheck/core/result_store.h"
#include "tests/fakes/memory_log.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx {
namespace {

using test::TempFolder;
using Strings = std::vector<std::string>;

class LibrarySwitchWinTest : public ::testing::Test {
 protected:
  const std::string bin = test::TestProgramFolder() + "..\\bin\\";
  const std::string product = "Software\\KxSwitchTest " + std::to_string(GetCurrentProcessId()) + "\\";
  TempFolder program{"Program Dir"};
  TempFolder install{"Install Dir"};
  Win32Registry registry;
  Win32ModuleFiles files;
  HostkitCapabilities hostkit;
  test::MemoryLog log;
  ResultStore store{registry, files, hostkit, log.writer, product + "Environment", product + "Directories"};

  void SetUp() override {
    CreateDirectoryA((install / "kx3dlib").c_str(), nullptr);
    for (const char* variant : {"kx3d.ogl", "kx3d.drx", "kx3d.ds3", "kx3dcol.ogl", "kx3dcol.drx"}) {
      ASSERT_TRUE(CopyFileA((bin + "kx3dlib\\" + variant).c_str(), (install / "kx3dlib\\" + variant).c_str(),
                            FALSE))
          << variant;
    }
    // Installed as the DirectX library.
    ASSERT_TRUE(CopyFileA((bin + "kx3dlib\\kx3d.drx").c_str(), (program / "kx3d.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "kx3dlib\\kx3dcol.drx").c_str(), (program / "kx3dcol.dll").c_str(), FALSE));
    // The installer's Directories key; its folder values have no trailing backslash.
    auto key = registry.CreateKey(RegistryRoot::kLocalMachine, product + "Directories", "", RegistryAccess::kAll);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetString("ProgramDir", program.path().substr(0, program.path().size() - 1)));
    ASSERT_TRUE(key->SetString("InstallDir", install.path().substr(0, install.path().size() - 1)));
  }
  void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, product.c_str()); }

  std::int32_t CurrentType() { return hostkit.GetGLType(program / "kx3d.dll"); }
  bool SameFile(const std::string& a, const std::string& b) {
    return TempFolder::ReadFile(a) == TempFolder::ReadFile(b);
  }
};

TEST_F(LibrarySwitchWinTest, SwitchesBothFilesToTheAcceptedLibrary) {
  ASSERT_EQ(CurrentType(), 2);
  const KxGLOption a{true, true, true, true, true, true, "testA.bmp"};
  EXPECT_TRUE(store.SwitchGraphicLibraryModule(a));
  EXPECT_EQ(CurrentType(), 3);
  EXPECT_TRUE(SameFile(program / "kx3dcol.dll", install / "kx3dlib\\kx3dcol.drx"));

  // Already the shader library: nothing is copied, nothing logged.
  EXPECT_TRUE(store.SwitchGraphicLibraryModule(a));

  // To OpenGL, over a read-only library file.
  SetFileAttributesA((program / "kx3d.dll").c_str(), FILE_ATTRIBUTE_READONLY);
  const KxGLOption j{false, false, false, false, true, true, "testJ.bmp"};
  EXPECT_TRUE(store.SwitchGraphicLibraryModule(j));
  EXPECT_EQ(CurrentType(), 1);
  EXPECT_TRUE(SameFile(program / "kx3dcol.dll", install / "kx3dlib\\kx3dcol.ogl"));
  EXPECT_EQ(log.Messages(), (Strings{"グラフィックライブラリモジュール LibType 2 から 3 へ切り替え成功",
                                     "グラフィックライブラリモジュール LibType 3 から 1 へ切り替え成功"}));
}

TEST_F(LibrarySwitchWinTest, AMissingVariantFailsButTheOtherPairIsCopied) {
  DeleteFileA((install / "kx3dlib\\kx3d.ogl").c_str());
  const KxGLOption i{false, false, false, false, false, true, "testI.bmp"};
  EXPECT_FALSE(store.SwitchGraphicLibraryModule(i));
  EXPECT_EQ(CurrentType(), 2);
  EXPECT_TRUE(SameFile(program / "kx3dcol.dll", install / "kx3dlib\\kx3dcol.ogl"));
  EXPECT_EQ(log.Messages(), Strings{"グラフィックライブラリモジュール LibType 2 から 1 へ切り替え失敗"});
}

TEST_F(LibrarySwitchWinTest, AMissingTargetCountsAsAFailedPair) {
  DeleteFileA((program / "kx3dcol.dll").c_str());
  const KxGLOption a{true, true, true, true, true, true, "testA.bmp"};
  EXPECT_FALSE(store.SwitchGraphicLibraryModule(a));
  EXPECT_EQ(CurrentType(), 3);
  EXPECT_FALSE(TempFolder::Exists(program / "kx3dcol.dll"));
}

}  // namespace
}  // namespace kx

#include "hostkit/gfxcaps/gl_spec.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "hostkit/gfxcaps/chip_lists.h"
#include "hostkit/gfxcaps/graphics_fakes.h"
#include "tests/fakes/memory_file_system.h"

namespace kx::hostkit {
namespace {

using namespace d3dformat;

// A machine that offers everything: pixel shader 3.0, R32F textures,
// 4 samples, 256 MB.
class GLSpecTest : public ::testing::Test {
 protected:
  const std::string folder = "C:\\Domirel\\";
  const std::string ini = folder + "glspec.ini";
  test::Events events;
  test::FakeDirect3D d3d{events};
  test::FakeDiag diag{events};
  test::FakeCodePage code_page;
  BoardSources sources{d3d, diag, code_page};
  test::RecordingStore profiles;
  kx::test::MemoryFileSystem files;

  GLSpecTest() {
    d3d.AllowTexture(kR32F);
    d3d.multisample = {{kX8R8G8B8, 4}};
    SetBoard(u"256.0 MB", u"RADEON 9600 SERIES");
  }

  void SetBoard(const std::u16string& memory, const std::u16string& chip) {
    diag.devices.clear();
    test::FakeDevice& device = diag.AddDevice(test::kPrimaryIdText);
    device.properties[u"szDisplayMemoryLocalized"] = DiagValue::Text(memory);
    device.properties[u"szChipType"] = DiagValue::Text(chip);
  }
  void List(const std::string& section, const std::string& key, const std::string& value) {
    files.AddFile(ini, 200);
    profiles.inner.Set(ini, section, key, value);
  }
  GLSpecResult LookUp(std::int32_t mode = 1) {
    return LookUpGLSpec(sources, profiles, files, folder, mode);
  }
};

// The flags of a record as one text, for readable comparisons.
std::string Flags(const GLSpec& s) {
  return "aa" + std::to_string(s.anti_alias_acceptable) + " shadow" +
         std::to_string(s.shadow_map_acceptable) + " phong" +
         std::to_string(s.phong_shading_acceptable) + " dx" + std::to_string(s.directx) + "/" +
         std::to_string(s.directx_capable) + " dx9c" + std::to_string(s.directx9c) + "/" +
         std::to_string(s.directx9c_capable) + " check" + std::to_string(s.phong_check);
}

TEST_F(GLSpecTest, ACapableMachineWithoutListsOffersEverything) {
  const GLSpecResult r = LookUp();
  EXPECT_EQ(Flags(r.spec), "aa1 shadow1 phong1 dx1/1 dx9c1/1 check1");
  EXPECT_EQ(r.spec.video_memory, 256.0);
  EXPECT_EQ(r.chip_type, "RADEON 9600 SERIES");
  EXPECT_EQ(d3d.live, 0);
}

TEST_F(GLSpecTest, MeasuredFlagsFollowTheAdapter) {
  d3d.multisample.clear();
  d3d.pixel_shader = test::PixelShader(2);
  EXPECT_EQ(Flags(LookUp().spec), "aa0 shadow1 phong0 dx1/1 dx9c1/1 check1");
  d3d.textures.clear();
  EXPECT_EQ(Flags(LookUp().spec), "aa0 shadow0 phong0 dx1/1 dx9c0/0 check0");
}

TEST_F(GLSpecTest, ModeOtherThanOneRulesOutAntiAliasingWithoutAskingTheList) {
  List(kDisableAntiAlias, "ChipType", "RADEON");
  EXPECT_EQ(Flags(LookUp(0).spec), "aa0 shadow1 phong1 dx1/1 dx9c1/1 check1");
  EXPECT_EQ(Flags(LookUp(2).spec), "aa0 shadow1 phong1 dx1/1 dx9c1/1 check1");
  EXPECT_FALSE(profiles.Asked(kDisableAntiAlias));
  EXPECT_EQ(Flags(LookUp(1).spec), "aa0 shadow1 phong1 dx1/1 dx9c1/1 check1");
  EXPECT_TRUE(profiles.Asked(kDisableAntiAlias));
}

TEST_F(GLSpecTest, ListsAreAskedOnlyWhileTheFeatureIsStillOffered) {
  d3d.multisample.clear();
  d3d.pixel_shader = test::PixelShader(2);
  List(kDisableAntiAlias, "ChipType", "RADEON");
  List(kDisablePhong, "ChipType", "RADEON");
  (void)LookUp();
  EXPECT_FALSE(profiles.Asked(kDisableAntiAlias));
  EXPECT_FALSE(profiles.Asked(kDisablePhong));
}

TEST_F(GLSpecTest, DirectXNeedsAtLeast32Megabytes) {
  SetBoard(u"32.0 MB", u"Chip");
  GLSpecResult r = LookUp();
  EXPECT_EQ(r.spec.video_memory, 32.0);
  EXPECT_EQ(Flags(r.spec), "aa1 shadow1 phong1 dx1/1 dx9c1/1 check1");
  SetBoard(u"31.9 MB", u"Chip");
  r = LookUp();
  EXPECT_EQ(r.spec.video_memory, 31.9);
  // Shadow maps are acceptable, yet without DirectX there is no shader library.
  EXPECT_EQ(Flags(r.spec), "aa1 shadow1 phong1 dx0/0 dx9c0/0 check0");
}

TEST_F(GLSpecTest, UnknownMemoryAndNoChipDescription) {
  diag.devices.clear();  // the service does not list the adapter
  List(kDisableAntiAlias, "ChipType", "nkno");
  const GLSpecResult r = LookUp();
  EXPECT_EQ(r.spec.video_memory, -1.0);
  EXPECT_EQ(r.chip_type, "unknown");
  // The lists are matched against "unknown".
  EXPECT_EQ(Flags(r.spec), "aa0 shadow1 phong1 dx0/0 dx9c0/0 check0");
}

TEST_F(GLSpecTest, AnEmptyChipDescriptionIsUnknownToo) {
  SetBoard(u"4289.7 MB", u"");
  List(kUncheckPhong, "ChipType", "unknown");
  const GLSpecResult r = LookUp();
  EXPECT_EQ(r.chip_type, "unknown");
  EXPECT_EQ(r.spec.video_memory, 4289.7);
  EXPECT_EQ(Flags(r.spec), "aa1 shadow1 phong1 dx1/1 dx9c1/1 check0");
}

TEST_F(GLSpecTest, NoDirect3DAtAll) {
  d3d.available = false;
  const GLSpecResult r = LookUp();
  EXPECT_EQ(Flags(r.spec), "aa0 shadow0 phong0 dx0/0 dx9c0/0 check0");
  EXPECT_EQ(r.spec.video_memory, -1.0);
  EXPECT_EQ(r.chip_type, "unknown");
}

TEST_F(GLSpecTest, DirectXSpecByAFragmentWithdrawsOnlyTheShaderLibrary) {
  List(kDirectXSpec, "ChipType1", "9600");
  const GLSpecResult r = LookUp();
  EXPECT_EQ(Flags(r.spec), "aa1 shadow1 phong1 dx1/1 dx9c0/0 check0");
  EXPECT_EQ(r.spec.video_memory, 256.0);
  // With the shader library gone, UncheckPhong has nothing to say.
  EXPECT_FALSE(profiles.Asked(kUncheckPhong));
}

TEST_F(GLSpecTest, AValueUnderAKeyWithoutChipTypeHasNoEffect) {
  List(kDirectXSpec, "Chip", "9600");
  List(kDisablePhong, "Type", "RADEON");
  EXPECT_EQ(Flags(LookUp().spec), "aa1 shadow1 phong1 dx1/1 dx9c1/1 check1");
}

TEST_F(GLSpecTest, AnEmptyValueListsEveryChip) {
  List(kDisablePhong, "ChipType5", "");
  EXPECT_EQ(Flags(LookUp().spec), "aa1 shadow1 phong0 dx1/1 dx9c1/1 check1");
}

TEST_F(GLSpecTest, DisableAntiAliasAndDisablePhongTouchOnlyTheirFlag) {
  List(kDisableAntiAlias, "ChipType", "RADEON 9600");
  EXPECT_EQ(Flags(LookUp().spec), "aa0 shadow1 phong1 dx1/1 dx9c1/1 check1");
  profiles.inner.files.clear();
  List(kDisablePhong, "ChipType", "SERIES");
  EXPECT_EQ(Flags(LookUp().spec), "aa1 shadow1 phong0 dx1/1 dx9c1/1 check1");
}

TEST_F(GLSpecTest, AFolderWithoutTrailingBackslashFindsNoFile) {
  List(kDisableAntiAlias, "ChipType", "RADEON");
  EXPECT_EQ(LookUpGLSpec(sources, profiles, files, "C:\\Domirel", 1).spec.anti_alias_acceptable, 1);
  // The name is appended as it is: a file of that odd name would be read.
  files.AddFile("C:\\Domirelglspec.ini", 200);
  profiles.inner.Set("C:\\Domirelglspec.ini", kDisableAntiAlias, "ChipType", "RADEON");
  EXPECT_EQ(LookUpGLSpec(sources, profiles, files, "C:\\Domirel", 1).spec.anti_alias_acceptable, 0);
}

TEST_F(GLSpecTest, NoFolderMeansNoLists) {
  List(kDisableAntiAlias, "ChipType", "RADEON");
  EXPECT_EQ(LookUpGLSpec(sources, profiles, files, "", 1).spec.anti_alias_acceptable, 1);
  EXPECT_TRUE(profiles.sections.empty());
}

TEST_F(GLSpecTest, UncheckPhongCountsOnlyWhileDirectX9cIsOffered) {
  List(kUncheckPhong, "ChipType", "RADEON");
  EXPECT_EQ(Flags(LookUp().spec), "aa1 shadow1 phong1 dx1/1 dx9c1/1 check0");
  profiles.sections.clear();
  SetBoard(u"16 MB", u"RADEON 7000");  // no DirectX, so no DirectX 9c
  EXPECT_EQ(Flags(LookUp().spec), "aa1 shadow1 phong1 dx0/0 dx9c0/0 check0");
  EXPECT_FALSE(profiles.Asked(kUncheckPhong));
}

TEST_F(GLSpecTest, TheReturnedChipIsCutOnACharacterBoundaryButMatchedWhole) {
  // 258 bytes, then "表" (95 5C) across the 259-byte limit, then a tail
  // that only the whole description holds.
  SetBoard(u"256 MB", std::u16string(258, u'x') + u"表" + u"TAIL");
  List(kDisablePhong, "ChipType", "TAIL");
  const GLSpecResult r = LookUp();
  EXPECT_EQ(r.chip_type, std::string(258, 'x'));
  EXPECT_EQ(r.spec.phong_shading_acceptable, 0);
  SetBoard(u"256 MB", std::u16string(257, u'x') + u"表" + u"TAIL");
  EXPECT_EQ(LookUp().chip_type, std::string(257, 'x') + "\x95\x5C");
  SetBoard(u"256 MB", std::u16string(259, u'x'));
  EXPECT_EQ(LookUp().chip_type, std::string(259, 'x'));
}

TEST_F(GLSpecTest, OneDirect3DObjectForTheWholeLookup) {
  (void)LookUp();
  EXPECT_EQ(d3d.opens, 1);
  // Direct3D is let go before the service is read on the same thread.
  EXPECT_EQ(events, (test::Events{"d3d open", "d3d close", "diag open", "device open",
                                  "device close", "diag close"}));
}

// The service read on a thread of its own gives the answer it gives when read
// afterwards on the caller's; each fake keeps its own record, as the two
// run at once.
TEST(GLSpecThreadTest, TheServiceOnAThreadOfItsOwnGivesTheSameAnswer) {
  struct Machine {
    const char* name;
    bool direct3d;
    std::uint32_t pixel_shader;
    bool service;
    bool primary_listed;
  };
  const Machine machines[] = {
      {"capable", true, test::PixelShader(3), true, true},
      {"pixel shader 2", true, test::PixelShader(2), true, true},
      {"no Direct3D", false, test::PixelShader(3), true, true},
      {"no service", true, test::PixelShader(3), false, true},
      {"adapter not listed", true, test::PixelShader(3), true, false},
  };
  for (const Machine& m : machines) {
    GLSpecResult answers[2];
    for (const DiagThread where : {DiagThread::kCaller, DiagThread::kOwn}) {
      test::Events d3d_events, diag_events;
      test::FakeDirect3D d3d{d3d_events};
      test::FakeDiag diag{diag_events};
      test::FakeCodePage code_page;
      d3d.available = m.direct3d;
      d3d.pixel_shader = m.pixel_shader;
      d3d.AllowTexture(d3dformat::kR16F);
      d3d.multisample = {{d3dformat::kR5G6B5, 6}};
      diag.available = m.service;
      test::FakeDevice& other = diag.AddDevice(test::kOtherIdText);
      other.properties[u"szDisplayMemoryLocalized"] = DiagValue::Signed(16);
      if (m.primary_listed) {
        test::FakeDevice& device = diag.AddDevice(test::kPrimaryIdText);
        device.properties[u"szDisplayMemoryLocalized"] = DiagValue::Text(u"128 MB");
        device.properties[u"szChipType"] = DiagValue::Text(u"GeForce 6600");
      }
      test::RecordingStore profiles;
      kx::test::MemoryFileSystem files;
      files.AddFile("C:\\Domirel\\glspec.ini", 200);
      profiles.inner.Set("C:\\Domirel\\glspec.ini", kUncheckPhong, "ChipType", "6600");
      answers[where == DiagThread::kOwn] = LookUpGLSpec(BoardSources{d3d, diag, code_page},
                                                        profiles, files, "C:\\Domirel\\", 1, where);
      EXPECT_EQ(d3d.opens, 1) << m.name;
      EXPECT_EQ(d3d.live, 0) << m.name;
      if (!diag_events.empty()) {
        EXPECT_EQ(diag_events.back(), "diag close") << m.name;
      }
    }
    EXPECT_EQ(Flags(answers[1].spec), Flags(answers[0].spec)) << m.name;
    EXPECT_EQ(answers[1].spec.video_memory, answers[0].spec.video_memory) << m.name;
    EXPECT_EQ(answers[1].chip_type, answers[0].chip_type) << m.name;
  }
}

TEST(GraphicLibraryTypeTest, TheEnginesAnswerOrZero) {
  test::FakeEngineLoader loader;
  loader.libraries["C:\\p\\kx3d.dll"] = 3;
  loader.libraries["C:\\p\\kx3dcol.dll"] = std::nullopt;  // without the entry point
  loader.libraries["C:\\p\\odd.dll"] = 7;                 // handed back unchanged
  EXPECT_EQ(GraphicLibraryType(loader, "C:\\p\\kx3d.dll"), 3);
  EXPECT_EQ(GraphicLibraryType(loader, "C:\\p\\odd.dll"), 7);
  EXPECT_EQ(GraphicLibraryType(loader, "C:\\p\\kx3dcol.dll"), 0);
  EXPECT_EQ(GraphicLibraryType(loader, "C:\\p\\missing.dll"), 0);
  EXPECT_EQ(GraphicLibraryType(loader, nullptr), 0);
  EXPECT_EQ(loader.loaded.size(), 3u);
  EXPECT_EQ(loader.live, 0);  // each library is unloaded before the answer
}

}  // namespace
}  // namespace kx::hostkit

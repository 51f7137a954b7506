// The graphics capability exports as the host application and the
// environment check reach them: Hostkit.dll loaded from the installed
// programs' folder, entry points looked up by name and by ordinal, against
// the platform's own Direct3D 9, diagnostic service and DirectDraw. The
// expected values are read here from those interfaces directly.
#include <windows.h>
// windows.h first
#include <d3d9.h>
#include <ddraw.h>
#include <dxdiag.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "hostkit/gfxcaps/dxdiag_devices_win32.h"
#include "hostkit/gfxcaps/video_board.h"
#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/unique_resource.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using test::TempFolder;
using win::ComPtr;

constexpr GUID kProviderClass = {
    0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
constexpr GUID kProviderInterface = {
    0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};

// The installed programs' folder: bin\ beside this program's testbin\.
std::string BinFolder() { return kx::test::TestProgramFolder() + "..\\bin\\"; }

// Hostkit.dll and its entry points, as a caller resolves them at run time.
struct Hostkit {
  win::LoadedModule dll{(BinFolder() + "Hostkit.dll").c_str()};
  decltype(&EnvChk_GetGLSpec) get_gl_spec =
      dll.Entry<decltype(EnvChk_GetGLSpec)>("EnvChk_GetGLSpec");
  decltype(&EnvChk_GetGLType) get_gl_type =
      dll.Entry<decltype(EnvChk_GetGLType)>("EnvChk_GetGLType");
  decltype(&GetVideoBoradInfo) board_info =
      dll.Entry<decltype(GetVideoBoradInfo)>("GetVideoBoradInfo");
  decltype(&GetVideoMemory) video_memory = dll.Entry<decltype(GetVideoMemory)>("GetVideoMemory");
  decltype(&GetVideoMemFromDirectDraw) directdraw_memory =
      dll.Entry<decltype(GetVideoMemFromDirectDraw)>("GetVideoMemFromDirectDraw");
  decltype(&ConformDeviceAcceptable) conform =
      dll.Entry<decltype(ConformDeviceAcceptable)>("ConformDeviceAcceptable");
  decltype(&ConformDeviceAcceptableEx) conform_ex =
      dll.Entry<decltype(ConformDeviceAcceptableEx)>("ConformDeviceAcceptableEx");
  decltype(&GetAvailableMultiSampleLevel) multisample_level =
      dll.Entry<decltype(GetAvailableMultiSampleLevel)>("GetAvailableMultiSampleLevel");
  // The environment check's way in.
  decltype(&EnvChk_GetGLSpec) get_gl_spec_27 = dll.Entry<decltype(EnvChk_GetGLSpec)>(27);
  decltype(&EnvChk_GetGLType) get_gl_type_28 = dll.Entry<decltype(EnvChk_GetGLType)>(28);
};

// What this machine's interfaces say, read without Hostkit.
struct Reference {
  DWORD pixel_shader = 0;
  bool float_texture = false;  // one of R32F, G32R32F, R16F, G16R16F on the display format
  int multisample_level = 0;
  bool device_found = false;
  std::optional<double> memory;
  std::optional<std::string> chip;
  std::optional<DWORD> directdraw_bytes;
};

void ReadDiagnostics(const GUID& adapter, Reference& ref) {
  win::ComApartment com;
  ComPtr<IDxDiagProvider> provider;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kProviderClass, nullptr, CLSCTX_INPROC_SERVER,
                                            kProviderInterface,
                                            reinterpret_cast<void**>(provider.put())));
  DXDIAG_INIT_PARAMS params = {sizeof(params), DXDIAG_DX9_SDK_VERSION, FALSE, nullptr};
  ASSERT_HRESULT_SUCCEEDED(provider.get()->Initialize(&params));
  ComPtr<IDxDiagContainer> root, devices;
  ASSERT_HRESULT_SUCCEEDED(provider.get()->GetRootContainer(root.put()));
  ASSERT_HRESULT_SUCCEEDED(root.get()->GetChildContainer(L"DxDiag_DisplayDevices", devices.put()));
  DWORD count = 0;
  ASSERT_HRESULT_SUCCEEDED(devices.get()->GetNumberOfChildContainers(&count));
  for (DWORD i = 0; i < count && !ref.device_found; ++i) {
    WCHAR name[256];
    ComPtr<IDxDiagContainer> device;
    if (FAILED(devices.get()->EnumChildContainerNames(i, name, 256)) ||
        FAILED(devices.get()->GetChildContainer(name, device.put()))) {
      continue;
    }
    VARIANT v;
    VariantInit(&v);
    GUID id = {};
    if (SUCCEEDED(device.get()->GetProp(L"szDeviceIdentifier", &v)) && V_VT(&v) == VT_BSTR &&
        SUCCEEDED(CLSIDFromString(V_BSTR(&v), &id)) && IsEqualGUID(id, adapter)) {
      ref.device_found = true;
      VariantClear(&v);
      if (SUCCEEDED(device.get()->GetProp(L"szDisplayMemoryLocalized", &v))) {
        if (V_VT(&v) == VT_BSTR) ref.memory = std::wcstod(V_BSTR(&v), nullptr);
        if (V_VT(&v) == VT_I4) ref.memory = V_I4(&v);
        if (V_VT(&v) == VT_UI4) ref.memory = V_UI4(&v);
      }
      VariantClear(&v);
      if (SUCCEEDED(device.get()->GetProp(L"szChipType", &v)) && V_VT(&v) == VT_BSTR) {
        char chip[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, V_BSTR(&v), -1, chip, sizeof(chip) - 1, nullptr, nullptr);
        ref.chip = chip;
      }
    }
    VariantClear(&v);
  }
}

Reference ReadReference() {
  Reference ref;
  ComPtr<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
  EXPECT_TRUE(d3d);
  if (!d3d) return ref;
  D3DCAPS9 caps = {};
  if (SUCCEEDED(d3d.get()->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps))) {
    ref.pixel_shader = caps.PixelShaderVersion;
  }
  D3DDISPLAYMODE mode = {};
  if (SUCCEEDED(d3d.get()->GetAdapterDisplayMode(0, &mode))) {
    for (D3DFORMAT f : {D3DFMT_R32F, D3DFMT_G32R32F, D3DFMT_R16F, D3DFMT_G16R16F}) {
      ref.float_texture =
          ref.float_texture || SUCCEEDED(d3d.get()->CheckDeviceFormat(
                                   0, D3DDEVTYPE_HAL, mode.Format, 0, D3DRTYPE_TEXTURE, f));
    }
  }
  for (D3DFORMAT f : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) {
    for (int samples = 2; samples <= 16; ++samples) {
      if (SUCCEEDED(d3d.get()->CheckDeviceMultiSampleType(
              0, D3DDEVTYPE_HAL, f, TRUE, static_cast<D3DMULTISAMPLE_TYPE>(samples), nullptr))) {
        const int level = samples <= 4 ? 3 : samples <= 8 ? 2 : 1;
        if (level > ref.multisample_level) ref.multisample_level = level;
      }
    }
  }
  D3DADAPTER_IDENTIFIER9 identifier = {};
  EXPECT_HRESULT_SUCCEEDED(d3d.get()->GetAdapterIdentifier(0, 0, &identifier));
  d3d.reset();
  ReadDiagnostics(identifier.DeviceIdentifier, ref);

  ComPtr<IDirectDraw> ddraw;
  if (SUCCEEDED(DirectDrawCreate(nullptr, ddraw.put(), nullptr))) {
    DDCAPS_DX7 hal = {}, hel = {};
    hal.dwSize = hel.dwSize = sizeof(DDCAPS_DX7);
    if (SUCCEEDED(ddraw.get()->GetCaps(reinterpret_cast<DDCAPS*>(&hal),
                                       reinterpret_cast<DDCAPS*>(&hel)))) {
      ref.directdraw_bytes = hal.dwVidMemTotal;
    }
  }
  return ref;
}

// True when the calling thread has no COM apartment left over: it can join
// the multithreaded one afresh.
bool ComIsUninitialised() {
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (SUCCEEDED(hr)) CoUninitialize();
  return hr == S_OK;
}

struct Spec {
  EnvChkGLSpec record;
  std::string chip;
};

class GfxCapsWinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    hostkit_ = new Hostkit;
    reference_ = new Reference(ReadReference());
  }
  static void TearDownTestSuite() {
    delete hostkit_;
    delete reference_;
  }
  void SetUp() override {
    ASSERT_TRUE(hostkit_->dll.loaded()) << BinFolder() << "Hostkit.dll";
    ASSERT_TRUE(ComIsUninitialised());
  }

  static Spec GetSpec(const char* folder, int32_t mode = 1) {
    Spec spec;
    std::memset(&spec.record, 0x5A, sizeof(spec.record));
    char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES];
    std::memset(chip, 0x5A, sizeof(chip));
    EXPECT_EQ(hostkit_->get_gl_spec(folder, mode, &spec.record, chip), 0);
    EXPECT_NE(std::memchr(chip, '\0', sizeof(chip)), nullptr);
    spec.chip = chip;
    EXPECT_TRUE(ComIsUninitialised());
    return spec;
  }

  static Hostkit* hostkit_;
  static Reference* reference_;
};
Hostkit* GfxCapsWinTest::hostkit_ = nullptr;
Reference* GfxCapsWinTest::reference_ = nullptr;

// The flags of a record as one text, for readable comparisons.
std::string Flags(const EnvChkGLSpec& s) {
  char text[128];
  std::snprintf(text, sizeof(text), "aa%d shadow%d phong%d dx%d/%d dx9c%d/%d check%d",
                static_cast<int>(s.AntiAliasAcceptable), static_cast<int>(s.ShadowMapAcceptable),
                static_cast<int>(s.PhongShadingAcceptable), static_cast<int>(s.DirectX),
                static_cast<int>(s.DirectXCapable), static_cast<int>(s.DirectX9c),
                static_cast<int>(s.DirectX9cCapable), static_cast<int>(s.PhongCheck));
  return text;
}

TEST_F(GfxCapsWinTest, EveryExportIsThereByNameAndTheTwoByOrdinal) {
  const Hostkit& h = *hostkit_;
  for (const void* entry :
       {reinterpret_cast<const void*>(h.get_gl_spec), reinterpret_cast<const void*>(h.get_gl_type),
        reinterpret_cast<const void*>(h.board_info), reinterpret_cast<const void*>(h.video_memory),
        reinterpret_cast<const void*>(h.directdraw_memory),
        reinterpret_cast<const void*>(h.conform), reinterpret_cast<const void*>(h.conform_ex),
        reinterpret_cast<const void*>(h.multisample_level)}) {
    EXPECT_NE(entry, nullptr);
  }
  EXPECT_EQ(h.get_gl_spec_27, h.get_gl_spec);
  EXPECT_EQ(h.get_gl_type_28, h.get_gl_type);
}

TEST_F(GfxCapsWinTest, BoardInformationIsWhatTheDiagnosticServiceStates) {
  const Reference& ref = *reference_;
  VideoBoardInfo info;
  std::strcpy(info.ChipType, "as the caller set it");
  info.VideoMemory = -7.0;
  ASSERT_EQ(hostkit_->board_info(&info), ref.device_found ? 1 : 0);
  ASSERT_TRUE(ref.device_found) << "Wine's diagnostic service lists the primary adapter";
  EXPECT_TRUE(ComIsUninitialised());
  EXPECT_EQ(info.VideoMemory, ref.memory.value_or(-7.0));
  EXPECT_STREQ(info.ChipType, ref.chip.value_or("as the caller set it").c_str());
  std::printf("board: chip \"%s\", %g MB\n", info.ChipType, info.VideoMemory);

  double memory = -7.0;
  EXPECT_EQ(hostkit_->video_memory(&memory), 1);
  EXPECT_EQ(memory, ref.memory.value_or(-1.0));
  EXPECT_EQ(hostkit_->video_memory(nullptr), 1);
  EXPECT_EQ(hostkit_->board_info(nullptr), 0);
  EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(GfxCapsWinTest, DirectDrawMemoryIsCountedInUnitsOf1024000Bytes) {
  const Reference& ref = *reference_;
  ASSERT_TRUE(ref.directdraw_bytes) << "Wine's DirectDraw states its memory";
  double memory = -7.0;
  EXPECT_EQ(hostkit_->directdraw_memory(&memory), 1);
  EXPECT_DOUBLE_EQ(memory, *ref.directdraw_bytes / 1024000.0);
  std::printf("DirectDraw: %lu bytes = %g\n", static_cast<unsigned long>(*ref.directdraw_bytes),
              memory);
  EXPECT_EQ(hostkit_->directdraw_memory(nullptr), 0);
  EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(GfxCapsWinTest, DeviceAcceptabilityFollowsTheDirect3DCapabilities) {
  const Reference& ref = *reference_;
  const bool ps3 = ref.pixel_shader >= D3DPS_VERSION(3, 0);
  const bool ps2 = ref.pixel_shader >= D3DPS_VERSION(2, 0);
  EXPECT_EQ(hostkit_->multisample_level(0, 0), ref.multisample_level);
  EXPECT_EQ(hostkit_->conform(3), ps3 ? 1 : 0);
  EXPECT_EQ(hostkit_->conform_ex(3, HOSTKIT_MASK_ANTIALIAS), ref.multisample_level > 0 ? 1 : 0);
  EXPECT_EQ(hostkit_->conform_ex(3, HOSTKIT_MASK_SHADOWMAP), ps2 && ref.float_texture ? 1 : 0);
  EXPECT_EQ(hostkit_->conform_ex(3, HOSTKIT_MASK_PHONG), ps3 ? 1 : 0);
  // Only the shader library is examined, and OpenGL never multisamples.
  EXPECT_EQ(hostkit_->conform(1), 1);
  EXPECT_EQ(hostkit_->conform(2), 1);
  EXPECT_EQ(hostkit_->conform_ex(1, HOSTKIT_MASK_ANTIALIAS), 1);
  EXPECT_EQ(hostkit_->conform_ex(2, HOSTKIT_MASK_PHONG | HOSTKIT_MASK_SHADOWMAP), 1);
  EXPECT_EQ(hostkit_->conform_ex(3, 0), 1);
  EXPECT_TRUE(ComIsUninitialised());
  std::printf("Direct3D: pixel shader %lx, float textures %d, multisample level %d\n",
              static_cast<unsigned long>(ref.pixel_shader), ref.float_texture,
              ref.multisample_level);
}

TEST_F(GfxCapsWinTest, TheSpecRecordAgreesWithTheMeasurements) {
  const Reference& ref = *reference_;
  const Spec spec = GetSpec(nullptr);
  const EnvChkGLSpec& s = spec.record;
  const double memory = ref.memory.value_or(-1.0);
  const std::string chip = ref.chip && !ref.chip->empty() ? *ref.chip : "unknown";
  EXPECT_EQ(s.VideoMemory, memory);
  // The chip as the service names it, cut on a character boundary to fit.
  EXPECT_EQ(chip.compare(0, spec.chip.size(), spec.chip), 0) << spec.chip;
  EXPECT_GE(spec.chip.size(), std::min<std::size_t>(chip.size(), 258));
  EXPECT_EQ(s.AntiAliasAcceptable, ref.multisample_level > 0 ? 1 : 0);
  EXPECT_EQ(s.ShadowMapAcceptable,
            ref.pixel_shader >= D3DPS_VERSION(2, 0) && ref.float_texture ? 1 : 0);
  EXPECT_EQ(s.PhongShadingAcceptable, ref.pixel_shader >= D3DPS_VERSION(3, 0) ? 1 : 0);
  EXPECT_EQ(s.DirectX, memory >= 32.0 ? 1 : 0);
  EXPECT_EQ(s.DirectX9c, s.DirectX && s.ShadowMapAcceptable ? 1 : 0);
  EXPECT_EQ(s.DirectXCapable, s.DirectX);
  EXPECT_EQ(s.DirectX9cCapable, s.DirectX9c);
  EXPECT_EQ(s.PhongCheck, s.DirectX9c);
  std::printf("EnvChk_GetGLSpec: chip \"%s\", VideoMemory %g, %s\n", spec.chip.c_str(),
              s.VideoMemory, Flags(s).c_str());

  // The environment check's way in gives the same record.
  EnvChkGLSpec by_ordinal = {};
  char chip_by_ordinal[HOSTKIT_GLSPEC_CHIPTYPE_BYTES] = {};
  ASSERT_EQ(hostkit_->get_gl_spec_27(nullptr, 1, &by_ordinal, chip_by_ordinal), 0);
  EXPECT_EQ(std::memcmp(&by_ordinal, &s, sizeof(s)), 0);
  EXPECT_EQ(spec.chip, chip_by_ordinal);

  // Without anti-aliasing asked for, only that flag changes.
  EnvChkGLSpec expected = s;
  expected.AntiAliasAcceptable = 0;
  EXPECT_EQ(Flags(GetSpec("", 0).record), Flags(expected));
}

TEST_F(GfxCapsWinTest, NullRecordOrChipBufferIsRefusedAndNothingWritten) {
  EnvChkGLSpec spec;
  std::memset(&spec, 0x5A, sizeof(spec));
  char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES];
  std::memset(chip, 0x5A, sizeof(chip));
  EXPECT_EQ(hostkit_->get_gl_spec(nullptr, 1, nullptr, chip), -1);
  EXPECT_EQ(hostkit_->get_gl_spec(nullptr, 1, &spec, nullptr), -1);
  EXPECT_EQ(hostkit_->get_gl_spec_27(nullptr, 1, nullptr, nullptr), -1);
  for (unsigned char c : chip) ASSERT_EQ(c, 0x5A);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&spec);
  for (std::size_t i = 0; i < sizeof(spec); ++i) ASSERT_EQ(bytes[i], 0x5A);
}

// One glspec.ini and the flags it must take away from this machine's record.
struct ListCase {
  const char* name;
  std::string file;  // "<CHIP>" stands for a fragment of the chip text
  void (*expect)(EnvChkGLSpec&);
};

TEST_F(GfxCapsWinTest, GlspecFilesTakeAwayExactlyTheirFlags) {
  const Spec baseline = GetSpec(nullptr);
  // Every list needs its flag offered to show anything.
  ASSERT_EQ(Flags(baseline.record), "aa1 shadow1 phong1 dx1/1 dx9c1/1 check1")
      << "Wine here offers every feature";
  const std::string fragment = baseline.chip.substr(1, 3);  // "nkn" of "unknown"

  const ListCase cases[] = {
      {"DisableAntiAlias", "[DisableAntiAlias]\r\nChipType1=<CHIP>\r\n",
       [](EnvChkGLSpec& s) { s.AntiAliasAcceptable = 0; }},
      {"DisablePhong",
       "; comment\r\n[Other]\r\nChipType=<CHIP>\r\n[DisablePhong]\r\nChipType2=<CHIP>\r\n",
       [](EnvChkGLSpec& s) { s.PhongShadingAcceptable = 0; }},
      {"DirectXSpec", "[DirectXSpec]\r\nChipType1=no such chip\r\nChipType2=<CHIP>\r\n",
       [](EnvChkGLSpec& s) { s.DirectX9c = s.DirectX9cCapable = s.PhongCheck = 0; }},
      {"UncheckPhong", "[UncheckPhong]\r\nChipType=<CHIP>\r\n",
       [](EnvChkGLSpec& s) { s.PhongCheck = 0; }},
      {"DirectXSpec and UncheckPhong",
       "[DirectXSpec]\r\nChipType=<CHIP>\r\n[UncheckPhong]\r\nChipType=<CHIP>\r\n",
       [](EnvChkGLSpec& s) { s.DirectX9c = s.DirectX9cCapable = s.PhongCheck = 0; }},
      {"key without ChipType", "[DirectXSpec]\r\nChip=<CHIP>\r\nType=<CHIP>\r\n",
       [](EnvChkGLSpec&) {}},
      {"other chip",
       "[DisableAntiAlias]\r\nChipType=GeForce\r\n[DisablePhong]\r\nChipType=X<CHIP>\r\n",
       [](EnvChkGLSpec&) {}},
      {"empty value", "[DisableAntiAlias]\r\nChipType3=\r\n",
       [](EnvChkGLSpec& s) { s.AntiAliasAcceptable = 0; }},
      {"every section",
       "[DisableAntiAlias]\nChipType=<CHIP>\n[DisablePhong]\nChipType=<CHIP>\n"
       "[DirectXSpec]\nChipType=<CHIP>\n[UncheckPhong]\nChipType=<CHIP>\n",
       [](EnvChkGLSpec& s) {
         s.AntiAliasAcceptable = s.PhongShadingAcceptable = 0;
         s.DirectX9c = s.DirectX9cCapable = s.PhongCheck = 0;
       }},
  };
  TempFolder folder("glspec テスト表");
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = c.file;
    for (std::size_t at; (at = file.find("<CHIP>")) != std::string::npos;) {
      file.replace(at, 6, fragment);
    }
    TempFolder::WriteFile(folder / "glspec.ini", file);
    EnvChkGLSpec expected = baseline.record;
    c.expect(expected);
    const Spec spec = GetSpec(folder.path().c_str());
    EXPECT_EQ(Flags(spec.record), Flags(expected));
    EXPECT_EQ(spec.record.VideoMemory, baseline.record.VideoMemory);
    EXPECT_EQ(spec.chip, baseline.chip);
    // Without its trailing backslash the folder names no file.
    std::string bare = folder.path();
    bare.pop_back();
    EXPECT_EQ(Flags(GetSpec(bare.c_str()).record), Flags(baseline.record));
  }
}

TEST_F(GfxCapsWinTest, TheShippedGlspecWithdrawsNothingHere) {
  const std::string shipped = BinFolder() + "glspec.ini";
  ASSERT_TRUE(TempFolder::Exists(shipped));
  const Spec baseline = GetSpec(nullptr);
  const Spec with_lists = GetSpec(BinFolder().c_str());
  EXPECT_EQ(Flags(with_lists.record), Flags(baseline.record));
  // Each section lists chips, and none by an empty value, which would list all.
  for (const char* section : {"DisableAntiAlias", "DisablePhong", "DirectXSpec", "UncheckPhong"}) {
    SCOPED_TRACE(section);
    char text[4096] = {};
    const DWORD length = GetPrivateProfileSectionA(section, text, sizeof(text), shipped.c_str());
    EXPECT_GT(length, 0u);
    int chips = 0;
    for (const char* entry = text; *entry != '\0'; entry += std::strlen(entry) + 1) {
      const char* equals = std::strchr(entry, '=');
      ASSERT_NE(equals, nullptr) << entry;
      if (std::string(entry, equals).find("ChipType") == std::string::npos) continue;
      ++chips;
      EXPECT_NE(equals[1], '\0') << entry;
    }
    EXPECT_GT(chips, 0);
  }
}

TEST_F(GfxCapsWinTest, GraphicLibraryTypeOfEachEngineVariant) {
  const std::string bin = BinFolder();
  const struct {
    std::string file;
    int32_t code;
  } cases[] = {
      {"kx3dlib\\kx3d.ogl", 1}, {"kx3dlib\\kx3d.drx", 2}, {"kx3dlib\\kx3d.ds3", 3},
      {"KX3D.dll", 3},          {"kx3dcol.dll", 0},       {"kx3dlib\\no such.dll", 0},
      {"glspec.ini", 0},  // not a library
  };
  for (const auto& c : cases) {
    const std::string path = bin + c.file;
    EXPECT_EQ(hostkit_->get_gl_type(path.c_str()), c.code) << c.file;
    EXPECT_EQ(hostkit_->get_gl_type_28(path.c_str()), c.code) << c.file;
    // The library is not kept loaded.
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << c.file;
  }
  EXPECT_EQ(hostkit_->get_gl_type(nullptr), 0);
  EXPECT_TRUE(ComIsUninitialised());
}

TEST_F(GfxCapsWinTest, AnEngineInAnotherFolderFindsTheLibrariesBesideIt) {
  // As the environment check asks about the host's engine: a folder that is
  // not this program's, with the engine's companion library beside it.
  const std::string engine =
      kx::test::TestProgramFolder() + "engine_with_companion\\kx_test_engine_needing_companion.dll";
  EXPECT_EQ(hostkit_->get_gl_type(engine.c_str()), 2);
  EXPECT_EQ(GetModuleHandleA(engine.c_str()), nullptr);
}

TEST_F(GfxCapsWinTest, TheCallersOwnApartmentIsLeftAsItWas) {
  const Spec baseline = GetSpec(nullptr);
  // A single-threaded apartment of the caller's stays initialised.
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EnvChkGLSpec spec = {};
  char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES] = {};
  EXPECT_EQ(hostkit_->get_gl_spec(nullptr, 1, &spec, chip), 0);
  EXPECT_EQ(Flags(spec), Flags(baseline.record));
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // still initialised
  CoUninitialize();
  CoUninitialize();
  // A multithreaded apartment is left be, and Direct3D and DirectDraw still
  // answer. The diagnostic service does not: its provider lives in
  // single-threaded apartments and has no marshalling, so creating it from
  // a multithreaded one fails, and the memory and chip are unknown.
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(hostkit_->get_gl_spec(nullptr, 1, &spec, chip), 0);
  EXPECT_EQ(spec.AntiAliasAcceptable, baseline.record.AntiAliasAcceptable);
  EXPECT_EQ(spec.ShadowMapAcceptable, baseline.record.ShadowMapAcceptable);
  EXPECT_EQ(spec.PhongShadingAcceptable, baseline.record.PhongShadingAcceptable);
  EXPECT_EQ(spec.VideoMemory, -1.0);
  EXPECT_EQ(spec.DirectX, 0);
  EXPECT_STREQ(chip, "unknown");
  EXPECT_EQ(hostkit_->multisample_level(0, 0), reference_->multisample_level);
  double memory = 0;
  EXPECT_EQ(hostkit_->directdraw_memory(&memory), 1);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  EXPECT_TRUE(ComIsUninitialised());
}

// Whether the diagnostic service may be read on a thread of its own: the
// probe that Windows XP and Vista get answers as Windows 7's query does, in
// every apartment the caller may be in.
TEST(DiagThreadWinTest, TheProbeAnswersAsTheApartmentQuery) {
  ASSERT_TRUE(OwnThreadByApartmentQuery().has_value()) << "Wine has CoGetApartmentType";
  const auto both = [] {
    return std::make_pair(*OwnThreadByApartmentQuery(), OwnThreadByApartmentProbe());
  };
  const auto expect = [](std::pair<bool, bool> answers, bool own, const char* apartment) {
    EXPECT_EQ(answers.first, own) << apartment << ", query";
    EXPECT_EQ(answers.second, own) << apartment << ", probe";
  };
  expect(both(), true, "none");
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  expect(both(), true, "single-threaded");
  CoUninitialize();
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  expect(both(), false, "multithreaded");
  {
    // Another thread holds the multithreaded apartment; this one is in it
    // only by default.
    std::pair<bool, bool> by_default;
    std::thread([&] { by_default = both(); }).join();
    expect(by_default, true, "multithreaded by default");
  }
  CoUninitialize();
  EXPECT_TRUE(ComIsUninitialised());
}

// The memory text is read as the platform's C library reads a decimal
// number; the conversion is compared with it here, bit for bit.
TEST(LeadingRealWinTest, ReadsDecimalNumbersAsWcstod) {
  for (const wchar_t* text : {L"512.0 MB",
                              L"4289.7 MB",
                              L" \t\n 12",
                              L"-1.5e3x",
                              L"+.25",
                              L"1e",
                              L"1e+",
                              L"2E-2MB",
                              L".5",
                              L"5.",
                              L".",
                              L"-",
                              L"abc",
                              L"",
                              L"1,5",
                              L"0.000123",
                              L"\x3000 7",
                              L"123456789012345678901234567890",
                              L"0.1000000000000000055511151231257827",
                              L"1e400",
                              L"-1e400",
                              L"1e-400",
                              L"4294967295"}) {
    const std::u16string text16(text, text + std::wcslen(text));
    EXPECT_EQ(LeadingReal(text16), std::wcstod(text, nullptr)) << static_cast<int>(text[0]);
  }
}

}  // namespace
}  // namespace kx::hostkit

// The extended parts information, back image, hatch script and display
// attribute exports as the host application reaches them: Hostkit.dll from
// the installed programs' folder, its exports looked up by name, the
// stand-in engine holding a model the test writes, real files in a folder
// of the test's own. What Hostkit leaves in the engine is read back through
// the engine's own entry points.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>
#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "fitview/engine_api/kx3d_api.h"
#include "hostkit/include/hostkit.h"
#include "hostkit/parts/standin_engine_test_support.h"
#include "hostkit/parts/wall_records_test_support.h"
#include "platform/win32/module_loader.h"
#include "standins/kx3d/kx3d_standin.h"
#include "standins/kx3d/parts_model.h"
#include "standins/kx3d/q3d_model.h"
#include "tests/driver/dialog_driver.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using kx3d::PartsModel;
using test::DialogDriver;
using namespace test_support;

std::string BinFolder() { return test::TestProgramFolder() + "..\\bin\\"; }

#define KX_ENTRY(name) decltype(&name) name = dll.Entry<decltype(::name)>(#name)

struct Hostkit {
  win::LoadedModule dll{(BinFolder() + "Hostkit.dll").c_str()};
  KX_ENTRY(ReadExtendPartsInfo);
  KX_ENTRY(GetExtendPartsInfo);
  KX_ENTRY(GetExtendPartsInfoVar);
  KX_ENTRY(ClearExtendPartsInfo);
  KX_ENTRY(SetExtendPartsInfo);
  KX_ENTRY(SetExtendPartsInfoData);
  KX_ENTRY(copyExPartsInfoHeadToParts);
  KX_ENTRY(copyExPartsInfoHeadToPartsEx);
  KX_ENTRY(GetPartsView);
  KX_ENTRY(GetExtendBackImage);
  KX_ENTRY(SetExtendBackImage);
  KX_ENTRY(ClearExtendBackImage);
  KX_ENTRY(LoadExtendShasenScript);
  KX_ENTRY(SetDispAttrToWalls);
  KX_ENTRY(SetDispAttrToShapes);
};

using Engine = test_support::StandinEngine;

Engine& TheEngine() {
  static Engine engine(BinFolder());
  return engine;
}

Hostkit& Dll() {
  static Hostkit hostkit;
  return hostkit;
}

constexpr float kQuarterTurn = 1.57079632679f;

// Under the root: 1 a room turned a quarter turn about Z whose model 0 has
// four shapes (a wall facing the viewer once turned, one facing away, a
// shape that is no wall, an excluded wall), 2 a window (link id 77, model
// 1) that the first wall names, 3 a lamp inside the room (model 2, no wall
// records); the current view looks along +X, the stored view 0 along -X.
// Part 4 keeps the view record, the hatch script and the attribute strings;
// the model's head has copies of blocks 321 and 330 for it.
std::string ModelFile() {
  PartsModel parts;
  kx3d::ShapeModel room;
  room.shapes = {
      MakeShape(0x00345678, KindRecord(20), FaceRecord(0, 1, 0, 0, {77})),
      MakeShape(0x7F000001, KindRecord(20), FaceRecord(0, -1, 0, 0, {77})),
      MakeShape(0x55000002, KindRecord(5), FaceRecord(0, 1, 0, 5)),
      MakeShape(0x66000003, KindRecord(20, 12), FaceRecord(0, 1, 0, 20)),
  };
  kx3d::ShapeModel window;
  window.shapes = {MakeShape(0x00000010, "", "")};
  kx3d::ShapeModel lamp;
  lamp.shapes = {MakeShape(0x00000020, "", "")};
  parts.models = {room, window, lamp};

  kx3d::Placement turned;
  turned.rotation[2] = kQuarterTurn;
  parts.AddPart(0, 0, turned);
  parts.AddPart(0, 1);
  parts.AddPart(1, 2);
  parts.AddPart(0, -1);
  EXPECT_TRUE(parts.SetPartsBlock(2, 302, Int32Bytes(77)));

  kx3d::StoredView view;
  view.direction[0] = 1;
  view.direction[1] = 0;
  view.direction[2] = 0;
  parts.current_view = view;
  view.direction[0] = -1;
  parts.views.push_back(view);

  std::string record = Int32Bytes(0);
  for (float v : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 35.0f, 0.5f, 900.0f}) {
    record += Float32Bytes(v);
  }
  record += std::string("\x05\x00", 2) + "南の庭";
  record[40] = static_cast<char>(std::strlen("南の庭"));
  EXPECT_TRUE(parts.SetPartsBlock(4, 307, record));
  EXPECT_TRUE(parts.SetPartsBlock(4, 308, std::string("hatch 45\0 1.5", 13)));
  parts.head_blocks[{4, 321}] = Int32Bytes(1) + Int32Bytes(16) + Int32Bytes(3) + "Ash" + '\0';
  parts.head_blocks[{4, 330}] = std::string("\x01\0\x02", 3);
  return FloorGeometry() + parts.Encode();
}

// A real bitmap file: 2 x 2 pixels, 24 bits, rows padded to 4 bytes.
std::string BitmapFile() {
  const std::string pixels = std::string("\x00\x00\xFF\xFF\xFF\xFF\x00\x00", 8) +
                             std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00", 8);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  info.biSize = sizeof info;
  info.biWidth = 2;
  info.biHeight = 2;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  return std::string(reinterpret_cast<const char*>(&file), sizeof file) +
         std::string(reinterpret_cast<const char*>(&info), sizeof info) + pixels;
}

std::string SlotBytes(BSTR text) {
  return text ? std::string(reinterpret_cast<const char*>(text), SysStringByteLen(text)) : "";
}

// Files left behind in a folder besides `keep`.
std::vector<std::string> OtherFiles(const std::string& folder, const std::string& keep) {
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return found;
  do {
    const std::string name = data.cFileName;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != keep) found.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return found;
}

// First in this program: each call loads whatever "kx3d.dll" it finds.
// None at all: every call answers 0, and the pending strings are dropped
// all the same. One that lacks the delete and script entry points: those
// calls answer 0, the others reach it.
TEST(ExtendEngineLoad, WithoutTheEngineOrAnEntryPointTheCallsAnswerZero) {
  if (GetModuleHandleA("kx3d.dll") != nullptr) GTEST_SKIP() << "the engine is already loaded";
  Hostkit& dll = Dll();
  ASSERT_TRUE(dll.dll.loaded());
  test::TempFolder images{"kx no engine"};
  test::TempFolder::WriteFile(images / "plan.bmp", BitmapFile());
  BSTR name = nullptr;
  float v[3] = {7, 7, 7};
  EXPECT_EQ(dll.SetExtendPartsInfoData("Elm"), 1);
  EXPECT_EQ(dll.SetExtendPartsInfo(0), 0);
  EXPECT_EQ(dll.ReadExtendPartsInfo(0), 0);
  EXPECT_EQ(dll.copyExPartsInfoHeadToParts(0), 0);
  EXPECT_EQ(dll.GetPartsView(0, v, v, v, v, v, &name), 0);
  EXPECT_EQ(dll.SetExtendBackImage((images / "plan.bmp").c_str()), 0);
  EXPECT_EQ(dll.GetExtendBackImage((images / "copy.bmp").c_str(), &name), 0);
  EXPECT_EQ(dll.ClearExtendBackImage(0), 0);
  EXPECT_EQ(dll.LoadExtendShasenScript(0, 0), 0);
  EXPECT_EQ(dll.SetDispAttrToShapes(0, 0xFF000000u, 1, 1), 0);
  dll.SetDispAttrToWalls(0, -1, 0xFF000000u, HOSTKIT_DISP_ALL_WALLS);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(v[0], 7.0f);
  EXPECT_FALSE(test::TempFolder::Exists(images / "copy.bmp"));

  HMODULE incomplete =
      LoadLibraryA((test::TestProgramFolder() + "incomplete_engine\\kx3d.dll").c_str());
  ASSERT_NE(incomplete, nullptr);
  EXPECT_EQ(dll.SetExtendPartsInfo(0), 0);  // the list went with the failed write
  EXPECT_EQ(dll.SetExtendPartsInfoData(nullptr), 1);
  EXPECT_EQ(dll.SetExtendPartsInfo(0), 1);
  EXPECT_EQ(dll.SetExtendBackImage((images / "plan.bmp").c_str()), 1);
  EXPECT_EQ(dll.ClearExtendBackImage(0), 0);
  FreeLibrary(incomplete);
  // Each call let the library go again.
  EXPECT_EQ(GetModuleHandleA("kx3d.dll"), nullptr);
}

class ExtendExports : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dll().dll.loaded());
    ASSERT_NE(TheEngine().module, nullptr);
    test::TempFolder::WriteFile(folder / "house.q3d", ModelFile());
    ASSERT_TRUE(TheEngine().Read(folder / "house.q3d"));
  }
  void TearDown() override { SysFreeString(name); }

  // The stored back image written over an older hidden file at `target`:
  // the file holds the image and is still hidden.
  void ExpectWrittenOverAHiddenFile(const std::string& target, const std::string& image) {
    test::TempFolder::WriteFile(target, std::string(5000, 'x'));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(dll.GetExtendBackImage(target.c_str(), &name), 1);
    EXPECT_EQ(SlotBytes(name), "plan.bmp");
    EXPECT_EQ(test::TempFolder::ReadFile(target), image);
    EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  }

  test::TempFolder folder{"kx extend"};
  test::TempFolder images{"kx images"};
  Hostkit& dll = Dll();
  Engine& engine = TheEngine();
  BSTR name = nullptr;
};

TEST_F(ExtendExports, BackImageRoundTripOfABitmapReplacesTheTargetWhole) {
  const std::string bitmap = BitmapFile();
  test::TempFolder::WriteFile(images / "plan.bmp", bitmap);
  ASSERT_EQ(dll.SetExtendBackImage((images / "plan.bmp").c_str()), 1);

  // Stored on part 0: header, total size, the name with n = 9, the bytes.
  const std::string block = engine.Block(0, 340);
  const auto size = static_cast<int32_t>(bitmap.size());
  EXPECT_EQ(block, Int32Bytes(1) + Int32Bytes(size + 9 + 16) + Int32Bytes(9) +
                       std::string("plan.bmp\0", 9) + Int32Bytes(size) + bitmap);

  // An older file at the target is replaced by the stored image and keeps
  // its attributes, and nothing else is left in its folder.
  const std::string copy = folder / "copy.bmp";
  ExpectWrittenOverAHiddenFile(copy, bitmap);
  EXPECT_EQ(OtherFiles(folder.path(), "copy.bmp"), std::vector<std::string>{"house.q3d"});
  HANDLE loaded = LoadImageA(nullptr, copy.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  EXPECT_NE(loaded, nullptr);
  if (loaded) DeleteObject(loaded);

  // Into a folder that does not exist: 1 and the name, and no file.
  SysFreeString(name);
  name = nullptr;
  const std::string nowhere = folder / "missing\\copy.bmp";
  EXPECT_EQ(dll.GetExtendBackImage(nowhere.c_str(), &name), 1);
  EXPECT_EQ(SlotBytes(name), "plan.bmp");
  EXPECT_FALSE(test::TempFolder::Exists(nowhere));

  EXPECT_EQ(dll.ClearExtendBackImage(0), 1);
  EXPECT_EQ(engine.Block(0, 340), "(none)");
  EXPECT_EQ(dll.GetExtendBackImage(copy.c_str(), &name), 0);
  // A file that is not there is not stored.
  EXPECT_EQ(dll.SetExtendBackImage((images / "absent.bmp").c_str()), 0);
  EXPECT_EQ(engine.Block(0, 340), "(none)");
}

// A folder whose path leaves no room for a temporary file's name: the
// target itself is written, and keeps its attributes.
TEST_F(ExtendExports, WhereNoTemporaryFileFitsTheTargetIsWrittenDirectly) {
  const std::string bitmap = BitmapFile();
  test::TempFolder::WriteFile(images / "plan.bmp", bitmap);
  ASSERT_EQ(dll.SetExtendBackImage((images / "plan.bmp").c_str()), 1);
  // 248 characters with the last backslash: the longest folder the system
  // creates, two more than a temporary file's name can follow.
  std::string deep = folder.path();
  while (deep.size() < 248) {
    const std::size_t left = 248 - deep.size();
    deep += std::string(left > 101 ? std::min<std::size_t>(100, left - 3) : left - 1, 'd') + '\\';
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
  }
  ExpectWrittenOverAHiddenFile(deep + "c.bmp", bitmap);
  EXPECT_EQ(OtherFiles(deep, "c.bmp"), std::vector<std::string>{});
}

TEST_F(ExtendExports, AReadOnlyTargetIsReportedAndKeptAsItWas) {
  test::TempFolder::WriteFile(images / "plan.bmp", BitmapFile());
  ASSERT_EQ(dll.SetExtendBackImage((images / "plan.bmp").c_str()), 1);
  const std::string target = folder / "locked.bmp";
  const std::string old_content = "the picture that was there";
  test::TempFolder::WriteFile(target, old_content);
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));

  // The message box belongs to this process; a window of its own lets the
  // driver tell this process's boxes from others'.
  win::UniqueWindow anchor(
      CreateWindowExA(0, "STATIC", "anchor", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(anchor);
  DialogDriver driver(anchor.get());
  std::string shown;
  auto answer = std::async(std::launch::async, [&] {
    HWND box = nullptr;
    if (!driver.WaitForMessageBox("Hostkit", 20000, box)) return false;
    if (!DialogDriver::ReadMessageText(box, shown)) return false;
    if (const char* shots = std::getenv("KX_SHOT_DIR")) {
      (void)test::SaveScreenshot(std::string(shots) + "\\back_image_denied.bmp", box);
    }
    return DialogDriver::AnswerMessageBox(box, IDOK);
  });
  EXPECT_EQ(dll.GetExtendBackImage(target.c_str(), &name), 1);
  EXPECT_TRUE(answer.get());
  EXPECT_EQ(shown, target + " へのアクセスは拒否されました。");
  EXPECT_EQ(SlotBytes(name), "plan.bmp");

  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(test::TempFolder::ReadFile(target), old_content);
  EXPECT_EQ(OtherFiles(folder.path(), "locked.bmp"), std::vector<std::string>{"house.q3d"});
}

TEST_F(ExtendExports, PendingStringsHeadCopyViewAndHatchScript) {
  // A null text is an empty string: 8 + (3 + 5) + (0 + 5) bytes.
  EXPECT_EQ(dll.SetExtendPartsInfo(4), 0);
  EXPECT_EQ(dll.SetExtendPartsInfoData("Elm"), 1);
  EXPECT_EQ(dll.SetExtendPartsInfoData(nullptr), 1);
  EXPECT_EQ(dll.SetExtendPartsInfo(4), 1);
  EXPECT_EQ(engine.Block(4, 321), Int32Bytes(1) + Int32Bytes(21) + Int32Bytes(4) +
                                      std::string("Elm\0", 4) + Int32Bytes(1) + '\0');
  EXPECT_EQ(dll.SetExtendPartsInfo(4), 0);  // the list was emptied

  VARIANT v;
  VariantInit(&v);
  ASSERT_EQ(dll.ReadExtendPartsInfo(4), 1);
  ASSERT_EQ(dll.GetExtendPartsInfoVar(HOSTKIT_ATTRIBUTE_ID(0, 1), &v), 1);
  ASSERT_EQ(v.vt, VT_BSTR);
  EXPECT_STREQ(v.bstrVal, L"Elm");
  VariantClear(&v);

  // The head copy replaces the part's strings.
  EXPECT_EQ(dll.copyExPartsInfoHeadToParts(4), 1);
  EXPECT_EQ(engine.Block(4, 321), Int32Bytes(1) + Int32Bytes(16) + Int32Bytes(3) + "Ash" + '\0');
  EXPECT_EQ(dll.copyExPartsInfoHeadToParts(3), 0);
  // Any type: the head's copy of that type goes to the part unchanged.
  EXPECT_EQ(dll.copyExPartsInfoHeadToPartsEx(4, 330), 1);
  EXPECT_EQ(engine.Block(4, 330), std::string("\x01\0\x02", 3));
  EXPECT_EQ(dll.copyExPartsInfoHeadToPartsEx(4, 331), 0);
  EXPECT_EQ(engine.Block(4, 331), "(none)");
  ASSERT_EQ(dll.ReadExtendPartsInfo(4), 1);
  ASSERT_EQ(dll.GetExtendPartsInfoVar(HOSTKIT_ATTRIBUTE_ID(0, 1), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"Ash");
  VariantClear(&v);
  ASSERT_EQ(dll.GetExtendPartsInfo(HOSTKIT_ATTRIBUTE_ID(0, 1), &name), 1);
  EXPECT_EQ(SlotBytes(name), std::string("Ash\0", 4));
  EXPECT_EQ(dll.ClearExtendPartsInfo(), 1);
  BSTR const kept = name;
  EXPECT_EQ(dll.GetExtendPartsInfo(HOSTKIT_ATTRIBUTE_ID(0, 1), &name), 0);
  EXPECT_EQ(name, kept);
  v.vt = VT_I4;
  v.lVal = 9;
  EXPECT_EQ(dll.GetExtendPartsInfoVar(HOSTKIT_ATTRIBUTE_ID(0, 1), &v), 0);
  EXPECT_EQ(v.lVal, 9);

  float first[3] = {}, second[3] = {}, a = 0, b = 0, c = 0;
  ASSERT_EQ(dll.GetPartsView(4, first, second, &a, &b, &c, &name), 1);
  EXPECT_EQ(first[0], 1.0f);
  EXPECT_EQ(second[2], 6.0f);
  EXPECT_EQ(c, 900.0f);
  EXPECT_EQ(SlotBytes(name), "南の庭");
  a = -1;
  EXPECT_EQ(dll.GetPartsView(3, first, second, &a, &b, &c, &name), 0);
  EXPECT_EQ(a, -1);

  auto loaded = engine.Entry<decltype(KxStandin_GetLoadedScript)>("KxStandin_GetLoadedScript");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(dll.LoadExtendShasenScript(4, -1), 1);  // no target: nothing loaded
  EXPECT_EQ(loaded(0, nullptr, nullptr, 0), -1);
  EXPECT_EQ(dll.LoadExtendShasenScript(4, 6), 1);
  EXPECT_EQ(dll.LoadExtendShasenScript(3, 6), 0);
  char script[32] = {};
  int32_t target = -1;
  ASSERT_EQ(loaded(0, &target, script, sizeof script), 13);
  EXPECT_EQ(target, 6);
  EXPECT_EQ(std::string(script, 13), std::string("hatch 45\0 1.5", 13));
}

TEST_F(ExtendExports, WallsFacingTheViewerAndTheirLinkedPartsGetTheBits) {
  // Turned a quarter turn, the normal (0, 1, 0) points along -X, against
  // the view along +X: that wall faces the viewer; (0, -1, 0) does not.
  dll.SetDispAttrToWalls(0, -1, 0x12345678,
                         HOSTKIT_DISP_FACING_WALLS | HOSTKIT_DISP_CARRY_TO_LINKS);
  // Only the bits of 0x12 are set or cleared; the rest of the word stays.
  EXPECT_EQ(engine.Option(0, 0), 0x12345678u);
  EXPECT_EQ(engine.Option(0, 1), 0x6D000001u);  // 0x7F without 0x12
  EXPECT_EQ(engine.Option(0, 2), 0x45000002u);  // not a wall
  EXPECT_EQ(engine.Option(0, 3), 0x64000003u);  // excluded
  EXPECT_EQ(engine.Option(1, 0), 0x12000010u);  // the window follows the first wall
  EXPECT_EQ(engine.Option(2, 0), 0x00000020u);  // no wall records: untouched

  // Flags 0 change nothing; these flags do not look at the view.
  dll.SetDispAttrToWalls(0, 0, 0xFF000000u, 0);
  EXPECT_EQ(engine.Option(0, 1), 0x6D000001u);
  dll.SetDispAttrToWalls(0, 0, 0x34000000u, HOSTKIT_DISP_ALL_WALLS | HOSTKIT_DISP_NON_WALLS);
  EXPECT_EQ(engine.Option(0, 0), 0x36345678u);
  EXPECT_EQ(engine.Option(0, 1), 0x7D000001u);
  EXPECT_EQ(engine.Option(0, 2), 0x75000002u);
  EXPECT_EQ(engine.Option(0, 3), 0x40000003u);  // excluded even from "all walls"
  dll.SetDispAttrToWalls(0, 0, 0x34000000u, HOSTKIT_DISP_CLEAR_ALL | HOSTKIT_DISP_ALL_WALLS);
  EXPECT_EQ(engine.Option(0, 0), 0x02345678u);
  EXPECT_EQ(engine.Option(0, 2), 0x41000002u);
  EXPECT_EQ(engine.Option(1, 0), 0x12000010u);  // no carrying without its flag

  // The stored view 0 looks along -X, against the current view: the other
  // wall faces it.
  dll.SetDispAttrToWalls(0, 0, 0x80000000u, HOSTKIT_DISP_FACING_WALLS);
  EXPECT_EQ(engine.Option(0, 0), 0x02345678u);
  EXPECT_EQ(engine.Option(0, 1), 0xC9000001u);
}

TEST_F(ExtendExports, ShapesOfAPartAndWithRecurseOfItsDescendants) {
  // Only the low byte of the switches counts: 0x100 is off.
  EXPECT_EQ(dll.SetDispAttrToShapes(1, 0xAB0000FFu, 1, 0x100), 0);
  EXPECT_EQ(engine.Option(0, 0), 0xAB345678u);
  EXPECT_EQ(engine.Option(0, 1), 0xFF000001u);  // set on top of 0x7F
  EXPECT_EQ(engine.Option(2, 0), 0x00000020u);
  EXPECT_EQ(dll.SetDispAttrToShapes(1, 0xAB000000u, 1, 1), 0);
  EXPECT_EQ(engine.Option(2, 0), 0xAB000020u);
  EXPECT_EQ(dll.SetDispAttrToShapes(1, 0x0A000000u, 0x200, 1), 0);  // off
  EXPECT_EQ(engine.Option(0, 1), 0xF5000001u);
  EXPECT_EQ(engine.Option(2, 0), 0xA1000020u);
  EXPECT_EQ(engine.Option(1, 0), 0x00000010u);  // not below part 1
}

}  // namespace
}  // namespace kx::hostkit

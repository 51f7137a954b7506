// The parts attribute exports as the host application reaches them:
// Hostkit.dll from the installed programs' folder, its exports looked up by
// name, the stand-in engine holding a model whose parts section the test
// writes, values exchanged as real OLE Automation VARIANTs and system
// strings. What Hostkit writes back is read through the engine itself.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>
#include <oleauto.h>

#include <cstring>
#include <string>
#include <vector>

#include "fitview/engine_api/kx3d_api.h"
#include "hostkit/include/hostkit.h"
#include "hostkit/parts/standin_engine_test_support.h"
#include "platform/win32/module_loader.h"
#include "standins/kx3d/parts_model.h"
#include "standins/kx3d/q3d_model.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using kx3d::PartsModel;

std::string BinFolder() { return test::TestProgramFolder() + "..\\bin\\"; }

#define KX_ENTRY(name) decltype(&name) name = dll.Entry<decltype(::name)>(#name)

struct Hostkit {
  win::LoadedModule dll{(BinFolder() + "Hostkit.dll").c_str()};
  KX_ENTRY(GetPartsAttributeBlock);
  KX_ENTRY(CollectPartsAttributeBlocks);
  KX_ENTRY(GetNextPartsAttributeBlock);
  KX_ENTRY(GetPartsAttributeBlockNum);
  KX_ENTRY(ReleasePartsAttributBlock);
  KX_ENTRY(UpdatePartsAttributeBlock);
  KX_ENTRY(GetPartsAttribute);
  KX_ENTRY(GetPartsAttributeVar);
  KX_ENTRY(SetPartsAttribute);
  KX_ENTRY(SetPartsAttributeVar);
};

Hostkit& Dll() {
  static Hostkit hostkit;
  return hostkit;
}

using Engine = test_support::StandinEngine;

Engine& TheEngine() {
  static Engine engine(BinFolder());
  return engine;
}

std::string Int32Bytes(int32_t v) {
  std::string out(4, '\0');
  std::memcpy(out.data(), &v, 4);
  return out;
}

// A part tree under the root: 1 a chair with attribute strings and a parts
// record, 2 its leg (attribute flag 0), 3 a chair like 1, 4 a shelf whose
// texts are Japanese.
std::string ModelFile() {
  PartsModel parts;
  parts.attributes = {{1, "Chair", "Maker A"}, {0, "Leg", ""}, {1, "本棚", "木工所"}};
  parts.models = {{0, {}}, {1, {}}, {2, {}}};
  const std::string strings = Int32Bytes(1) + Int32Bytes(23) + Int32Bytes(4) +
                              std::string("Oak\0", 4) + Int32Bytes(3) + std::string("  \0", 3);
  std::string record(240, '\0');
  const double width = 1.5;
  std::memcpy(record.data() + 8, &width, 8);
  std::memcpy(record.data() + 32, "Oak", 3);
  for (int32_t model : {0, 1, 0, 2}) parts.AddPart(model == 1 ? 1 : 0, model);
  EXPECT_TRUE(parts.SetPartsBlock(1, 321, strings));
  EXPECT_TRUE(parts.SetPartsBlock(1, 322, record));
  EXPECT_TRUE(parts.SetPartsBlock(3, 321, strings));
  EXPECT_TRUE(parts.SetPartsBlock(
      4, 321, Int32Bytes(1) + Int32Bytes(15) + Int32Bytes(3) + std::string("樫", 2) + '\0'));
  return test_support::FloorGeometry() + parts.Encode();
}

class PartsExports : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dll().dll.loaded());
    ASSERT_NE(TheEngine().module, nullptr);
    test::TempFolder::WriteFile(folder / "parts.q3d", ModelFile());
    ASSERT_TRUE(TheEngine().Read(folder / "parts.q3d"));
  }

  test::TempFolder folder{"kx parts"};
  Hostkit& dll = Dll();
};

// First in this program: before anything has loaded the engine, Hostkit
// cannot find it, then finds one that lacks an entry point, and takes the
// real one on the next call.
TEST(PartsEngineLink, WithoutACompleteEngineNothingIsFoundUntilThereIsOne) {
  if (GetModuleHandleA("kx3d.dll") != nullptr) GTEST_SKIP() << "the engine is already loaded";
  Hostkit& dll = Dll();
  ASSERT_TRUE(dll.dll.loaded());
  int32_t count = -1;
  EXPECT_EQ(dll.GetPartsAttributeBlock(0, 0, 0), nullptr);
  EXPECT_EQ(dll.CollectPartsAttributeBlocks(0, 0, &count, 0), nullptr);
  EXPECT_EQ(count, 0);

  HMODULE incomplete =
      LoadLibraryA((test::TestProgramFolder() + "incomplete_engine\\kx3d.dll").c_str());
  ASSERT_NE(incomplete, nullptr);
  count = -1;
  EXPECT_EQ(dll.GetPartsAttributeBlock(0, 0, 0), nullptr);
  EXPECT_EQ(dll.CollectPartsAttributeBlocks(0, 0, &count, 0), nullptr);
  EXPECT_EQ(count, 0);
  FreeLibrary(incomplete);
  // The link let it go again.
  EXPECT_EQ(GetModuleHandleA("kx3d.dll"), nullptr);

  ASSERT_NE(TheEngine().module, nullptr);
  PartsAttributeBlock* root = dll.GetPartsAttributeBlock(0, 0, 0);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(dll.ReleasePartsAttributBlock(root), 1);
}

TEST_F(PartsExports, CollectWalkReadChangeUpdateRelease) {
  int32_t count = 0;
  PartsAttributeBlock* head = dll.CollectPartsAttributeBlocks(0, 3, &count, 0);
  ASSERT_NE(head, nullptr);
  // The two chairs as one, the shelf; not the root (no attributes, flag 0)
  // nor the leg (flag 0).
  EXPECT_EQ(count, 2);
  EXPECT_EQ(dll.GetPartsAttributeBlockNum(head), 2);

  PartsAttributeBlock* chair = head;
  PartsAttributeBlock* shelf = dll.GetNextPartsAttributeBlock(chair);
  ASSERT_NE(shelf, nullptr);
  EXPECT_EQ(dll.GetNextPartsAttributeBlock(shelf), nullptr);
  EXPECT_EQ(dll.GetNextPartsAttributeBlock(nullptr), nullptr);
  EXPECT_EQ(dll.GetPartsAttributeBlockNum(shelf), 1);

  VARIANT v;
  VariantInit(&v);
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(0xFFFF, 0), &v), 1);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 2);
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(0, 1), &v), 1);
  ASSERT_EQ(v.vt, VT_BSTR);
  EXPECT_STREQ(v.bstrVal, L"Oak");
  // A blank second string: its index has no fallback.
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(0, 2), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"");
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(0, 11), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"Maker A");
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(322, 2), &v), 1);
  EXPECT_EQ(v.vt, VT_R8);
  EXPECT_EQ(v.dblVal, 1.5);
  // The Japanese texts arrive as wide text through code page 932.
  ASSERT_EQ(dll.GetPartsAttributeVar(shelf, HOSTKIT_ATTRIBUTE_ID(0, 1), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"\u6A2B");
  ASSERT_EQ(dll.GetPartsAttributeVar(shelf, HOSTKIT_ATTRIBUTE_ID(0, 11), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"\u6728\u5DE5\u6240");
  ASSERT_EQ(dll.GetPartsAttributeVar(shelf, HOSTKIT_ATTRIBUTE_ID(0, 13), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"");

  BSTR text = nullptr;
  ASSERT_EQ(dll.GetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(322, 2), &text), 1);
  ASSERT_EQ(SysStringByteLen(text), 9u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 9), std::string("1.500000\0", 9));
  ASSERT_EQ(dll.GetPartsAttribute(shelf, HOSTKIT_ATTRIBUTE_ID(0, 1), &text), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(text), SysStringByteLen(text)),
            std::string("樫", 2) + '\0');
  ASSERT_EQ(dll.GetPartsAttribute(shelf, HOSTKIT_ATTRIBUTE_ID(322, 1), &text), 1);
  EXPECT_EQ(SysStringByteLen(text), 1u);  // no record: just the NUL
  SysFreeString(text);

  // Changes stay in the block until it is written back.
  VARIANT teak;
  VariantInit(&teak);
  teak.vt = VT_BSTR;
  teak.bstrVal = SysAllocString(L"Teak");
  EXPECT_EQ(dll.SetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(0, 1), &teak), 0);
  EXPECT_STREQ(teak.bstrVal, L"Teak");
  VariantClear(&teak);
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_R8;
  number.dblVal = 2.75;
  EXPECT_EQ(dll.SetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(322, 1), &number), 1);
  EXPECT_EQ(dll.SetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(322, 6), &number), 1);
  BSTR maple = SysAllocStringByteLen("Maple veneer\0", 13);
  EXPECT_EQ(dll.SetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(322, 5), &maple), 1);
  SysFreeString(maple);
  EXPECT_EQ(TheEngine().Block(1, 321).substr(12, 4), std::string("Oak\0", 4));

  ASSERT_EQ(dll.UpdatePartsAttributeBlock(chair, 0, 0), 1);
  const std::string strings = TheEngine().Block(1, 321);
  EXPECT_EQ(strings, Int32Bytes(1) + Int32Bytes(24) + Int32Bytes(5) + std::string("Teak\0", 5) +
                         Int32Bytes(3) + std::string("  \0", 3));
  const std::string record = TheEngine().Block(1, 322);
  ASSERT_EQ(record.size(), 240u);
  int32_t field1 = 0;
  double field6 = 0;
  std::memcpy(&field1, record.data(), 4);
  std::memcpy(&field6, record.data() + 64, 8);
  EXPECT_EQ(field1, 3);  // OLE Automation rounds 2.75 to 3
  EXPECT_EQ(field6, 2.75);
  EXPECT_EQ(record.substr(32, 13), std::string("Maple veneer\0", 13));
  EXPECT_EQ(TheEngine().Block(3, 321).substr(12, 4), std::string("Oak\0", 4));  // merged, untouched

  // A fresh block from the engine reads what was written.
  PartsAttributeBlock* again = dll.GetPartsAttributeBlock(1, 0, 0);
  ASSERT_NE(again, nullptr);
  ASSERT_EQ(dll.GetPartsAttributeVar(again, HOSTKIT_ATTRIBUTE_ID(321, 1), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"Teak");
  EXPECT_EQ(dll.ReleasePartsAttributBlock(again), 1);
  VariantClear(&v);

  EXPECT_EQ(dll.ReleasePartsAttributBlock(shelf), 0);  // not a head: nothing freed
  EXPECT_EQ(dll.GetPartsAttributeBlockNum(shelf), 1);
  EXPECT_EQ(dll.ReleasePartsAttributBlock(head), 1);

  // Without the filter the root and the leg are there too.
  head = dll.CollectPartsAttributeBlocks(0, 0, &count, 0);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(dll.ReleasePartsAttributBlock(head), 1);
  EXPECT_EQ(dll.ReleasePartsAttributBlock(nullptr), 0);
}

TEST_F(PartsExports, VariantSlotsKeepTheirTypesByTheStoringRules) {
  PartsAttributeBlock* chair = dll.GetPartsAttributeBlock(1, 0, 0);
  ASSERT_NE(chair, nullptr);
  const uint32_t count_id = HOSTKIT_ATTRIBUTE_ID(0xFFFF, 0);
  const uint32_t width_id = HOSTKIT_ATTRIBUTE_ID(322, 2);

  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = VARIANT_FALSE;
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, count_id, &v), 1);
  EXPECT_EQ(v.vt, VT_BOOL);
  EXPECT_EQ(v.boolVal, VARIANT_TRUE);

  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, count_id, &v), 1);
  EXPECT_EQ(v.vt, VT_ERROR);
  EXPECT_EQ(v.scode, 1);

  v.vt = VT_DATE;
  v.date = 0;
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, width_id, &v), 1);
  EXPECT_EQ(v.vt, VT_DATE);
  EXPECT_EQ(v.date, 1.5);

  // Text over text: the old string is released (the sanitizer-free build
  // cannot see it, but the new one is there) and no value leaves it alone.
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(L"old");
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(322, 5), &v), 1);
  EXPECT_STREQ(v.bstrVal, L"Oak");
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(322, 8), &v), 1);
  ASSERT_EQ(dll.GetPartsAttributeVar(chair, HOSTKIT_ATTRIBUTE_ID(7, 1), &v), 1);
  EXPECT_EQ(v.vt, VT_BSTR);
  EXPECT_STREQ(v.bstrVal, L"Oak");
  VariantClear(&v);

  // Values converted by OLE Automation on their way in.
  struct Case {
    const char* what;
    VARIANT value;
    uint32_t id;
    int32_t result;
    const wchar_t* read_back;  // through GetPartsAttributeVar as text
  };
  auto text_variant = [](const wchar_t* s) {
    VARIANT t;
    VariantInit(&t);
    t.vt = VT_BSTR;
    t.bstrVal = SysAllocString(s);
    return t;
  };
  VARIANT null_value;
  VariantInit(&null_value);
  null_value.vt = VT_NULL;
  VARIANT empty;
  VariantInit(&empty);
  VARIANT integer;
  VariantInit(&integer);
  integer.vt = VT_I4;
  integer.lVal = 12;
  Case cases[] = {
      {"text to an integer field", text_variant(L"42"), HOSTKIT_ATTRIBUTE_ID(322, 1), 1, L"42"},
      {"unconvertible text stores 0", text_variant(L"wood"), HOSTKIT_ATTRIBUTE_ID(322, 3), 1,
       L"0.000000"},
      {"an integer as text", integer, HOSTKIT_ATTRIBUTE_ID(322, 7), 1, L"12"},
      {"null is no text: nothing stored", null_value, HOSTKIT_ATTRIBUTE_ID(0, 1), 1, L"Oak"},
      {"empty is the empty text", empty, HOSTKIT_ATTRIBUTE_ID(322, 5), 1, L""},
      {"the count is read only", integer, HOSTKIT_ATTRIBUTE_ID(0xFFFF, 0), 0, nullptr},
  };
  BSTR text = nullptr;
  for (Case& c : cases) {
    EXPECT_EQ(dll.SetPartsAttributeVar(chair, c.id, &c.value), c.result) << c.what;
    if (c.read_back != nullptr) {
      ASSERT_EQ(dll.GetPartsAttribute(chair, c.id, &text), 1);
      const std::string bytes(reinterpret_cast<char*>(text), SysStringByteLen(text) - 1);
      EXPECT_EQ(std::wstring(bytes.begin(), bytes.end()), c.read_back) << c.what;
    }
    VariantClear(&c.value);
  }
  SysFreeString(text);

  EXPECT_EQ(dll.GetPartsAttributeVar(nullptr, count_id, &v), 0);
  EXPECT_EQ(dll.GetPartsAttributeVar(chair, count_id, nullptr), 0);
  EXPECT_EQ(dll.SetPartsAttributeVar(chair, count_id, nullptr), 0);
  EXPECT_EQ(dll.SetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(322, 1), nullptr), 0);
  EXPECT_EQ(dll.GetPartsAttribute(chair, count_id, nullptr), 0);
  EXPECT_EQ(dll.UpdatePartsAttributeBlock(nullptr, 0, 0), 0);
  EXPECT_EQ(dll.ReleasePartsAttributBlock(chair), 1);
}

// The engine's attribute text is fixed-width fields padded with NULs: the
// name in bytes 0-47, the place in 48-95, a 16-byte text that fills its
// field, a note in 112-255. Part 1 has it, and one attribute string.
std::string PaddedFieldsModelFile() {
  auto field = [](const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), '\0');
  };
  const std::string text = field("Chair", 48) + field("南の庭", 48) +
                           field("表示用ソファ部材", 16) + field("  Oak veneer", 144);
  PartsModel parts;
  parts.attributes = {{1, text, "Maker A"}};
  parts.models = {{0, {}}};
  parts.AddPart(0, 0);
  EXPECT_TRUE(parts.SetPartsBlock(
      1, 321, Int32Bytes(1) + Int32Bytes(16) + Int32Bytes(4) + std::string("Elm\0", 4)));
  return test_support::FloorGeometry() + parts.Encode();
}

TEST(PartsAttributeText, FieldsAfterANulAreReadAndSetTextsEndAtTheirFirstNul) {
  Hostkit& dll = Dll();
  ASSERT_TRUE(dll.dll.loaded());
  ASSERT_NE(TheEngine().module, nullptr);
  test::TempFolder folder{"kx padded"};
  test::TempFolder::WriteFile(folder / "padded.q3d", PaddedFieldsModelFile());
  ASSERT_TRUE(TheEngine().Read(folder / "padded.q3d"));
  PartsAttributeBlock* chair = dll.GetPartsAttributeBlock(1, 0, 0);
  ASSERT_NE(chair, nullptr);

  BSTR text = nullptr;
  VARIANT v;
  VariantInit(&v);
  auto expect_text = [&](uint32_t index, const std::string& bytes, const wchar_t* wide) {
    const uint32_t id = HOSTKIT_ATTRIBUTE_ID(0, index);
    ASSERT_EQ(dll.GetPartsAttribute(chair, id, &text), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), SysStringByteLen(text)), bytes + '\0')
        << index;
    ASSERT_EQ(dll.GetPartsAttributeVar(chair, id, &v), 1);
    ASSERT_EQ(v.vt, VT_BSTR);
    EXPECT_STREQ(v.bstrVal, wide) << index;
  };
  expect_text(1, "Elm", L"Elm");
  expect_text(13, "南の庭", L"\u5357\u306E\u5EAD");
  expect_text(14, "表示用ソファ部材", L"\u8868\u793A\u7528\u30BD\u30D5\u30A1\u90E8\u6750");
  expect_text(15, "Oak veneer", L"Oak veneer");

  // A null string is the empty text: string 1 is emptied, and index 1 reads
  // the first field.
  BSTR none = nullptr;
  EXPECT_EQ(dll.SetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(0, 1), &none), 0);
  expect_text(1, "Chair", L"Chair");
  // What follows the first NUL of a set text is not part of it.
  BSTR ash = SysAllocStringByteLen("Ash\0Elm", 7);
  EXPECT_EQ(dll.SetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(0, 1), &ash), 0);
  SysFreeString(ash);
  BSTR garden = SysAllocStringByteLen("南の庭\0junk", 11);
  EXPECT_EQ(dll.SetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(322, 5), &garden), 1);
  SysFreeString(garden);
  BSTR twelve = SysAllocStringByteLen("12", 2);
  EXPECT_EQ(dll.SetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(322, 1), &twelve), 1);
  SysFreeString(twelve);
  EXPECT_EQ(dll.SetPartsAttribute(chair, HOSTKIT_ATTRIBUTE_ID(322, 6), &none), 1);
  ASSERT_EQ(dll.UpdatePartsAttributeBlock(chair, 0, 0), 1);
  EXPECT_EQ(TheEngine().Block(1, 321),
            Int32Bytes(1) + Int32Bytes(16) + Int32Bytes(4) + std::string("Ash\0", 4));
  const std::string record = TheEngine().Block(1, 322);
  ASSERT_EQ(record.size(), 232u);
  EXPECT_EQ(record.substr(0, 4), Int32Bytes(12));
  EXPECT_EQ(record.substr(32, 32), std::string("南の庭") + std::string(26, '\0'));
  EXPECT_EQ(record.substr(64, 8), std::string(8, '\0'));  // 0.0

  SysFreeString(text);
  VariantClear(&v);
  EXPECT_EQ(dll.ReleasePartsAttributBlock(chair), 1);
}

TEST_F(PartsExports, APartTheEngineDoesNotKnowHasNoBlock) {
  int32_t count = -1;
  EXPECT_EQ(dll.GetPartsAttributeBlock(99, 0, 0), nullptr);
  EXPECT_EQ(dll.CollectPartsAttributeBlocks(-1, 2, &count, 0), nullptr);
  EXPECT_EQ(count, 0);
  PartsAttributeBlock* leg = dll.GetPartsAttributeBlock(2, 0, 0);  // flag 0, still a block
  ASSERT_NE(leg, nullptr);
  EXPECT_EQ(dll.ReleasePartsAttributBlock(leg), 1);
}

}  // namespace
}  // namespace kx::hostkit

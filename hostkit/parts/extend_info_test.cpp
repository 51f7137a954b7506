#include "hostkit/parts/extend_info.h"

#include <gtest/gtest.h>

#include "hostkit/parts/extend_info_current.h"
#include "hostkit/parts/extend_info_fakes.h"
#include "hostkit/parts/hatch_script.h"
#include "hostkit/parts/view_record.h"

namespace kx::hostkit {
namespace {

using test::FakeExtendEngineLoader;

TEST(PendingPartsStringsTest, NullTextWritesAThirteenByteBlockWithOneEmptyString) {
  FakeExtendEngineLoader loader;
  PendingPartsStrings pending;
  pending.Append(nullptr);
  EXPECT_EQ(pending.WriteTo(loader, 7), 1);
  const ByteBlock expected = {1, 0, 0, 0, 13, 0, 0, 0, 1, 0, 0, 0, 0};
  EXPECT_EQ(loader.state.parts_blocks.at({7, kAttributeStringsBlock}), expected);
  EXPECT_TRUE(pending.strings().empty());
}

TEST(PendingPartsStringsTest, EmptyListAnswersZeroAndLoadsNothing) {
  FakeExtendEngineLoader loader;
  PendingPartsStrings pending;
  EXPECT_EQ(pending.WriteTo(loader, 7), 0);
  EXPECT_EQ(loader.state.loads, 0);
}

TEST(PendingPartsStringsTest, ListIsEmptiedEvenWhenTheWriteCannotReachTheEngine) {
  for (bool library_missing : {true, false}) {
    FakeExtendEngineLoader loader;
    loader.state.library_missing = library_missing;
    loader.state.missing = {ExtendEntry::kSetPartsExtendBlockData};
    PendingPartsStrings pending;
    pending.Append("Oak");
    EXPECT_EQ(pending.WriteTo(loader, 1), 0);
    EXPECT_TRUE(pending.strings().empty());
    EXPECT_EQ(loader.state.sets, 0);
  }
}

TEST(AttributeStringsBlockTest, EntriesCarryLengthPlusOneAndANul) {
  const ByteBlock block = *BuildAttributeStringsBlock({"a", "bc"});
  const ByteBlock expected = {1, 0, 0, 0, 21, 0, 0, 0, 2, 0, 0, 0, 'a', 0, 3, 0, 0, 0, 'b', 'c', 0};
  EXPECT_EQ(block, expected);
}

TEST(CurrentPartsInfoTest, ReadReplacesOrDropsTheCurrentBlock) {
  static std::vector<int> released;
  released.clear();
  int first = 1, second = 2;
  {
    CurrentPartsInfo<int> current([](int* block) { released.push_back(*block); });
    EXPECT_EQ(current.Get(), nullptr);
    EXPECT_EQ(current.Read([&] { return &first; }), 1);
    EXPECT_EQ(current.Read([&] { return &second; }), 1);
    EXPECT_EQ(released, std::vector<int>{1});
    EXPECT_EQ(current.Get(), &second);
    // A part without a block leaves none current.
    EXPECT_EQ(current.Read([]() -> int* { return nullptr; }), 0);
    EXPECT_EQ(current.Get(), nullptr);
    EXPECT_EQ(current.Read([&] { return &first; }), 1);
  }
  EXPECT_EQ(released, (std::vector<int>{1, 2, 1}));
}

TEST(ExtendBlockReadTest, MissingEntryPointsOrFailedFetchesGiveNoBlock) {
  FakeExtendEngineLoader loader;
  loader.state.parts_blocks[{3, 308}] = {9, 9};
  {
    auto engine = loader.Load();
    EXPECT_EQ(ReadPartsExtendBlock(*engine, 3, 308), (ByteBlock{9, 9}));
    EXPECT_EQ(ReadPartsExtendBlock(*engine, 4, 308), std::nullopt);  // size 0
  }
  loader.state.missing = {ExtendEntry::kGetPartsExtendBlockData};
  EXPECT_EQ(ReadPartsExtendBlock(*loader.Load(), 3, 308), std::nullopt);
}

TEST(CopyHeadBlockTest, StoresTheHeadCopyUnchangedOnlyWithTheSetEntryPoint) {
  FakeExtendEngineLoader loader;
  loader.state.head_blocks[{5, 321}] = {1, 2, 3};
  EXPECT_EQ(CopyHeadBlockToParts(loader, 5, 321), 1);
  EXPECT_EQ(loader.state.parts_blocks.at({5, 321}), (ByteBlock{1, 2, 3}));
  EXPECT_EQ(CopyHeadBlockToParts(loader, 6, 321), 0);  // no head copy

  loader.state.parts_blocks.clear();
  loader.state.missing = {ExtendEntry::kSetPartsExtendBlockData};
  EXPECT_EQ(CopyHeadBlockToParts(loader, 5, 321), 0);
  EXPECT_TRUE(loader.state.parts_blocks.empty());
}

TEST(ViewRecordTest, RoundTripsAndRefusesANameReachingPastTheBlock) {
  ViewRecord record;
  record.first = {1.0f, 2.0f, 3.0f};
  record.second = {-4.0f, 5.5f, 6.0f};
  record.values = {0.25f, 45.0f, 1000.0f};
  record.name = "南側立面";
  const ByteBlock block = *BuildViewRecord(record);
  ASSERT_EQ(block.size(), kViewNameOffset + record.name.size());

  const std::optional<ViewRecord> parsed = ParseViewRecord(BlockReader(block));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->first, record.first);
  EXPECT_EQ(parsed->second, record.second);
  EXPECT_EQ(parsed->values, record.values);
  EXPECT_EQ(parsed->name, record.name);

  // One byte short of 42 + L, and shorter than the length field itself.
  EXPECT_EQ(ParseViewRecord(BlockReader(block.data(), block.size() - 1)), std::nullopt);
  EXPECT_EQ(ParseViewRecord(BlockReader(block.data(), 41)), std::nullopt);
  // The name length alone decides; nothing after the name is needed.
  ViewRecord unnamed = record;
  unnamed.name.clear();
  EXPECT_TRUE(ParseViewRecord(BlockReader(*BuildViewRecord(unnamed))));
}

TEST(ViewRecordTest, ReadsThePartsBlockThroughTheEngine) {
  FakeExtendEngineLoader loader;
  ViewRecord record;
  record.name = "view";
  loader.state.parts_blocks[{2, kPartsViewBlock}] = *BuildViewRecord(record);
  ASSERT_TRUE(ReadPartsView(loader, 2));
  EXPECT_EQ(ReadPartsView(loader, 2)->name, "view");
  EXPECT_EQ(ReadPartsView(loader, 3), std::nullopt);
  loader.state.library_missing = true;
  EXPECT_EQ(ReadPartsView(loader, 2), std::nullopt);
}

TEST(HatchScriptTest, LoadsTheScriptWhenItCanAndAnswersByTheBlock) {
  FakeExtendEngineLoader loader;
  loader.state.parts_blocks[{4, kHatchScriptBlock}] = {'h', 'a', 't'};
  EXPECT_EQ(LoadHatchScript(loader, 4, 2), 1);
  ASSERT_EQ(loader.state.scripts.size(), 1u);
  EXPECT_EQ(loader.state.scripts[0].target, 2);
  EXPECT_EQ(loader.state.scripts[0].bytes, (ByteBlock{'h', 'a', 't'}));

  EXPECT_EQ(LoadHatchScript(loader, 4, -1), 1);  // negative target: nothing loaded
  loader.state.missing = {ExtendEntry::kLoadScriptFromMemory};
  EXPECT_EQ(LoadHatchScript(loader, 4, 2), 1);  // no loader: still 1
  EXPECT_EQ(loader.state.scripts.size(), 1u);
  EXPECT_EQ(LoadHatchScript(loader, 5, 2), 0);  // no script block
}

}  // namespace
}  // namespace kx::hostkit

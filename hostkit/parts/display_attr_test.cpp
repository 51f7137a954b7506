#include "hostkit/parts/display_attr.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "hostkit/parts/display_attr_fakes.h"

namespace kx::hostkit {
namespace {

using test::FakeDisplayEngine;

constexpr double kPi = 3.14159265358979323846;
constexpr std::uint32_t kBits = 0x12345678;
constexpr std::int32_t kLow = 0x00ABCDEF;
constexpr std::int32_t kSet = 0x12ABCDEF;

void ExpectNear(const Vector3& actual, const Vector3& expected) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-6) << i;
}

TEST(TransformTest, QuarterTurnAboutZMapsXToY) {
  ExpectNear(TransformDirection({1, 0, 0}, RotationZ(kPi / 2)), {0, 1, 0});
  Placement placement;
  placement.rotation = {0.0f, 0.0f, static_cast<float>(kPi / 2)};
  ExpectNear(TransformDirection({1, 0, 0}, PlacementMatrix(placement)), {0, 1, 0});
}

TEST(TransformTest, PlacementScalesThenRotatesXYZThenTranslates) {
  Placement placement;
  placement.scale = {2.0f, 1.0f, 1.0f};
  placement.rotation = {static_cast<float>(kPi / 2), 0.0f, static_cast<float>(kPi / 2)};
  placement.position = {10.0f, 20.0f, 30.0f};
  const Matrix4 m = PlacementMatrix(placement);
  // (1,0,0) -> scaled (2,0,0) -> about X unchanged -> about Z (0,2,0) -> moved.
  ExpectNear(TransformPoint({1, 0, 0}, m), {10, 22, 30});
  // (0,1,0) -> about X (0,0,1) -> about Z unchanged: X is applied first.
  ExpectNear(TransformPoint({0, 1, 0}, m), {10, 20, 31});
  // About Y after X: (0,1,0) -> (0,0,1) -> (1,0,0).
  placement = Placement{};
  placement.rotation = {static_cast<float>(kPi / 2), static_cast<float>(kPi / 2), 0.0f};
  ExpectNear(TransformDirection({0, 1, 0}, PlacementMatrix(placement)), {1, 0, 0});
  // Directions ignore the translation.
  ExpectNear(TransformDirection({0, 1, 0}, m), {0, 0, 1});
  // A child within a rotated parent: child x parent.
  const Matrix4 child = TranslationMatrix(1, 0, 0);
  ExpectNear(TransformPoint({0, 0, 0}, Multiply(child, RotationZ(kPi / 2))), {0, 1, 0});
}

TEST(DisplayBitsTest, OnlyTheTopByteOfTheBitsChangesTheWord) {
  EXPECT_EQ(ApplyDisplayBits(kLow, kBits, true), kSet);
  EXPECT_EQ(ApplyDisplayBits(kSet, kBits, false), kLow);
  EXPECT_EQ(ApplyDisplayBits(static_cast<std::int32_t>(0xFFFFFFFF), kBits, false),
            static_cast<std::int32_t>(0xEDFFFFFF));
  EXPECT_TRUE(SwitchOn(0x01));
  EXPECT_FALSE(SwitchOn(0x100));  // only the low byte is a switch
}

TEST(WallDecisionTest, FacingRulesByWallKind) {
  // V . n as the facing rule sees it, and whether bit 0 gives the bits.
  struct Case {
    std::int32_t a, b;
    double dot;
    bool on;
  } cases[] = {
      {20, 0, 0.5, false},  {20, 0, -0.5, true},   {20, 0, -0.1, false},
      {-1, 20, 0.5, false}, {-1, 20, -0.5, true},  {5, 20, 0.5, true},
      {5, 20, -0.5, false}, {5, 20, 0.1, false},   {5, 0, -0.5, false},  // not a wall
      {21, 21, 0.5, false}, {21, 21, -0.5, false},                       // A = B = 21 is no wall
      {21, 5, -0.5, false}, {0, 21, 0.5, true},
  };
  for (const Case& c : cases) {
    const bool on = DecideShape({c.a, 0}, {{}, c.b, {}}, kFacingWallsFlag, [&] { return c.dot; });
    EXPECT_EQ(on, c.on) << "A=" << c.a << " B=" << c.b << " dot=" << c.dot;
  }
}

TEST(WallDecisionTest, FlagsAndExclusion) {
  const auto never = []() -> double {
    ADD_FAILURE() << "facing asked";
    return 0.0;
  };
  const WallFaceRecord wall{{}, 20, {}};
  const WallFaceRecord other{{}, 5, {}};
  EXPECT_TRUE(DecideShape({20, 0}, wall, kAllWallsFlag, never));
  EXPECT_FALSE(DecideShape({5, 0}, other, kAllWallsFlag, never));
  EXPECT_TRUE(DecideShape({5, 0}, other, kNonWallsFlag, never));
  EXPECT_FALSE(DecideShape({20, 0}, wall, kNonWallsFlag, never));
  EXPECT_FALSE(DecideShape({20, kExcludedShape}, wall, kAllWallsFlag, never));
  EXPECT_FALSE(DecideShape({5, kExcludedShape}, other, kNonWallsFlag, never));
  EXPECT_FALSE(DecideShape({20, 0}, wall, kClearAllFlag | kAllWallsFlag, never));
}

TEST(WallFaceRecordTest, LinkIdsOnlyWhenTheListEndsAtTheBlockEnd) {
  const ByteBlock block = BuildWallFace({{1, 2, 3}, 20, {7, 8}});
  ASSERT_EQ(block.size(), kWallFaceSize + 16);
  EXPECT_EQ(ParseWallFace(BlockReader(block))->link_ids, (std::vector<std::int32_t>{7, 8}));
  EXPECT_EQ(ParseWallFace(BlockReader(block))->normal, (Vector3{1, 2, 3}));

  ByteBlock longer = block;
  longer.push_back(0);
  EXPECT_TRUE(ParseWallFace(BlockReader(longer))->link_ids.empty());
  EXPECT_EQ(ParseWallFace(BlockReader(block.data(), kWallFaceSize - 1)), std::nullopt);
  // An offset and count whose sum wraps 32 bits or is negative name nothing.
  for (auto [d, c] : {std::pair{-8, 9}, std::pair{0x7FFFFFF8, 0x20000002}}) {
    ByteBlock bad = block;
    std::memcpy(bad.data(), &d, 4);
    std::memcpy(bad.data() + 48, &c, 4);
    EXPECT_TRUE(ParseWallFace(BlockReader(bad))->link_ids.empty()) << d << " " << c;
  }
  EXPECT_EQ(ParseWallKind(BlockReader(BuildWallKind({20, 12}).data(), kWallKindSize - 1)),
            std::nullopt);
}

// Parts index 1 holds model 10; its child, parts index 2 (model 20), is
// turned half about Z.
class WallsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.parts[1] = {10, {}, {2, -5}, std::nullopt};
    engine.parts[2] = {20, {}, {}, std::nullopt};
    engine.parts[2].placement.rotation = {0.0f, 0.0f, static_cast<float>(kPi)};
    engine.view = {1.0f, 0.0f, 0.0f};
  }
  FakeDisplayEngine engine;
};

TEST_F(WallsTest, FacingFollowsThePartsAndShapePlacements) {
  const std::int32_t facing = engine.AddWall(10, 20, 0, {-1, 0, 0});
  const std::int32_t away = engine.AddWall(10, 20, 0, {1, 0, 0});
  // Same normal as `away`, but the parent's half turn makes it face the viewer.
  const std::int32_t turned = engine.AddWall(20, 20, 0, {1, 0, 0});
  // A shape turned a quarter within its model: normal (0,-1,0) becomes (1,0,0).
  const std::int32_t quarter = engine.AddWall(10, 20, 0, {0, -1, 0});
  engine.models[10][quarter].placement.rotation = {0.0f, 0.0f, static_cast<float>(kPi / 2)};
  SetDisplayBitsOnWalls(engine, 1, 3, kBits, kFacingWallsFlag);
  EXPECT_EQ(engine.last_view, 3);
  EXPECT_EQ(engine.Option(10, facing), 0x12000000);
  EXPECT_EQ(engine.Option(10, away), 0);
  EXPECT_EQ(engine.Option(20, turned), 0x12000000);
  EXPECT_EQ(engine.Option(10, quarter), 0);
}

TEST_F(WallsTest, NestedPartsApplyTheInnerPlacementFirst) {
  // Parts index 2, turned a quarter about X, holds 6, turned a quarter about Z:
  // the normal (1,0,0) goes to (0,1,0) in part 2, then to (0,0,1).
  engine.parts[2].placement.rotation = {static_cast<float>(kPi / 2), 0.0f, 0.0f};
  engine.parts[2].children = {6};
  engine.parts[6] = {60, {}, {}, std::nullopt};
  engine.parts[6].placement.rotation = {0.0f, 0.0f, static_cast<float>(kPi / 2)};
  const std::int32_t wall = engine.AddWall(60, 20, 0, {1, 0, 0});
  // The same with the quarter about Z on a shape of part 2 itself.
  const std::int32_t shape = engine.AddWall(20, 20, 0, {1, 0, 0});
  engine.models[20][shape].placement.rotation = {0.0f, 0.0f, static_cast<float>(kPi / 2)};
  engine.view = {0.0f, 0.0f, -1.0f};
  SetDisplayBitsOnWalls(engine, 1, -1, kBits, kFacingWallsFlag);
  EXPECT_EQ(engine.Option(60, wall), 0x12000000);
  EXPECT_EQ(engine.Option(20, shape), 0x12000000);
}

TEST_F(WallsTest, ClearAllClearsEveryShapeWithBothRecordsOnly) {
  const std::int32_t wall = engine.AddWall(10, 20, 0, {-1, 0, 0});
  const std::int32_t other = engine.AddWall(20, 5, 5, {0, 0, 1});
  engine.models[10].push_back({});  // no wall records
  for (auto& [model, shapes] : engine.models) {
    for (auto& shape : shapes) shape.option = static_cast<std::int32_t>(0xFF000000) | kLow;
  }
  SetDisplayBitsOnWalls(engine, 1, -1, 0xFF000000, kClearAllFlag | kAllWallsFlag);
  EXPECT_EQ(engine.Option(10, wall), kLow);
  EXPECT_EQ(engine.Option(20, other), kLow);
  EXPECT_EQ(engine.Option(10, 1), static_cast<std::int32_t>(0xFF000000) | kLow);
}

TEST_F(WallsTest, FirstDecisionForALinkIdIsTheOneItsPartGets) {
  engine.AddWall(10, 20, 0, {0, 0, 1}, {42}, kExcludedShape);  // off, examined first
  engine.AddWall(10, 20, 0, {0, 0, 1}, {42, 43});              // on
  engine.parts[2].model = -1;
  engine.parts[3] = {30, {}, {}, std::nullopt};  // linked 42, child of 2
  engine.parts[4] = {40, {}, {}, std::nullopt};  // linked 43
  engine.parts[2].children = {3, 4};
  engine.SetLinkId(3, 42);
  engine.SetLinkId(4, 43);
  engine.models[30].push_back({});
  engine.models[40].push_back({});
  engine.models[30][0].option = static_cast<std::int32_t>(0x12000000);
  SetDisplayBitsOnWalls(engine, 1, -1, kBits, kAllWallsFlag | kCarryToLinksFlag);
  EXPECT_EQ(engine.Option(30, 0), 0);
  EXPECT_EQ(engine.Option(40, 0), 0x12000000);
}

TEST_F(WallsTest, APartWithoutAFourByteLinkIdBlockHasLinkIdMinusOne) {
  // A wall of part 2 names link id -1. Parts 1 and 2 each have one shape
  // without wall records, which only a carried decision reaches.
  engine.AddWall(20, 20, 0, {0, 0, 1}, {-1});
  engine.models[10].push_back({});
  engine.models[20].push_back({});
  struct Case {
    std::optional<ByteBlock> root_block, child_block;
    std::int32_t root_option, child_option;
  } cases[] = {
      // No block on the root: it is the first part with -1, and its
      // descendants follow it.
      {std::nullopt, std::nullopt, 0x12000000, 0x12000000},
      // The root has id 9; part 2's 8-byte block is no link id.
      {ByteBlock{9, 0, 0, 0}, ByteBlock(8, 0), 0, 0x12000000},
      // Both have 4-byte ids: nothing has -1.
      {ByteBlock{9, 0, 0, 0}, ByteBlock{0xFF, 0xFF, 0xFF, 0xFE}, 0, 0},
  };
  for (const Case& c : cases) {
    engine.models[10][0].option = 0;
    engine.models[20][1].option = 0;
    engine.parts[1].link_block = c.root_block;
    engine.parts[2].link_block = c.child_block;
    SetDisplayBitsOnWalls(engine, 1, -1, kBits, kAllWallsFlag | kCarryToLinksFlag);
    EXPECT_EQ(engine.Option(10, 0), c.root_option);
    EXPECT_EQ(engine.Option(20, 1), c.child_option);
  }
}

TEST_F(WallsTest, UnreadableOptionWordIsNotOverwritten) {
  const std::int32_t wall = engine.AddWall(10, 20, 0, {-1, 0, 0});
  engine.models[10][wall].option = kLow;
  engine.models[10][wall].option_unreadable = true;
  SetDisplayBitsOnWalls(engine, 1, -1, kBits, kAllWallsFlag);
  EXPECT_EQ(engine.Option(10, wall), kLow);
}

TEST_F(WallsTest, ShapesOfAPartAndOptionallyItsDescendants) {
  engine.models[10].resize(2);
  engine.models[20].resize(1);
  SetDisplayBitsOnShapes(engine, 1, kBits, true, false);
  EXPECT_EQ(engine.Option(10, 1), 0x12000000);
  EXPECT_EQ(engine.Option(20, 0), 0);
  SetDisplayBitsOnShapes(engine, 1, kBits, true, true);  // the negative child is skipped
  EXPECT_EQ(engine.Option(20, 0), 0x12000000);
}

// A tree from the engine may be as deep as it likes, or loop back on
// itself: every walk still ends, with each part on a path visited once.
TEST(PartTreeWalksTest, ADeepChainAndALoopEndForWallsShapesAndTheLinkSearch) {
  constexpr std::int32_t kDepth = 100000;
  FakeDisplayEngine engine;
  engine.parts[0] = {0, {}, {}, std::nullopt};
  const std::int32_t wall = engine.AddWall(0, 20, 0, {0, 0, 1}, {77});
  for (std::int32_t i = 1; i < kDepth; ++i) {
    engine.parts[i - 1].children = {i};
    engine.parts[i] = {-1, {}, {}, std::nullopt};
  }
  // The deepest part has a shape without wall records and the link id the
  // wall names: only carrying the wall's decision reaches it.
  engine.parts[kDepth - 1].model = 1;
  engine.models[1].push_back({});
  engine.SetLinkId(kDepth - 1, 77);

  SetDisplayBitsOnWalls(engine, 0, -1, kBits, kAllWallsFlag | kCarryToLinksFlag);
  EXPECT_EQ(engine.Option(0, wall), 0x12000000);
  EXPECT_EQ(engine.Option(1, 0), 0x12000000);
  SetDisplayBitsOnShapes(engine, 0, kBits, false, true);
  EXPECT_EQ(engine.Option(0, wall), 0);
  EXPECT_EQ(engine.Option(1, 0), 0);

  // The deepest part names the root as its child: a loop through every part.
  engine.parts[kDepth - 1].children = {0};
  SetDisplayBitsOnWalls(engine, 0, -1, kBits, kAllWallsFlag | kCarryToLinksFlag);
  EXPECT_EQ(engine.Option(1, 0), 0x12000000);
  SetDisplayBitsOnShapes(engine, kDepth / 2, kBits, false, true);
  EXPECT_EQ(engine.Option(0, wall), 0);  // reached round the loop
  EXPECT_EQ(engine.Option(1, 0), 0);
}

}  // namespace
}  // namespace kx::hostkit

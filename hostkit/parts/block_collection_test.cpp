#include "hostkit/parts/block_collection.h"

#include <gtest/gtest.h>

#include "hostkit/parts/fake_parts_engine.h"

namespace kx::hostkit {
namespace {

using test::FakePartsEngine;
using test::Latin1Codec;

struct Listed {
  std::int32_t parts;
  std::int32_t count;
  friend bool operator==(const Listed& a, const Listed& b) {
    return a.parts == b.parts && a.count == b.count;
  }
};
std::ostream& operator<<(std::ostream& out, const Listed& l) {
  return out << "{" << l.parts << " x" << l.count << "}";
}

class Collect : public ::testing::Test {
 protected:
  // Tree: 1 -> (2 -> (4, 5), 3); 2 and 5 alike, 4 unflagged.
  void SetUp() override {
    engine.Add(1).attribute = "root";
    engine.Add(2, 1).attribute = "chair";
    engine.Add(4, 2).attribute = "leg";
    engine.Add(5, 2).attribute = "chair";
    engine.Add(3, 1).attribute = "table";
    engine.Part(4).flag = 0;
  }

  std::vector<Listed> Run(std::int32_t from, std::uint32_t flags, std::int32_t* count = nullptr) {
    CollectedBlocks got = CollectAttributeBlocks(services, from, flags);
    std::vector<Listed> listed;
    const PartsAttributeBlock* previous = nullptr;
    for (const PartsAttributeBlock* b = got.head; b != nullptr; b = b->next) {
      EXPECT_EQ(b->previous, previous);
      previous = b;
      listed.push_back({b->parts_index, b->count});
    }
    EXPECT_EQ(got.count, static_cast<std::int32_t>(listed.size()));
    if (count) *count = got.count;
    EXPECT_EQ(ReleaseBlockList(got.head), got.head ? 1 : 0);
    return listed;
  }

  FakePartsEngine engine;
  Latin1Codec codec;
  PartsServices services{&engine, &codec, nullptr};
};

TEST_F(Collect, FlagsChooseWhatIsListed) {
  struct Case {
    std::uint32_t flags;
    std::vector<Listed> listed;
  } cases[] = {
      {0, {{1, 1}, {2, 1}, {4, 1}, {5, 1}, {3, 1}}},
      {2, {{1, 1}, {2, 2}, {4, 1}, {3, 1}}},
      // The unflagged part is skipped, its children are still visited.
      {1, {{1, 1}, {2, 1}, {5, 1}, {3, 1}}},
      {3, {{1, 1}, {2, 2}, {3, 1}}},
      {0xFFFFFFFC, {{1, 1}, {2, 1}, {4, 1}, {5, 1}, {3, 1}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(1, c.flags), c.listed) << c.flags;
}

TEST_F(Collect, MergeComparesStringsAndBothTextsButNotTheRecord) {
  engine.Part(5).blocks[322] = std::string(232, 'x');  // a record does not part them
  EXPECT_EQ(Run(2, 2), (std::vector<Listed>{{2, 2}, {4, 1}}));

  engine.Part(5).maker = "other maker";
  EXPECT_EQ(Run(2, 2).size(), 3u);
  engine.Part(5).maker.reset();

  engine.Part(5).blocks[321] = std::string("\1\0\0\0\x0D\0\0\0\1\0\0\0\0", 13);  // one ""
  EXPECT_EQ(Run(2, 2).size(), 3u);
  engine.Part(2).blocks[321] = engine.Part(5).blocks[321];
  EXPECT_EQ(Run(2, 2), (std::vector<Listed>{{2, 2}, {4, 1}}));
}

TEST_F(Collect, EqualBlocksGoToTheFirstEqualBlockInTheList) {
  // Three alike far apart, and parts alike among themselves in between.
  FakePartsEngine wide;
  wide.Add(0).attribute = "A";
  for (std::int32_t i = 1; i <= 60; ++i) {
    wide.Add(i, 0).attribute = i % 20 == 0 ? "A" : "p" + std::to_string(i % 7);
  }
  services.engine = &wide;
  std::int32_t count = 0;
  const std::vector<Listed> listed = Run(0, 2, &count);
  ASSERT_EQ(count, 8);  // "A" and p0 ... p6
  EXPECT_EQ(listed[0], (Listed{0, 4}));
  for (std::int32_t k = 1; k <= 7; ++k) {
    // p(k % 7) is first seen at part k; 60 parts give 8 or 9 of each kind,
    // less the three that were "A".
    std::int32_t expected = 0;
    for (std::int32_t i = 1; i <= 60; ++i) expected += (i % 20 != 0 && i % 7 == k % 7) ? 1 : 0;
    EXPECT_EQ(listed[static_cast<std::size_t>(k)], (Listed{k, expected}));
  }
}

TEST_F(Collect, UnknownPartsAreSkippedWithTheirChildren) {
  engine.Add(9, 3).attribute = "under 3";
  // Child position answers -1 for part 3's second child: nothing there.
  engine.Part(3).children.push_back(-1);
  EXPECT_EQ(Run(3, 0), (std::vector<Listed>{{3, 1}, {9, 1}}));
  EXPECT_TRUE(Run(42, 0).empty());

  services.engine = nullptr;  // engine link not loaded
  int32_t count = -1;
  EXPECT_TRUE(Run(1, 0, &count).empty());
  EXPECT_EQ(count, 0);
}

TEST_F(Collect, ATreeThatLoopsBackEnds) {
  engine.Part(5).children.push_back(1);
  EXPECT_EQ(Run(1, 0).size(), 5u);
}

TEST_F(Collect, ADeepChainDoesNotExhaustTheStack) {
  FakePartsEngine chain;
  chain.Add(0);
  for (std::int32_t i = 1; i < 200000; ++i) chain.Add(i, i - 1);
  services.engine = &chain;
  std::int32_t count = 0;
  EXPECT_EQ(Run(0, 2, &count).front(), (Listed{0, 200000}));
  EXPECT_EQ(count, 1);
}

}  // namespace
}  // namespace kx::hostkit

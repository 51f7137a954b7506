#include "hostkit/parts/merge_index.h"

#include <gtest/gtest.h>

#include <vector>

namespace kx::hostkit {
namespace {

std::uint32_t SameTag(const PartsAttributeBlock&) { return 7; }
std::uint32_t TwoTags(const PartsAttributeBlock& b) { return b.attribute_text.size() % 2; }

// Blocks named by their attribute text; equal texts are equal blocks.
std::vector<PartsAttributeBlock> Blocks(std::initializer_list<const char16_t*> texts) {
  std::vector<PartsAttributeBlock> blocks(texts.size());
  std::size_t i = 0;
  for (const char16_t* t : texts) blocks[i++].attribute_text = t;
  return blocks;
}

TEST(MergeIndex, FindsTheFirstEqualBlockWhateverTheTagsShare) {
  for (MergeIndex::TagFunction tag : {&MergeTag, &SameTag, &TwoTags}) {
    std::vector<PartsAttributeBlock> blocks =
        Blocks({u"a", u"bb", u"a", u"ccc", u"bb", u"dd", u"a", u"ccc"});
    MergeIndex index(tag);
    // Which earlier block each one is found equal to (-1: listed itself).
    std::vector<int> found;
    for (PartsAttributeBlock& b : blocks) {
      PartsAttributeBlock* equal = index.FindOrAdd(&b);
      found.push_back(equal ? static_cast<int>(equal - blocks.data()) : -1);
    }
    EXPECT_EQ(found, (std::vector<int>{-1, -1, 0, -1, 1, -1, 0, 3}));
  }
}

TEST(MergeIndex, ManyDistinctBlocksThroughTheTableGrowing) {
  std::vector<PartsAttributeBlock> blocks(5000);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    blocks[i].strings = {std::to_string(i % 2500)};
  }
  MergeIndex index;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    PartsAttributeBlock* equal = index.FindOrAdd(&blocks[i]);
    ASSERT_EQ(equal, i < 2500 ? nullptr : &blocks[i - 2500]) << i;
  }
}

}  // namespace
}  // namespace kx::hostkit

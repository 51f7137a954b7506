#include "common/tick_count.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(ExtendTickCountTest, CountsOnAcrossEachWrap) {
  struct Case {
    std::uint64_t last;
    std::uint32_t now;
    std::uint64_t expected;
  };
  const Case cases[] = {
      {0, 0, 0},
      {0, 5000, 5000},
      {5000, 5000, 5000},                          // the same reading again
      {0xFFFFFFF0u, 0x10, 0x100000010ull},         // the first wrap
      {0x1FFFFFFFFull, 0, 0x200000000ull},         // the second
      {0x200000010ull, 0x20, 0x200000020ull},      // after it, no more wraps
      {0x3FFFFFF00ull, 0xFFFFFFFFu, 0x3FFFFFFFFull},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtendTickCount(c.last, c.now), c.expected) << std::hex << c.last << " " << c.now;
  }
}

}  // namespace
}  // namespace kx

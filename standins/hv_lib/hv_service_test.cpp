#include "standins/hv_lib/hv_service.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace kx::hv {
namespace {

TEST(HvService, Logins) {
  struct Case {
    std::string text;
    std::optional<std::string> expected;
  } cases[] = {
      {"", "guest;1"},
      {"designer", "designer;1"},
      {"designer;1", "designer;2"},
      {"a;b", "a;b;1"},
      {"refuse", std::nullopt},
      {"refused user", std::nullopt},
      {"設計者;41", "設計者;42"},
  };
  for (const Case& c : cases) EXPECT_EQ(LoginText(c.text), c.expected) << c.text;
  // A long name is cut so that the text still fits the caller's buffer.
  const auto long_login = LoginText(std::string(400, 'x'));
  ASSERT_TRUE(long_login);
  EXPECT_EQ(long_login->size(), kTextBytes - 1);
}

TEST(HvService, Points) {
  EXPECT_EQ(PointsFor(0), 0);
  EXPECT_EQ(PointsFor(1), 1);
  EXPECT_EQ(PointsFor(10000), 1);
  EXPECT_EQ(PointsFor(1264 * 836), 106);
  EXPECT_EQ(PointsFor(INT_MAX), 214749);
  EXPECT_EQ(PointsFor(-1), std::nullopt);
  EXPECT_EQ(PointsText(106), "残り: 100000 ポイント\r\n今回: 106 ポイント");
}

TEST(HvService, BufferCopyNeverOverruns) {
  char buffer[8];
  std::memset(buffer, 'z', sizeof buffer);
  CopyToBuffer("0123456789", buffer, 6);
  EXPECT_STREQ(buffer, "01234");
  EXPECT_EQ(buffer[6], 'z');
}

}  // namespace
}  // namespace kx::hv

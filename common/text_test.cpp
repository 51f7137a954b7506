#include "common/text.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(TextTest, FindStepsOverDoubleByteCharacters) {
  // "表" is 95 5C and "ソ" is 83 5C: the 0x5C trail byte is not a backslash,
  // and a needle must not match across a character's two bytes.
  const std::string hyo = "表";
  ASSERT_EQ(hyo, std::string("\x95\x5C"));
  EXPECT_EQ(FindText("a表b", "\x5C" "b"), std::string::npos);
  EXPECT_EQ(FindText("a表b", "表b"), 1u);
  // "\x95\x5C\x95" could match at byte 1 ("\x5C\x95") if stepping bytewise.
  EXPECT_EQ(FindText("\x95\x5C\x95\x41", "\x5C\x95"), std::string::npos);
  EXPECT_EQ(FindText("GeForce 8800", ""), 0u);
  EXPECT_EQ(FindText("", "x"), std::string::npos);
  EXPECT_TRUE(ContainsText("NVIDIA GeForce 8800 GT", "8800"));
  EXPECT_FALSE(ContainsText("NVIDIA GeForce 8800 GT", "geforce"));
}

TEST(TextTest, CutNeverSplitsACharacter) {
  EXPECT_EQ(CutText("abc", 5), "abc");
  EXPECT_EQ(CutText("abcdef", 3), "abc");
  EXPECT_EQ(CutText("ab表", 3), "ab");  // the lead byte alone would be half a character
  EXPECT_EQ(CutText("ab表", 4), "ab表");
  EXPECT_EQ(CutText("", 0), "");
}

TEST(TextTest, BackslashesAreCharactersNotTrailBytes) {
  EXPECT_EQ(LastBackslash("C:\\App\\x.exe"), 6u);
  EXPECT_EQ(LastBackslash("C:\\ソフト"), 2u);
  EXPECT_FALSE(EndsWithBackslash("C:\\表"));
  EXPECT_EQ(WithTrailingBackslash("C:\\表"), "C:\\表\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\App\\"), "C:\\App\\");
}

TEST(TextTest, ReplaceTrimNumbers) {
  EXPECT_EQ(ReplaceAll("<A><A>x", "<A>", "<A><A>"), "<A><A><A><A>x");
  EXPECT_EQ(TrimBlanks("  a b \t"), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber("x1"), 0);
  EXPECT_EQ(Format("%s=%d %g", "k", -3, 1.5), "k=-3 1.5");
}

}  // namespace
}  // namespace kx

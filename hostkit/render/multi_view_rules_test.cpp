#include "hostkit/render/multi_view_rules.h"

#include <gtest/gtest.h>

#include <climits>

#include "hostkit/render/render_fakes.h"

namespace kx::hostkit {
namespace {

TEST(MultiViewRules, Scrolling) {
  struct Case {
    int count, offset;
    ScrollCode code;
    int thumb, expected;
  } cases[] = {
      {8, 0, ScrollCode::kPageDown, 0, 2},  // a page is 8 / 3 = 2 entries
      {8, 2, ScrollCode::kPageUp, 0, 0},         {8, 0, ScrollCode::kLineDown, 0, 1},
      {8, 2, ScrollCode::kLineDown, 0, 2},       {8, 0, ScrollCode::kLineUp, 0, 0},
      {8, 0, ScrollCode::kThumb, 5, 2},  // clamped to 8 - 6
      {8, 1, ScrollCode::kThumb, -3, 0},         {8, 1, ScrollCode::kOther, 0, 1},
      {30, 3, ScrollCode::kPageDown, 0, 13},     {30, 20, ScrollCode::kPageDown, 0, 24},
      {3, 0, ScrollCode::kLineDown, 0, 0},       {8, INT_MIN, ScrollCode::kLineUp, 0, 0},
      {8, INT_MAX, ScrollCode::kPageDown, 0, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScrollTo(c.offset, c.code, c.thumb, c.count), c.expected)
        << c.count << " " << c.offset << " " << static_cast<int>(c.code);
  }
  EXPECT_EQ(ScrollMaximum(8), 2);
  EXPECT_EQ(ScrollMaximum(3), 0);
}

TEST(MultiViewRules, GridLines) {
  const GridLines grid = GridFor(151);
  EXPECT_EQ(grid.horizontal_y, (std::vector<int>{30, 50, 70, 90, 110, 130, 150}));
  EXPECT_EQ(grid.vertical_x, (std::vector<int>{50, 100}));
  EXPECT_EQ(GridFor(150).horizontal_y.back(), 130);
  EXPECT_TRUE(GridFor(30).horizontal_y.empty());
}

TEST(MultiViewRules, PathsJoinWithOneBackslash) {
  EXPECT_EQ(WithoutTrailingBackslash("D:\\out\\"), "D:\\out");
  EXPECT_EQ(WithoutTrailingBackslash("D:\\out"), "D:\\out");
  // "表" ends in the byte 0x5C, which is no backslash.
  EXPECT_EQ(WithoutTrailingBackslash("D:\\表"), "D:\\表");
  EXPECT_EQ(WithoutTrailingBackslash("D:\\表\\"), "D:\\表");
  EXPECT_EQ(WithoutTrailingBackslash(""), "");
  EXPECT_EQ(OutputPath("D:\\out", "1玄関", "bmp"), "D:\\out\\1玄関.bmp");
}

TEST(MultiViewRules, FolderCreationWalk) {
  test::FakeFolders folders;
  folders.folders = {"D:", "D:\\a"};
  ASSERT_TRUE(CreateFolderPath(folders, "D:\\a\\b\\c\\"));
  EXPECT_EQ(folders.created, (std::vector<std::string>{"D:\\a\\b", "D:\\a\\b\\c"}));

  // A level that is a file, not a folder, cannot be made into one.
  test::FakeFolders blocked;
  blocked.files = {"D:\\a"};
  EXPECT_FALSE(CreateFolderPath(blocked, "D:\\a\\b"));
  EXPECT_EQ(blocked.created, (std::vector<std::string>{"D:\\a"}));

  // The last level must be new.
  test::FakeFolders existing;
  existing.folders = {"D:\\a"};
  EXPECT_FALSE(CreateFolderPath(existing, "D:\\a"));

  // A 0x5C second byte does not split a level.
  test::FakeFolders japanese;
  ASSERT_TRUE(CreateFolderPath(japanese, "D:\\表示\\ソフト"));
  EXPECT_EQ(japanese.created, (std::vector<std::string>{"D:\\表示", "D:\\表示\\ソフト"}));
}

TEST(MultiViewRules, PixelCountStaysWithin32Bits) {
  EXPECT_EQ(PixelCount(1264, 836), 1264 * 836);
  EXPECT_EQ(PixelCount(10000, 10000, 3), 300000000);
  EXPECT_EQ(PixelCount(10000, 10000, 100), 2147483647);
  EXPECT_EQ(PixelCount(640, 480, 0), 0);
  EXPECT_EQ(PixelCount(-5, 480, 1), 0);
}

}  // namespace
}  // namespace kx::hostkit

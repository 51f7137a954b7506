#include "hostkit/gfxcaps/chip_lists.h"

#include <gtest/gtest.h>

#include <new>

#include "hostkit/gfxcaps/graphics_fakes.h"
#include "tests/fakes/memory_file_system.h"

namespace kx::hostkit {
namespace {

using Values = std::vector<std::string>;

// A section as the platform returns it: each entry ended by a zero byte.
std::string Section(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += entry + '\0';
  return text;
}

TEST(ChipTypeValuesTest, KeysContainingChipTypeContributeTheirValuesInOrder) {
  EXPECT_EQ(ChipTypeValues(Section({"ChipType1=GeForce", "Comment=x", "ChipType2=RADEON"})),
            (Values{"GeForce", "RADEON"}));
  // Anywhere in the key, case-sensitive.
  EXPECT_EQ(ChipTypeValues(Section({"OldChipTypeA=a", "chiptype=b", "CHIPTYPE=c", "ChipTyp=d"})),
            (Values{"a"}));
  // The key ends at the first "="; the rest, "=" included, is the value.
  EXPECT_EQ(ChipTypeValues(Section({"ChipType=a=b", "Chip=ChipType=c"})), (Values{"a=b"}));
  // An empty value is kept; an entry without "=" has none.
  EXPECT_EQ(ChipTypeValues(Section({"ChipType=", "ChipType", "ChipType2=z"})), (Values{"", "z"}));
  // A last entry without its zero byte still ends with the text.
  EXPECT_EQ(ChipTypeValues("ChipType=a"), (Values{"a"}));
  EXPECT_EQ(ChipTypeValues(std::string()), Values{});
}

class ChipListsTest : public ::testing::Test {
 protected:
  const std::string folder = "C:\\Program Files\\ドミレル\\";
  const std::string ini = folder + "glspec.ini";
  test::RecordingStore store;
  kx::test::MemoryFileSystem files;
  ChipLists lists{store, files, folder};

  void List(const std::string& section, const std::string& key, const std::string& value) {
    files.AddFile(ini, 300);
    store.inner.Set(ini, section, key, value);
  }
};

TEST_F(ChipListsTest, AChipIsListedByAFragmentOfItsDescription) {
  List(kDirectXSpec, "ChipType1", "GMA 900");
  List(kDirectXSpec, "ChipType2", "82915G");
  EXPECT_TRUE(lists.Lists("Intel(R) 82915G/GV/910GL Express Chipset Family", kDirectXSpec));
  EXPECT_TRUE(lists.Lists("Intel(R) GMA 900", kDirectXSpec));
  EXPECT_FALSE(lists.Lists("Intel(R) gma 900", kDirectXSpec));  // case counts
  EXPECT_FALSE(lists.Lists("Intel(R) GMA 950", kDirectXSpec));
  EXPECT_FALSE(lists.Lists("Intel(R) GMA 900", kUncheckPhong));  // other sections are apart
}

TEST_F(ChipListsTest, OnlyChipTypeKeysCount) {
  List(kDisablePhong, "Model", "RADEON");
  List(kDisablePhong, "ChipTypeNote", "GeForce");
  EXPECT_FALSE(lists.Lists("RADEON X300", kDisablePhong));
  EXPECT_TRUE(lists.Lists("GeForce 6200", kDisablePhong));
}

TEST_F(ChipListsTest, AnEmptyValueListsEveryChip) {
  List(kUncheckPhong, "ChipType", "");
  EXPECT_TRUE(lists.Lists("anything", kUncheckPhong));
  EXPECT_TRUE(lists.Lists("unknown", kUncheckPhong));
  // ...but an empty chip is never listed.
  EXPECT_FALSE(lists.Lists("", kUncheckPhong));
}

TEST_F(ChipListsTest, DoubleByteCharactersAreSteppedOverAsUnits) {
  // "表" is 95 5C: its trail byte is no backslash, "示" (8E A6) follows it.
  List(kDisableAntiAlias, "ChipType1", "\\");
  List(kDisableAntiAlias, "ChipType2", "\x5C\x8E");
  EXPECT_FALSE(lists.Lists("表示", kDisableAntiAlias));
  List(kDisableAntiAlias, "ChipType3", "示");
  EXPECT_TRUE(lists.Lists("表示", kDisableAntiAlias));
}

TEST_F(ChipListsTest, TheFolderIsUsedAsGiven) {
  List(kDisablePhong, "ChipType", "X");
  ChipLists without_backslash(store, files, "C:\\Program Files\\ドミレル");
  EXPECT_FALSE(without_backslash.Lists("X", kDisablePhong));
  ChipLists no_folder(store, files, "");
  EXPECT_FALSE(no_folder.Lists("X", kDisablePhong));
  EXPECT_TRUE(store.sections.empty());  // neither read anything
  EXPECT_TRUE(lists.Lists("X", kDisablePhong));
}

TEST_F(ChipListsTest, MissingFileOrSectionListsNothing) {
  store.inner.Set(ini, kDisablePhong, "ChipType", "X");
  EXPECT_FALSE(lists.Lists("X", kDisablePhong));  // the file system does not know the file
  EXPECT_TRUE(store.sections.empty());
  files.AddFile(ini, 0);
  EXPECT_FALSE(lists.Lists("X", kDirectXSpec));
  EXPECT_TRUE(lists.Lists("X", kDisablePhong));
}

TEST_F(ChipListsTest, TheSectionBufferIsTheFilesSizeButAtLeast1024Bytes) {
  List(kDisablePhong, "ChipType", "X");
  files.AddFile(ini, 10);
  EXPECT_TRUE(lists.Lists("X", kDisablePhong));
  files.AddFile(ini, 5000);
  EXPECT_TRUE(lists.Lists("X", kDisablePhong));
  EXPECT_EQ(store.buffer_sizes, (std::vector<std::size_t>{1024, 5000}));
}

TEST_F(ChipListsTest, TheFileIsReadAnewForEveryQuestion) {
  List(kDisablePhong, "ChipType", "X");
  EXPECT_TRUE(lists.Lists("X", kDisablePhong));
  store.inner.Set(ini, kDisablePhong, "ChipType", "Y");
  EXPECT_FALSE(lists.Lists("X", kDisablePhong));
  EXPECT_EQ(store.sections.size(), 2u);
}

TEST_F(ChipListsTest, AFileTooLargeToReadListsNothing) {
  List(kDisablePhong, "ChipType", "X");
  files.AddFile(ini, 0x1'0000'0000ull);
  store.out_of_memory = true;
  EXPECT_FALSE(lists.Lists("X", kDisablePhong));
  ASSERT_EQ(store.buffer_sizes.size(), 1u);
  EXPECT_EQ(store.buffer_sizes[0], 0x7FFFFFFFu);  // what the platform can be asked for
}

}  // namespace
}  // namespace kx::hostkit

#include "hostkit/parts/back_image.h"

#include <gtest/gtest.h>

#include "hostkit/parts/back_image_format.h"
#include "hostkit/parts/back_image_message.h"
#include "hostkit/parts/extend_info.h"
#include "hostkit/parts/extend_info_fakes.h"

namespace kx::hostkit {
namespace {

using test::FakeExtendEngineLoader;
using test::MemoryBackImageFiles;

const ByteBlock kImage = {'B', 'M', 0, 1, 2, 3, 0xFF};
const ByteBlock kOldFile = {'o', 'l', 'd'};

class BackImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.folders = {"C:\\images\\", "C:\\out\\"};
    files.files["C:\\images\\plan.bmp"] = kImage;
  }
  ByteBlock& Stored() { return loader.state.parts_blocks.at({kBackImageParts, kBackImageBlock}); }

  FakeExtendEngineLoader loader;
  MemoryBackImageFiles files;
};

TEST_F(BackImageTest, StoresTheFileUnderItsNamePart) {
  ASSERT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 1);
  ByteBlock expected = {1, 0, 0, 0, 32, 0, 0, 0, 9, 0, 0, 0};  // total 7 + 9 + 16, n = 9
  for (char c : std::string("plan.bmp")) expected.push_back(static_cast<std::uint8_t>(c));
  expected.insert(expected.end(), {0, 7, 0, 0, 0});
  expected.insert(expected.end(), kImage.begin(), kImage.end());
  EXPECT_EQ(Stored(), expected);
}

TEST_F(BackImageTest, StoreFailsWithoutTheWholeFileOrTheEngine) {
  EXPECT_EQ(StoreBackImage(loader, files, "C:\\images\\none.bmp"), 0);
  files.shrink_on_read = 1;  // shorter than its status said
  EXPECT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 0);
  files.shrink_on_read = 0;
  loader.state.missing = {ExtendEntry::kSetPartsExtendBlockData};
  EXPECT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 0);
  EXPECT_EQ(loader.state.sets, 0);
}

TEST_F(BackImageTest, RoundTripReplacesTheTargetAndGivesTheStoredName) {
  ASSERT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 1);
  files.files["C:\\out\\copy.bmp"] = kOldFile;
  const BackImageWrite written = WriteBackImage(loader, files, "C:\\out\\copy.bmp");
  EXPECT_EQ(written.result, 1);
  EXPECT_EQ(written.name, "plan.bmp");
  EXPECT_EQ(written.message, std::nullopt);
  EXPECT_EQ(files.files.at("C:\\out\\copy.bmp"), kImage);
  EXPECT_EQ(files.files.size(), 2u);  // no temporary file left behind
}

TEST_F(BackImageTest, MissingFolderAnswersOneWithTheNameAndWritesNothing) {
  ASSERT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 1);
  const BackImageWrite written = WriteBackImage(loader, files, "C:\\nowhere\\copy.bmp");
  EXPECT_EQ(written.result, 1);
  EXPECT_EQ(written.name, "plan.bmp");
  EXPECT_EQ(written.message, std::nullopt);
  EXPECT_EQ(files.files.size(), 1u);
}

TEST_F(BackImageTest, FailedWriteKeepsTheOldFileAndTellsTheCause) {
  ASSERT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 1);
  struct Case {
    std::size_t write_room;
    FileErrorCause replace_failure;
    const char* message;
  } cases[] = {
      {3, FileErrorCause::kNone,
       "C:\\out\\copy.bmp へのアクセス中にディスクがいっぱいになりました。"},
      {SIZE_MAX, FileErrorCause::kAccessDenied, "C:\\out\\copy.bmp へのアクセスは拒否されました。"},
  };
  for (const Case& c : cases) {
    files.files["C:\\out\\copy.bmp"] = kOldFile;
    files.write_room = c.write_room;
    files.replace_failure = c.replace_failure;
    files.removed.clear();
    const BackImageWrite written = WriteBackImage(loader, files, "C:\\out\\copy.bmp");
    EXPECT_EQ(written.result, 1);
    EXPECT_EQ(written.message, std::string(c.message));
    EXPECT_EQ(files.files.at("C:\\out\\copy.bmp"), kOldFile);
    ASSERT_EQ(files.removed.size(), 1u);
    EXPECT_EQ(files.files.count(files.removed[0]), 0u);
    EXPECT_EQ(files.files.size(), 2u);
  }
}

// A folder that takes writes to its files but no new ones: the target
// itself is written, and a failed write is told as in the other folders.
TEST_F(BackImageTest, WhereNoTemporaryFileCanBeMadeTheTargetIsWrittenDirectly) {
  ASSERT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 1);
  files.refusing_new_files = {"C:\\out\\"};
  struct Case {
    bool target_exists;
    std::size_t write_room;
    std::optional<ByteBlock> content;
    std::optional<std::string> message;
  } cases[] = {
      {true, SIZE_MAX, kImage, std::nullopt},
      {true, 3, ByteBlock(kImage.begin(), kImage.begin() + 3),
       "C:\\out\\copy.bmp へのアクセス中にディスクがいっぱいになりました。"},
      {false, SIZE_MAX, std::nullopt, std::nullopt},  // cannot be created: nothing, silently
  };
  for (const Case& c : cases) {
    files.files.erase("C:\\out\\copy.bmp");
    if (c.target_exists) files.files["C:\\out\\copy.bmp"] = kOldFile;
    files.write_room = c.write_room;
    const BackImageWrite written = WriteBackImage(loader, files, "C:\\out\\copy.bmp");
    EXPECT_EQ(written.result, 1);
    EXPECT_EQ(written.name, "plan.bmp");
    EXPECT_EQ(written.message, c.message);
    const auto target = files.files.find("C:\\out\\copy.bmp");
    EXPECT_EQ(target == files.files.end() ? std::nullopt : std::optional(target->second),
              c.content);
    EXPECT_EQ(files.files.size(), c.target_exists ? 2u : 1u);  // no other file made
  }
}

TEST_F(BackImageTest, NoOrDamagedBlockAnswersZero) {
  EXPECT_EQ(WriteBackImage(loader, files, "C:\\out\\copy.bmp").result, 0);
  ASSERT_EQ(StoreBackImage(loader, files, "C:\\images\\plan.bmp"), 1);
  Stored()[12 + 9] = 8;  // image size 8 reaches one byte past the block
  EXPECT_EQ(WriteBackImage(loader, files, "C:\\out\\copy.bmp").result, 0);
  EXPECT_EQ(files.files.count("C:\\out\\copy.bmp"), 0u);
}

TEST(BackImageFormatTest, SizesAndOffsetsReachingPastTheBlockAreRefused) {
  const ByteBlock block = *BuildBackImage("a.bmp", kImage.data(), kImage.size());
  const BlockReader whole(block);
  ASSERT_TRUE(ParseBackImage(whole));
  EXPECT_EQ(ByteBlock(ParseBackImage(whole)->image, ParseBackImage(whole)->image + 7), kImage);
  for (std::size_t cut = 0; cut < block.size(); ++cut) {
    EXPECT_EQ(ParseBackImage(BlockReader(block.data(), cut)), std::nullopt) << cut;
  }
  for (std::int32_t n : {-1, 0x7FFFFFFF, static_cast<std::int32_t>(block.size())}) {
    ByteBlock bad = block;
    for (int i = 0; i < 4; ++i) bad[8 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    EXPECT_EQ(ParseBackImage(BlockReader(bad)), std::nullopt) << n;
  }
}

TEST(BackImageFormatTest, NamePartStepsOverDoubleByteCharacters) {
  EXPECT_EQ(FileNamePart("C:\\images\\plan.bmp"), "plan.bmp");
  EXPECT_EQ(FileNamePart("C:plan.bmp"), "plan.bmp");
  EXPECT_EQ(FileNamePart("dir/plan.bmp"), "plan.bmp");
  EXPECT_EQ(FileNamePart("plan.bmp"), "plan.bmp");
  // "表" is 0x95 0x5C in code page 932: its second byte is no separator.
  EXPECT_EQ(FileNamePart("C:\\x\\\x95\x5C.bmp"), "\x95\x5C.bmp");
  EXPECT_EQ(FolderPart("C:\\x\\\x95\x5C.bmp"), "C:\\x\\");
  EXPECT_EQ(FolderPart("plan.bmp"), "");
}

TEST(FileErrorMessageTest, SystemErrorsMapToTheirCauseAndMessage) {
  struct Case {
    std::uint32_t code;
    FileErrorCause cause;
  } cases[] = {{0, FileErrorCause::kNone},
               {2, FileErrorCause::kFileNotFound},
               {3, FileErrorCause::kBadPath},
               {5, FileErrorCause::kAccessDenied},
               {32, FileErrorCause::kSharingViolation},
               {33, FileErrorCause::kLockViolation},
               {39, FileErrorCause::kDiskFull},
               {112, FileErrorCause::kDiskFull},
               {38, FileErrorCause::kEndOfFile},
               {9999, FileErrorCause::kGeneric}};
  for (const Case& c : cases) EXPECT_EQ(FileErrorCauseFromSystemError(c.code), c.cause) << c.code;
  EXPECT_EQ(FileErrorMessage(FileErrorCause::kFileNotFound, "a%1.bmp"),
            "a%1.bmp が見つかりませんでした。");
  EXPECT_EQ(FileErrorMessage(FileErrorCause::kNone, "x"), "エラーはありませんでした。");
}

}  // namespace
}  // namespace kx::hostkit

#include "common/log_writer.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_log.h"

namespace kx {
namespace {

using test::FakeLogClock;
using test::MemoryLogStorage;

LocalTime At(int y, int mo, int d, int h, int mi, int s, int ms) {
  return LocalTime{y, mo, d, h, mi, s, ms};
}

TEST(LogPatternTest, TokensResolve) {
  MemoryLogStorage storage;
  const LocalTime t = At(2026, 12, 7, 9, 5, 7, 42);
  EXPECT_EQ(LogWriter::ResolvePattern("envchk_<DATE>.log", t, storage), "envchk_20261207.log");
  EXPECT_EQ(LogWriter::ResolvePattern("<TIME>-<TIME>.log", t, storage), "090507-090507.log");
  EXPECT_EQ(LogWriter::ResolvePattern("plain.log", t, storage), "plain.log");
  EXPECT_EQ(LogWriter::ResolvePattern("x_<date>_<no>.log", t, storage), "x_<date>_<no>.log");
}

TEST(LogPatternTest, NumberIsTheFirstFree) {
  MemoryLogStorage storage;
  const LocalTime t = At(2026, 1, 2, 3, 4, 5, 6);
  EXPECT_EQ(LogWriter::ResolvePattern("a_<NO>.log", t, storage), "a_1.log");
  storage.files["a_1.log"];
  storage.files["a_2.log"];
  EXPECT_EQ(LogWriter::ResolvePattern("a_<NO>.log", t, storage), "a_3.log");
  EXPECT_EQ(LogWriter::ResolvePattern("a_<NO>_<NO>.log", t, storage), "a_1_1.log");
}

TEST(LogLineTest, BytesOfALine) {
  EXPECT_EQ(LogWriter::FormatLine(At(2026, 12, 7, 9, 5, 7, 42), "OS等環境のチェック開始"),
            "09:05:07.042, OS等環境のチェック開始\r\n");
  EXPECT_EQ(LogWriter::FormatLine(At(2026, 12, 7, 23, 59, 59, 999), "A\rB"),
            "23:59:59.999, A\rB\r\n");
  EXPECT_EQ(LogWriter::FormatLine(At(2026, 12, 7, 0, 0, 0, 0), ""), "00:00:00.000, \r\n");
}

class LogWriterTest : public ::testing::Test {
 protected:
  FakeLogClock clock;
  MemoryLogStorage storage;
};

TEST_F(LogWriterTest, AppendFollowsTheSameDaysFile) {
  clock.now = At(2026, 12, 7, 9, 0, 0, 1);
  {
    LogWriter log(clock, storage);
    ASSERT_TRUE(log.Open("envchk_<DATE>.log", LogWriter::kAppend));
    EXPECT_EQ(log.Path(), "envchk_20261207.log");
    log.Log(kLogSeparator);
    log.Log("first");
  }
  clock.now = At(2026, 12, 7, 10, 0, 0, 2);
  {
    LogWriter log(clock, storage);
    ASSERT_TRUE(log.Open("envchk_<DATE>.log", LogWriter::kAppend));
    log.Log(kLogSeparator);
  }
  EXPECT_EQ(storage.files["envchk_20261207.log"],
            "09:00:00.001, -----------------------------------\r\n"
            "09:00:00.001, first\r\n"
            "10:00:00.002, -----------------------------------\r\n");
}

TEST_F(LogWriterTest, FlagsAndTheirPrecedence) {
  storage.files["log.txt"] = "old";
  LogWriter log(clock, storage);
  // 0x01 wins over 0x02 and fails on an existing file, leaving the writer closed.
  EXPECT_FALSE(log.Open("log.txt", LogWriter::kCreateNew | LogWriter::kAppend));
  EXPECT_FALSE(log.IsOpen());
  EXPECT_EQ(log.Path(), "");
  // Neither flag: created or truncated.
  ASSERT_TRUE(log.Open("log.txt", 0));
  EXPECT_EQ(storage.files["log.txt"], "");
  log.Close();
  // 0x10 deletes the file when it is closed.
  ASSERT_TRUE(log.Open("temp.txt", LogWriter::kDeleteOnClose));
  EXPECT_EQ(storage.files.count("temp.txt"), 1u);
  log.Close();
  EXPECT_EQ(storage.files.count("temp.txt"), 0u);
  EXPECT_EQ(log.Path(), "");
}

TEST_F(LogWriterTest, WritesWhileClosedAreDropped) {
  LogWriter log(clock, storage);
  log.Log("nobody hears this");
  EXPECT_TRUE(storage.files.empty());
  ASSERT_TRUE(log.Open("a.log", LogWriter::kAppend));
  log.Write("below the threshold", -1);
  log.Write("at the threshold", 0);
  EXPECT_EQ(storage.files["a.log"], "00:00:00.000, at the threshold\r\n");
}

TEST_F(LogWriterTest, AFailedOpenClosesThePreviousFile) {
  LogWriter log(clock, storage);
  ASSERT_TRUE(log.Open("first.log", LogWriter::kDeleteOnClose));
  storage.fail_open = true;
  EXPECT_FALSE(log.Open("second.log", LogWriter::kAppend));
  EXPECT_FALSE(log.IsOpen());
  log.Log("dropped");
  // Reopening forgets the old flags: the first file is not deleted.
  EXPECT_EQ(storage.files.count("first.log"), 1u);
  EXPECT_EQ(storage.files["first.log"], "");
}

}  // namespace
}  // namespace kx

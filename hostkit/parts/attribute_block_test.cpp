#include "hostkit/parts/attribute_block.h"

#include <gtest/gtest.h>

#include <cstring>

#include "hostkit/parts/fake_parts_engine.h"

namespace kx::hostkit {
namespace {

using test::FakePartsEngine;
using test::Latin1Codec;

std::string Int32Bytes(std::int32_t v) {
  std::string out(4, '\0');
  std::memcpy(out.data(), &v, 4);
  return out;
}

// A 321 block with the given entries (each its length word and bytes as
// given) and the stated total size (-1: the true one).
std::string Block321(const std::vector<std::pair<std::int32_t, std::string>>& entries,
                     std::int32_t total = -1, std::int32_t header = 1) {
  std::string body;
  for (const auto& [n, bytes] : entries) body += Int32Bytes(n) + bytes;
  if (total < 0) total = static_cast<std::int32_t>(body.size() + 8);
  return Int32Bytes(header) + Int32Bytes(total) + body;
}

AttributeStrings Parse(const std::string& bytes) {
  return ParseAttributeStrings(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

using Strings = std::vector<std::string>;

TEST(AttributeStrings, ReadsEntriesWithinEveryBound) {
  std::vector<std::pair<std::int32_t, std::string>> sixteen;
  Strings fifteen;
  for (int i = 0; i < 16; ++i) {
    const std::string s = "s" + std::to_string(i);
    sixteen.push_back({static_cast<std::int32_t>(s.size() + 1), s + '\0'});
    if (i < 15) fifteen.push_back(s);
  }
  const std::string ab = Block321({{3, std::string("ab\0", 3)}});
  struct Case {
    const char* what;
    std::string bytes;
    std::int32_t header;
    Strings strings;
  } cases[] = {
      {"plain entries",
       Block321({{4, std::string("Oak\0", 4)}, {2, std::string("x\0", 2)}}),
       1,
       {"Oak", "x"}},
      {"at most fifteen", Block321(sixteen), 1, fifteen},
      {"a zero-length entry is empty and the next starts 4 bytes on",
       Block321({{0, ""}, {3, std::string("ab\0", 3)}}),
       1,
       {"", "ab"}},
      {"a string ends at its first NUL", Block321({{5, std::string("a\0bc\0", 5)}}), 1, {"a"}},
      {"an entry without its NUL keeps its n bytes", Block321({{2, "xy"}}), 1, {"xy"}},
      {"the stated total ends the entries",
       Block321({{2, std::string("a\0", 2)}, {2, "b"}}, 14),
       1,
       {"a"}},
      {"a total below 8 has no entries", Block321({{2, std::string("a\0", 2)}}, 4), 1, {}},
      {"an entry past the data is not read, nor what follows",
       Block321({{2, std::string("a\0", 2)}, {100, "bc"}}, 200),
       1,
       {"a"}},
      {"a length word past the data", ab + "\x01\x00", 1, {"ab"}},
      {"a negative length stops", Block321({{2, std::string("a\0", 2)}, {-5, "zzzz"}}), 1, {"a"}},
      {"a huge total is bounded by the data",
       Block321({{2, std::string("q\0", 2)}}, 0x7FFFFFFF),
       1,
       {"q"}},
      {"the header word is kept as read", Block321({}, -1, 77), 77, {}},
      {"shorter than the two header words: nothing",
       std::string("\x01\x00\x00\x00\x08\x00", 6),
       0,
       {}},
      {"empty", "", 0, {}},
  };
  for (const Case& c : cases) {
    const AttributeStrings parsed = Parse(c.bytes);
    EXPECT_EQ(parsed.header, c.header) << c.what;
    EXPECT_EQ(parsed.strings, c.strings) << c.what;
  }
}

TEST(AttributeStrings, SerialisedBlockHasTheEngineLayoutAndReadsBack) {
  const Strings strings = {"a", "bc", ""};
  const std::optional<std::string> bytes = SerialiseAttributeStrings(strings);
  ASSERT_TRUE(bytes);
  const std::string expected = Int32Bytes(1) + Int32Bytes(26) + Int32Bytes(2) +
                               std::string("a\0", 2) + Int32Bytes(3) + std::string("bc\0", 3) +
                               Int32Bytes(1) + std::string("\0", 1);
  EXPECT_EQ(*bytes, expected);
  EXPECT_EQ(Parse(*bytes).strings, strings);
  EXPECT_EQ(*SerialiseAttributeStrings({}), Int32Bytes(1) + Int32Bytes(8));
}

class BuildBlock : public ::testing::Test {
 protected:
  FakePartsEngine engine;
  Latin1Codec codec;
  PartsServices services{&engine, &codec, nullptr};
};

TEST_F(BuildBlock, CopiesTextsStringsAndRecordFromTheEngine) {
  test::FakePart& part = engine.Add(7);
  part.attribute = "Table";
  part.maker = "Maker \xE9";
  part.blocks[321] = Block321({{4, std::string("Oak\0", 4)}}, -1, 5);
  std::string record(240, '\0');
  record[0] = 42;
  part.blocks[322] = record;

  BlockPtr block = BuildAttributeBlock(services, 7, false);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->parts_index, 7);
  EXPECT_EQ(block->count, 1);
  EXPECT_EQ(block->attribute_text, u"Table");
  EXPECT_EQ(block->maker_text, u"Maker \u00E9");
  EXPECT_EQ(block->strings_header, 5);
  EXPECT_EQ(block->strings, Strings{"Oak"});
  ASSERT_EQ(block->record_size, 240);
  EXPECT_EQ(0, std::memcmp(block->record.get(), record.data(), 240));
  EXPECT_EQ(block->previous, nullptr);
  EXPECT_EQ(block->next, nullptr);
}

TEST_F(BuildBlock, AbsentOrUntrustworthyEngineDataLeavesEmptyFields) {
  struct Case {
    const char* what;
    void (*set_up)(test::FakePart&);
  } cases[] = {
      {"no model", [](test::FakePart& p) { p.has_model = false; }},
      {"no strings from the engine",
       [](test::FakePart& p) {
         p.attribute.reset();
         p.maker.reset();
       }},
      {"a record shorter than 232 bytes",
       [](test::FakePart& p) { p.blocks[322] = std::string(231, 'r'); }},
      {"a zero size",
       [](test::FakePart& p) {
         p.blocks[321] = Block321({{2, std::string("a\0", 2)}});
         p.reported_size[321] = 0;
       }},
      {"a size beyond belief",
       [](test::FakePart& p) {
         p.blocks[322] = std::string(232, 'r');
         p.reported_size[322] = 0x7FFFFFF0;
       }},
  };
  for (const Case& c : cases) {
    FakePartsEngine fresh;
    test::FakePart& part = fresh.Add(1);
    c.set_up(part);
    PartsServices s{&fresh, &codec, nullptr};
    BlockPtr block = BuildAttributeBlock(s, 1, false);
    ASSERT_TRUE(block) << c.what;
    EXPECT_TRUE(block->attribute_text.empty()) << c.what;
    EXPECT_TRUE(block->maker_text.empty()) << c.what;
    EXPECT_TRUE(block->strings.empty()) << c.what;
    EXPECT_EQ(block->strings_header, 0) << c.what;
    EXPECT_EQ(block->record, nullptr) << c.what;
    EXPECT_EQ(block->record_size, 0) << c.what;
  }
}

TEST_F(BuildBlock, NoBlockWithoutEnginePartOrFlag) {
  engine.Add(1).flag = 0;
  EXPECT_FALSE(BuildAttributeBlock(services, 2, false));
  EXPECT_FALSE(BuildAttributeBlock(PartsServices{nullptr, &codec, nullptr}, 1, false));
  EXPECT_FALSE(BuildAttributeBlock(services, 1, true));
  EXPECT_TRUE(BuildAttributeBlock(services, 1, false));
}

TEST_F(BuildBlock, TracesMakerTextThenAttributeText) {
  struct Lines final : DebugTrace {
    std::vector<std::u16string> lines;
    void Line(std::u16string_view text) override { lines.emplace_back(text); }
  } trace;
  test::FakePart& part = engine.Add(1);
  part.attribute = "attr";
  part.maker = "maker";
  services.trace = &trace;
  ASSERT_TRUE(BuildAttributeBlock(services, 1, false));
  EXPECT_EQ(trace.lines, (std::vector<std::u16string>{u"maker", u"attr"}));
}

TEST_F(BuildBlock, UpdateWritesWhatTheTypeAsksFor) {
  engine.Add(3);
  BlockPtr block = BuildAttributeBlock(services, 3, false);
  block->strings = {"a", "bc", ""};
  block->record_size = kPartsRecordSize;
  block->record = std::make_unique<std::uint8_t[]>(kPartsRecordSize);
  block->record[0] = 9;

  struct Case {
    std::int32_t type;
    std::vector<std::int32_t> written;
  } cases[] = {{0, {321, 322}}, {321, {321}}, {322, {322}}, {302, {}}, {-1, {}}};
  for (const Case& c : cases) {
    engine.writes.clear();
    EXPECT_EQ(UpdateAttributeBlock(&engine, block.get(), c.type), 1) << c.type;
    std::vector<std::int32_t> written;
    for (const auto& w : engine.writes) {
      EXPECT_EQ(w.parts, 3);
      written.push_back(w.type);
      if (w.type == 321) {
        EXPECT_EQ(w.data.size(), 26u);
      } else {
        EXPECT_EQ(w.data, std::string(1, '\x09') + std::string(231, '\0'));
      }
    }
    EXPECT_EQ(written, c.written) << c.type;
  }
}

TEST_F(BuildBlock, UpdateWithoutRecordOrStringsWritesNothing) {
  engine.Add(3);
  BlockPtr block = BuildAttributeBlock(services, 3, false);
  EXPECT_EQ(UpdateAttributeBlock(&engine, block.get(), 322), 1);
  EXPECT_EQ(UpdateAttributeBlock(&engine, block.get(), 0), 1);
  EXPECT_TRUE(engine.writes.empty());

  EXPECT_EQ(UpdateAttributeBlock(&engine, nullptr, 0), 0);
  block->parts_index = -1;
  block->strings = {"x"};
  EXPECT_EQ(UpdateAttributeBlock(&engine, block.get(), 0), 0);
  EXPECT_TRUE(engine.writes.empty());
}

TEST(BlockList, CountAndReleaseOnlyFromTheHead) {
  auto* a = new PartsAttributeBlock;
  auto* b = new PartsAttributeBlock;
  auto* c = new PartsAttributeBlock;
  a->next = b;
  b->previous = a;
  b->next = c;
  c->previous = b;
  EXPECT_EQ(CountBlocks(a), 3);
  EXPECT_EQ(CountBlocks(b), 2);
  EXPECT_EQ(CountBlocks(nullptr), 0);
  EXPECT_EQ(ReleaseBlockList(b), 0);
  EXPECT_EQ(ReleaseBlockList(nullptr), 0);
  // Still there: the sanitizer would object to reading freed blocks.
  EXPECT_EQ(b->next, c);
  EXPECT_EQ(ReleaseBlockList(a), 1);
}

}  // namespace
}  // namespace kx::hostkit

#include "hostkit/parts/attribute_value.h"

#include <gtest/gtest.h>

#include <cstring>

#include "hostkit/parts/fake_parts_engine.h"

namespace kx::hostkit {
namespace {

using test::Latin1Codec;
using test::ShiftJisCodec;

constexpr std::uint32_t Id(std::uint32_t source, std::uint32_t index) {
  return source << 16 | index;
}

// A value whose conversions are given as they are.
struct Forms final : ValueForms {
  std::optional<std::int32_t> i4;
  std::optional<double> r8;
  std::optional<std::u16string> text;
  int asked = 0;
  std::optional<std::int32_t> AsInt32() override { return ++asked, i4; }
  std::optional<double> AsDouble() override { return ++asked, r8; }
  std::optional<std::u16string> AsText() override { return ++asked, text; }
};

Forms TextForm(std::u16string text) {
  Forms f;
  f.text = std::move(text);
  return f;
}

class Values : public ::testing::Test {
 protected:
  void SetRecord() {
    block.record_size = kPartsRecordSize;
    block.record = std::make_unique<std::uint8_t[]>(kPartsRecordSize);
  }
  template <class T>
  void Put(std::size_t offset, T v) {
    std::memcpy(block.record.get() + offset, &v, sizeof v);
  }
  template <class T>
  T Get(std::size_t offset) {
    T v;
    std::memcpy(&v, block.record.get() + offset, sizeof v);
    return v;
  }
  std::string Text(std::uint32_t id) { return ReadValueText(block, id, codec); }

  PartsAttributeBlock block;
  Latin1Codec codec;
};

TEST_F(Values, AttributeTextComesFromTheStringsThenTheFallbacks) {
  // 130 bytes of attribute text: 0-47 'a', 48-95 'b', 96-111 'c', 112-129 'd'.
  std::string text =
      std::string(48, 'a') + std::string(48, 'b') + std::string(16, 'c') + std::string(18, 'd');
  block.attribute_text = codec.ToWide(text);
  block.maker_text = u"  Maker  ";
  block.strings = {"  Oak  ", "   ", "", "\t pine\r\n"};
  block.strings.resize(13);
  block.strings[12] = "own 13";

  struct Case {
    std::uint32_t id;
    std::string text;
  } cases[] = {
      {Id(0, 1), "Oak"},
      {Id(321, 1), "Oak"},
      {Id(0, 2), ""},  // blank, and 2 has no fallback
      {Id(0, 4), "pine"},
      {Id(0, 0), ""},
      {Id(0, 11), "Maker"},  // empty eleventh string
      {Id(0, 12), ""},
      {Id(0, 13), "own 13"},
      {Id(0, 14), std::string(16, 'c')},
      {Id(0, 15), std::string(18, 'd')},
      {Id(0, 16), ""},
      {Id(0, 0xFFFF), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(c.id), c.text) << std::hex << c.id;
    EXPECT_EQ(ReadValue(block, c.id, codec), TaggedValue::Text(codec.ToWide(c.text)))
        << std::hex << c.id;
  }
  block.strings = {"   "};  // blank first string: the first 48 bytes
  EXPECT_EQ(Text(Id(0, 1)), std::string(48, 'a'));
  block.strings.clear();
  EXPECT_EQ(Text(Id(0, 13)), std::string(48, 'b'));
}

TEST_F(Values, FallbackRangesStopAtTheEndOfTheTextAndAtNul) {
  struct Case {
    std::size_t length;
    std::uint32_t index;
    std::size_t expected;
  } cases[] = {{100, 14, 4}, {90, 14, 0}, {96, 14, 0}, {97, 14, 1}, {30, 1, 30}, {300, 15, 144}};
  for (const Case& c : cases) {
    block.attribute_text = std::u16string(c.length, u'x');
    EXPECT_EQ(Text(Id(0, c.index)), std::string(c.expected, 'x')) << c.length << " " << c.index;
  }
  block.attribute_text = std::u16string(u"ab\0cd", 5);
  EXPECT_EQ(Text(Id(0, 1)), "ab");
}

TEST_F(Values, TrimmingTakesWideWhiteSpace) {
  EXPECT_EQ(TrimWide(u" \t\u3000Oak\u00A0\n"), u"Oak");
  EXPECT_EQ(TrimWide(u"a b"), u"a b");
  EXPECT_EQ(TrimWide(u"\u3000\u3000"), u"");
}

TEST_F(Values, RecordFieldsAsTextAndAsValues) {
  SetRecord();
  Put<std::int32_t>(0, -17);
  Put<double>(8, 1.5);
  Put<double>(16, -0.25);
  Put<double>(24, 1e6);
  std::memcpy(block.record.get() + 32, "  Walnut ", 9);
  Put<double>(64, 2.0);
  std::memset(block.record.get() + 72, 'z', 32);  // no NUL: ends with the field

  struct Case {
    std::uint32_t field;
    std::string text;
    std::optional<TaggedValue> value;
  } cases[] = {
      {1, "-17", TaggedValue::Int32(-17)},
      {2, "1.500000", TaggedValue::Double(1.5)},
      {3, "-0.250000", TaggedValue::Double(-0.25)},
      {4, "1000000.000000", TaggedValue::Double(1e6)},
      {5, "Walnut", TaggedValue::Text(u"  Walnut ")},
      {6, "2.000000", TaggedValue::Double(2.0)},
      {7, std::string(32, 'z'), TaggedValue::Text(std::u16string(32, u'z'))},
      {0, "", std::nullopt},
      {8, "", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(Id(322, c.field)), c.text) << c.field;
    EXPECT_EQ(ReadValue(block, Id(322, c.field), codec), c.value) << c.field;
  }
}

TEST_F(Values, NoRecordNoCountSourceNoValue) {
  EXPECT_EQ(ReadValue(block, Id(322, 1), codec), std::nullopt);
  EXPECT_EQ(Text(Id(322, 1)), "");
  EXPECT_EQ(ReadValue(block, Id(7, 1), codec), std::nullopt);
  EXPECT_EQ(Text(Id(7, 1)), "");
  block.count = 3;
  EXPECT_EQ(Text(Id(0xFFFF, 0)), "3");
  EXPECT_EQ(ReadValue(block, Id(0xFFFF, 99), codec), TaggedValue::Int32(3));
}

TEST(StoreValue, KeepsErrorBoolAndDateSlots) {
  const TaggedValue error{ValueKind::kError, 5, 0, {}};
  const TaggedValue boolean{ValueKind::kBool, 0, 0, {}};
  const TaggedValue date{ValueKind::kDate, 0, 1.0, {}};
  const TaggedValue text = TaggedValue::Text(u"old");
  const TaggedValue other{ValueKind::kOther, 0, 0, {}};
  struct Case {
    TaggedValue slot, value, stored;
  } cases[] = {
      {error, TaggedValue::Int32(7), {ValueKind::kError, 7, 0, {}}},
      {boolean, TaggedValue::Int32(7), {ValueKind::kBool, -1, 0, {}}},
      {boolean, TaggedValue::Int32(0), {ValueKind::kBool, 0, 0, {}}},
      {date, TaggedValue::Int32(7), TaggedValue::Int32(7)},
      {text, TaggedValue::Int32(7), TaggedValue::Int32(7)},
      {date, TaggedValue::Double(2.5), {ValueKind::kDate, 0, 2.5, {}}},
      {error, TaggedValue::Double(2.5), TaggedValue::Double(2.5)},
      {boolean, TaggedValue::Double(2.5), TaggedValue::Double(2.5)},
      {date, TaggedValue::Text(u"t"), TaggedValue::Text(u"t")},
      {error, TaggedValue::Text(u"t"), TaggedValue::Text(u"t")},
      {other, TaggedValue::Int32(1), TaggedValue::Int32(1)},
      {TaggedValue{}, TaggedValue::Double(1), TaggedValue::Double(1)},
  };
  for (Case& c : cases) {
    TaggedValue slot = c.slot;
    StoreValue(slot, c.value);
    EXPECT_EQ(slot, c.stored);
  }
}

TEST_F(Values, WriteTable) {
  block.strings = {"one", "two"};
  struct Case {
    const char* what;
    std::uint32_t id;
    Forms value;
    std::int32_t result;
  } cases[] = {
      {"count", Id(0xFFFF, 0), TextForm(u"5"), 0},
      {"string 2", Id(0, 2), TextForm(u"zwei"), 0},
      {"string 1 through 321", Id(321, 1), TextForm(u""), 0},
      {"index 0", Id(0, 0), TextForm(u"x"), 0},
      {"beyond the list", Id(0, 3), TextForm(u"x"), 0},
      {"string not convertible", Id(0, 1), Forms{}, 1},
      {"other source", Id(5, 1), TextForm(u"x"), 1},
  };
  for (Case& c : cases) EXPECT_EQ(WriteValue(block, c.id, c.value, codec), c.result) << c.what;
  EXPECT_EQ(block.strings, (std::vector<std::string>{"", "zwei"}));
  EXPECT_EQ(block.record, nullptr);
}

TEST_F(Values, RecordWritesCreateTheRecordAndConvert) {
  Forms number;
  number.i4 = 12;
  number.r8 = 3.25;
  number.text = u"text";
  EXPECT_EQ(WriteValue(block, Id(322, 9), number, codec), 0);
  ASSERT_TRUE(block.record);
  EXPECT_EQ(block.record_size, 232);
  for (int i = 0; i < 232; ++i) ASSERT_EQ(block.record[i], 0) << i;

  EXPECT_EQ(WriteValue(block, Id(322, 1), number, codec), 1);
  EXPECT_EQ(WriteValue(block, Id(322, 4), number, codec), 1);
  EXPECT_EQ(Get<std::int32_t>(0), 12);
  EXPECT_EQ(Get<double>(24), 3.25);

  Forms nothing;  // no conversion works: numbers become 0, text is not stored
  EXPECT_EQ(WriteValue(block, Id(322, 1), nothing, codec), 1);
  EXPECT_EQ(WriteValue(block, Id(322, 4), nothing, codec), 1);
  EXPECT_EQ(Get<std::int32_t>(0), 0);
  EXPECT_EQ(Get<double>(24), 0.0);

  Put<double>(64, 6.5);
  std::memset(block.record.get() + 32, 'q', 32);
  Forms long_text = TextForm(std::u16string(40, u'L'));
  EXPECT_EQ(WriteValue(block, Id(322, 5), long_text, codec), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block.record.get() + 32), 32),
            std::string(31, 'L') + '\0');
  EXPECT_EQ(Get<double>(64), 6.5);
  EXPECT_EQ(WriteValue(block, Id(322, 7), nothing, codec), 1);
  EXPECT_EQ(block.record[72], 0);
  Forms short_text = TextForm(u"ab");
  EXPECT_EQ(WriteValue(block, Id(322, 5), short_text, codec), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block.record.get() + 32), 32),
            std::string("ab") + std::string(30, '\0'));
  EXPECT_EQ(Text(Id(322, 5)), "ab");
}

TEST_F(Values, AStringWriteReturnsZeroButAReadShowsIt) {
  block.strings = {"old"};
  Forms value = TextForm(u"  new  ");
  EXPECT_EQ(WriteValue(block, Id(0, 1), value, codec), 0);
  EXPECT_EQ(block.strings[0], "  new  ");
  EXPECT_EQ(Text(Id(0, 1)), "new");
  // Whole replacement, any length.
  Forms long_text = TextForm(std::u16string(300, u'w'));
  EXPECT_EQ(WriteValue(block, Id(0, 1), long_text, codec), 0);
  EXPECT_EQ(block.strings[0], std::string(300, 'w'));
}

// Text in code page 932: the fixed ranges and the record's 31-byte cut
// count bytes, and a double-byte character that a boundary would cut in two
// is kept by neither side.
class DoubleByteValues : public ::testing::Test {
 protected:
  static std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
  }
  static std::string Field(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), '\0');
  }
  std::string Text(std::uint32_t id) { return ReadValueText(block, id, sjis); }

  PartsAttributeBlock block;
  ShiftJisCodec sjis;
};

TEST_F(DoubleByteValues, FallbackRangesCountBytesAndKeepCharactersWhole) {
  const std::string padded = Field("南の庭", 48) + Field(Repeat("表ソ", 12), 48) +
                             Field(
                                 "\x81\x40"
                                 "樫"
                                 "\x81\x40",
                                 16) +
                             Field("木材", 144);
  // 121 bytes without a NUL: a character straddles every range boundary.
  const std::string run = "a" + Repeat("南", 60);
  struct Case {
    const std::string& text;
    std::uint32_t index;
    std::string expected;
  } cases[] = {
      {padded, 1, "南の庭"},
      {padded, 13, Repeat("表ソ", 12)},  // fills its 48 bytes
      {padded, 14, "樫"},
      {padded, 15, "木材"},
      {run, 1, "a" + Repeat("南", 23)},
      {run, 13, Repeat("南", 23)},
      {run, 14, Repeat("南", 7)},
      {run, 15, Repeat("南", 4)},
  };
  for (const Case& c : cases) {
    block.attribute_text = sjis.ToWide(c.text);
    EXPECT_EQ(Text(Id(0, c.index)), c.expected) << c.text.size() << " " << c.index;
  }
}

TEST_F(DoubleByteValues, StringsTrimIdeographicSpaceAndTakeDoubleByteText) {
  block.attribute_text = sjis.ToWide(Field("木材", 48));
  block.strings = {"\x81\x40\x81\x40",
                   "\x81\x40"
                   "南の庭"
                   "\x81\x40",
                   "old"};
  EXPECT_EQ(Text(Id(0, 1)), "木材");  // only ideographic spaces: the first field
  EXPECT_EQ(Text(Id(0, 2)), "南の庭");
  EXPECT_EQ(ReadValue(block, Id(0, 2), sjis), TaggedValue::Text(u"南の庭"));
  Forms value = TextForm(u"表ソ");
  EXPECT_EQ(WriteValue(block, Id(0, 3), value, sjis), 0);
  EXPECT_EQ(block.strings[2], "表ソ");
}

TEST_F(DoubleByteValues, RecordTextIsCutAt31BytesBetweenCharacters) {
  struct Case {
    std::u16string text;
    std::string stored;
  } cases[] = {
      {sjis.ToWide(Repeat("南", 16)), Repeat("南", 15)},  // the sixteenth would be halved
      {u"a" + sjis.ToWide(Repeat("南", 16)), "a" + Repeat("南", 15)},  // 31 bytes whole
      {u"表ソ", "表ソ"},
  };
  for (const Case& c : cases) {
    Forms value = TextForm(c.text);
    EXPECT_EQ(WriteValue(block, Id(322, 5), value, sjis), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block.record.get() + 32), 32),
              Field(c.stored, 32))
        << c.stored.size();
    EXPECT_EQ(Text(Id(322, 5)), c.stored);
  }
}

}  // namespace
}  // namespace kx::hostkit

#include "hostkit/gfxcaps/video_board.h"

#include <gtest/gtest.h>

#include <cmath>

#include "hostkit/gfxcaps/graphics_fakes.h"

namespace kx::hostkit {
namespace {

using test::kOtherIdText;
using test::kPrimaryIdText;

TEST(LeadingRealTest, ReadsTheNumberAtTheStartAsWcstodDoes) {
  EXPECT_EQ(LeadingReal(u"512.0 MB"), 512.0);
  EXPECT_EQ(LeadingReal(u"4289.7 MB"), 4289.7);
  EXPECT_EQ(LeadingReal(u" \t\r\n256MB"), 256.0);
  EXPECT_EQ(LeadingReal(u"-12.5"), -12.5);
  EXPECT_EQ(LeadingReal(u"+.5x"), 0.5);
  EXPECT_EQ(LeadingReal(u"7."), 7.0);
  EXPECT_EQ(LeadingReal(u"1e3 MB"), 1000.0);
  EXPECT_EQ(LeadingReal(u"2.5E-1"), 0.25);
  EXPECT_EQ(LeadingReal(u"12e"), 12.0);  // an exponent needs a digit
  EXPECT_EQ(LeadingReal(u"12e+MB"), 12.0);
  EXPECT_EQ(LeadingReal(u"1,024 MB"), 1.0);  // a comma ends the number
  EXPECT_EQ(LeadingReal(u"0x10"), 0.0);      // decimal only
  EXPECT_EQ(LeadingReal(u"1.5.5"), 1.5);
}

TEST(LeadingRealTest, TextWithoutANumberReadsAsZero) {
  EXPECT_EQ(LeadingReal(u""), 0.0);
  EXPECT_EQ(LeadingReal(u"MB 512"), 0.0);
  EXPECT_EQ(LeadingReal(u"-"), 0.0);
  EXPECT_EQ(LeadingReal(u"."), 0.0);
  EXPECT_EQ(LeadingReal(u"+.e5"), 0.0);
  EXPECT_EQ(LeadingReal(u"\u3000512"), 0.0);           // only ASCII blanks are skipped
  EXPECT_EQ(LeadingReal(u"\uFF15\uFF11\uFF12"), 0.0);  // full-width digits are not digits
}

TEST(LeadingRealTest, OutOfRangeReadsAsInfinityOrZero) {
  EXPECT_EQ(LeadingReal(u"1e999"), HUGE_VAL);
  EXPECT_EQ(LeadingReal(u"-1e999"), -HUGE_VAL);
  EXPECT_EQ(LeadingReal(u"1e-999"), 0.0);
  EXPECT_EQ(LeadingReal(u"0.0000000001e-999"), 0.0);
  EXPECT_EQ(LeadingReal(u"123456789e99999999999"), HUGE_VAL);
  EXPECT_EQ(LeadingReal(u"0e99999"), 0.0);
  EXPECT_EQ(LeadingReal(u"1e-000000000000400"), 0.0);
  EXPECT_EQ(LeadingReal(u"1e+000000000000400"), HUGE_VAL);
}

TEST(MemoryFromDiagValueTest, EachKindOfValue) {
  EXPECT_EQ(MemoryFromDiagValue(DiagValue::Signed(-5)), -5.0);
  EXPECT_EQ(MemoryFromDiagValue(DiagValue::Signed(256)), 256.0);
  // Above 2^31 an unsigned value keeps its size.
  EXPECT_EQ(MemoryFromDiagValue(DiagValue::Unsigned(3000000000u)), 3000000000.0);
  EXPECT_EQ(MemoryFromDiagValue(DiagValue::Unsigned(0xFFFFFFFFu)), 4294967295.0);
  EXPECT_EQ(MemoryFromDiagValue(DiagValue::Text(u"512.0 MB")), 512.0);
  EXPECT_EQ(MemoryFromDiagValue(DiagValue::Text(u"n/a")), 0.0);
  EXPECT_EQ(MemoryFromDiagValue(DiagValue()), std::nullopt);
}

TEST(ParseGuidTest, RegistryFormOnly) {
  const std::optional<Guid> guid = ParseGuid(kPrimaryIdText);  // mixed case
  ASSERT_TRUE(guid);
  EXPECT_EQ(*guid, test::kPrimaryId);
  EXPECT_EQ(ParseGuid(kOtherIdText), test::kOtherId);
  EXPECT_EQ(ParseGuid(u"12345678-9abc-DEF0-0102-030405060708"), std::nullopt);
  EXPECT_EQ(ParseGuid(u"{12345678-9abc-DEF0-0102-030405060708"), std::nullopt);
  EXPECT_EQ(ParseGuid(u"{12345678-9abc-DEF0-0102-03040506070}"), std::nullopt);
  EXPECT_EQ(ParseGuid(u"{12345678-9abc-DEF0-0102-03040506070G}"), std::nullopt);
  EXPECT_EQ(ParseGuid(u"{12345678+9abc-DEF0-0102-030405060708}"), std::nullopt);
  EXPECT_EQ(ParseGuid(u"{1234567-89abc-DEF0-0102-030405060708}"), std::nullopt);
  EXPECT_EQ(ParseGuid(u""), std::nullopt);
}

class VideoBoardTest : public ::testing::Test {
 protected:
  test::Events events;
  test::FakeDirect3D d3d{events};
  test::FakeDiag diag{events};
  test::FakeCodePage code_page;
  BoardSources sources{d3d, diag, code_page};

  test::FakeDevice& AddPrimary(DiagValue memory, DiagValue chip) {
    test::FakeDevice& device = diag.AddDevice(kPrimaryIdText);
    device.properties[u"szDisplayMemoryLocalized"] = std::move(memory);
    device.properties[u"szChipType"] = std::move(chip);
    return device;
  }
};

TEST_F(VideoBoardTest, ReadsThePrimaryAdaptersChipAndMemory) {
  AddPrimary(DiagValue::Text(u"512.0 MB"), DiagValue::Text(u"RADEON X1600 Series"));
  const std::optional<BoardReading> reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->video_memory, 512.0);
  EXPECT_EQ(reading->chip_type, "RADEON X1600 Series");
  // Direct3D is let go before the service starts; the device before the list.
  EXPECT_EQ(events, (test::Events{"d3d open", "d3d close", "diag open", "device open",
                                  "device close", "diag close"}));
}

TEST_F(VideoBoardTest, ThePrimaryDeviceSecondInTheListIsTheOneUsed) {
  test::FakeDevice& other = diag.AddDevice(kOtherIdText);
  other.properties[u"szDisplayMemoryLocalized"] = DiagValue::Signed(64);
  other.properties[u"szChipType"] = DiagValue::Text(u"Secondary");
  AddPrimary(DiagValue::Unsigned(3000000000u), DiagValue::Text(u"Primary"));
  const std::optional<BoardReading> reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->video_memory, 3000000000.0);
  EXPECT_EQ(reading->chip_type, "Primary");
}

TEST_F(VideoBoardTest, ChildrenThatCannotBeNamedOpenedOrReadArePassedOver) {
  diag.AddDevice(kPrimaryIdText).name.reset();
  diag.AddDevice(kPrimaryIdText).openable = false;
  diag.AddDevice(u"").properties[u"szDeviceIdentifier"] = DiagValue::Unsigned(1);
  diag.AddDevice(u"not a guid");
  diag.AddDevice(kOtherIdText);
  EXPECT_EQ(ReadVideoBoard(sources), std::nullopt);
  AddPrimary(DiagValue::Signed(128), DiagValue::Text(u"Found"));
  const std::optional<BoardReading> reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->chip_type, "Found");
  EXPECT_EQ(reading->video_memory, 128.0);
}

TEST_F(VideoBoardTest, DevicesReadInOneGoGiveTheSameBoard) {
  const auto same = [&](const char* what) {
    events.clear();
    const std::optional<std::vector<DiagDeviceFacts>> devices = ReadDisplayDevices(diag);
    // Everything of the service is let go before the facts are handed over.
    ASSERT_FALSE(events.empty()) << what;
    EXPECT_EQ(events.back(), "diag close") << what;
    EXPECT_EQ(std::count(events.begin(), events.end(), "device open"),
              std::count(events.begin(), events.end(), "device close"))
        << what;
    ASSERT_TRUE(devices) << what;
    const std::optional<BoardReading> one_go = BoardOf(*devices, test::kPrimaryId, code_page);
    const std::optional<BoardReading> found = ReadVideoBoard(sources);
    ASSERT_EQ(one_go.has_value(), found.has_value()) << what;
    if (!found) return;
    EXPECT_EQ(one_go->chip_type, found->chip_type) << what;
    EXPECT_EQ(one_go->video_memory, found->video_memory) << what;
  };
  same("no devices");
  diag.AddDevice(kPrimaryIdText).name.reset();
  diag.AddDevice(kPrimaryIdText).openable = false;
  diag.AddDevice(u"").properties[u"szDeviceIdentifier"] = DiagValue::Unsigned(1);
  diag.AddDevice(kOtherIdText).properties[u"szChipType"] = DiagValue::Text(u"Secondary");
  same("none of them the primary");
  AddPrimary(DiagValue::Text(u"  96.5 MB"), DiagValue::Text(u"表示 Chip"));
  same("the primary after the others");
  AddPrimary(DiagValue::Signed(1), DiagValue::Text(u"A second primary"));
  same("the first primary counts");
  diag.devices.clear();
  AddPrimary(DiagValue(), DiagValue::Unsigned(7));  // neither value usable
  same("nothing usable");
  diag.available = false;
  EXPECT_EQ(ReadDisplayDevices(diag), std::nullopt);
}

TEST_F(VideoBoardTest, NoDirect3DOrNoServiceFindsNothing) {
  AddPrimary(DiagValue::Signed(128), DiagValue::Text(u"Chip"));
  d3d.available = false;
  EXPECT_EQ(ReadVideoBoard(sources), std::nullopt);
  EXPECT_TRUE(events.empty());  // the service is not even started
  d3d.available = true;
  diag.available = false;
  EXPECT_EQ(ReadVideoBoard(sources), std::nullopt);
  EXPECT_EQ(ReadVideoMemory(sources), std::nullopt);
}

TEST_F(VideoBoardTest, AnUnreadableAdapterIdentifierIsAllZeros) {
  d3d.device_id.reset();
  AddPrimary(DiagValue::Signed(128), DiagValue::Text(u"Primary"));
  EXPECT_EQ(ReadVideoBoard(sources), std::nullopt);
  test::FakeDevice& zero = diag.AddDevice(u"{00000000-0000-0000-0000-000000000000}");
  zero.properties[u"szChipType"] = DiagValue::Text(u"Zero");
  const std::optional<BoardReading> reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->chip_type, "Zero");
}

TEST_F(VideoBoardTest, PropertiesOfOtherKindsAreLeftOut) {
  AddPrimary(DiagValue(), DiagValue::Signed(5));
  const std::optional<BoardReading> reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->video_memory, std::nullopt);
  EXPECT_EQ(reading->chip_type, std::nullopt);
  // The memory alone then reads as unknown, yet the device was found.
  EXPECT_EQ(ReadVideoMemory(sources), -1.0);
}

TEST_F(VideoBoardTest, AnEmptyChipTextIsStillAText) {
  AddPrimary(DiagValue::Text(u"4289.7 MB"), DiagValue::Text(u""));
  const std::optional<BoardReading> reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->chip_type, "");
  EXPECT_EQ(ReadVideoMemory(sources), 4289.7);
}

TEST_F(VideoBoardTest, ALongChipDescriptionIsCutTo1023Bytes) {
  AddPrimary(DiagValue::Signed(1), DiagValue::Text(std::u16string(2000, u'x')));
  std::optional<BoardReading> reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading && reading->chip_type);
  EXPECT_EQ(*reading->chip_type, std::string(1023, 'x'));

  // Never half a double-byte character: "表" (95 5C) across byte 1023.
  diag.devices.clear();
  AddPrimary(DiagValue::Signed(1), DiagValue::Text(std::u16string(1022, u'x') + u"表示"));
  reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading && reading->chip_type);
  EXPECT_EQ(*reading->chip_type, std::string(1022, 'x'));
  diag.devices.clear();
  AddPrimary(DiagValue::Signed(1), DiagValue::Text(std::u16string(1021, u'x') + u"表示"));
  reading = ReadVideoBoard(sources);
  ASSERT_TRUE(reading && reading->chip_type);
  EXPECT_EQ(*reading->chip_type, std::string(1021, 'x') + "\x95\x5C");
}

TEST(DirectDrawMemoryTest, DividesTheByteCountBy1024000) {
  test::FakeDirectDraw directdraw;
  EXPECT_DOUBLE_EQ(*ReadDirectDrawMemory(directdraw), 262.144);
  directdraw.total = 0xFFFFFFFFu;  // read without sign
  EXPECT_DOUBLE_EQ(*ReadDirectDrawMemory(directdraw), 4294967295.0 / 1024000.0);
  directdraw.total.reset();
  EXPECT_EQ(ReadDirectDrawMemory(directdraw), std::nullopt);
}

}  // namespace
}  // namespace kx::hostkit

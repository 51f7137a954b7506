// The text slot every export hands text back through, against the real
// system string functions.
#include <gtest/gtest.h>

#include "hostkit/shell/text_slot_win32.h"

namespace hostkit {
namespace {

TEST(TextSlot, ReplacesWhatTheSlotHeldWithTheBytesAsTheyAre) {
  BSTR slot = SysAllocStringByteLen("old", 3);
  // Shift-JIS with a 0x5C trail byte, an inner zero, an odd length.
  const std::string bytes("表\0ソa", 6);
  ASSERT_TRUE(SetTextSlot(&slot, bytes));
  EXPECT_EQ(SysStringByteLen(slot), 6u);
  EXPECT_EQ(TextSlotBytes(slot), bytes);
  // A byte string ends in a zero byte of its own, for callers that read it as C text.
  EXPECT_EQ(reinterpret_cast<const char*>(slot)[6], '\0');

  ASSERT_TRUE(SetTextSlot(&slot, ""));
  EXPECT_NE(slot, nullptr);
  EXPECT_EQ(SysStringByteLen(slot), 0u);
  SysFreeString(slot);
}

TEST(TextSlot, AnEmptySlotIsFilledAndANullOneRefused) {
  BSTR slot = nullptr;
  ASSERT_TRUE(SetTextSlot(&slot, "abc"));
  EXPECT_EQ(TextSlotBytes(slot), "abc");
  SysFreeString(slot);

  EXPECT_FALSE(SetTextSlot(nullptr, "abc"));
  EXPECT_EQ(TextSlotBytes(nullptr), "");
}

}  // namespace
}  // namespace hostkit

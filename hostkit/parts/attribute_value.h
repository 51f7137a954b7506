// Single values inside a parts attribute block, addressed by a 32-bit
// attribute id: the high 16 bits name the source (attribute text, parts
// record, count), the low 16 bits the index within it. OLE Automation
// values appear here as a small tagged value; the Win32 layer converts
// them at the export boundary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "hostkit/parts/attribute_block.h"

namespace kx::hostkit {

inline constexpr std::uint32_t kSourceAttributeText = 0;  // 321 (0x141) as well
inline constexpr std::uint32_t kSourceCount = 0xFFFF;

// The kinds of value a VARIANT may hold, as far as the storing rules tell
// them apart; kOther stands for every other type.
enum class ValueKind { kEmpty, kInt32, kDouble, kText, kBool, kError, kDate, kOther };

struct TaggedValue {
  ValueKind kind = ValueKind::kEmpty;
  std::int32_t number = 0;  // kInt32; the code of kError; VARIANT_TRUE (-1) or 0 for kBool
  double real = 0.0;        // kDouble, kDate
  std::u16string text;      // kText

  static TaggedValue Int32(std::int32_t v) { return {ValueKind::kInt32, v, 0.0, {}}; }
  static TaggedValue Double(double v) { return {ValueKind::kDouble, 0, v, {}}; }
  static TaggedValue Text(std::u16string v) { return {ValueKind::kText, 0, 0.0, std::move(v)}; }
  friend bool operator==(const TaggedValue& a, const TaggedValue& b) {
    return a.kind == b.kind && a.number == b.number && a.real == b.real && a.text == b.text;
  }
};

// Stores `value` (an integer, a double or text) into `slot` as the OLE
// Automation value wrappers do: an integer keeps a slot's VT_ERROR type (as
// its code) and turns a VT_BOOL slot into true or false; a double keeps a
// VT_DATE slot's type; anything else replaces the slot's type.
void StoreValue(TaggedValue& slot, const TaggedValue& value);

// White space at both ends removed, by the wide-character white-space test
// of the system (ideographic space included).
std::u16string TrimWide(std::u16string_view text);

// The value of `id` for the VARIANT export: an integer, a double or text;
// nullopt when there is none (the caller's VARIANT stays as it was).
std::optional<TaggedValue> ReadValue(const PartsAttributeBlock& block, std::uint32_t id,
                                     TextCodec& codec);

// The value of `id` for the plain export, as multibyte text (empty when
// there is no value).
std::string ReadValueText(const PartsAttributeBlock& block, std::uint32_t id, TextCodec& codec);

// A new value on its way into a block, in the forms the block may take it:
// each conversion is asked for only when needed and fails with nullopt.
class ValueForms {
 public:
  virtual ~ValueForms() = default;
  virtual std::optional<std::int32_t> AsInt32() = 0;
  virtual std::optional<double> AsDouble() = 0;
  virtual std::optional<std::u16string> AsText() = 0;
};

// Changes the value of `id` in `block`; the result of SetPartsAttributeVar.
std::int32_t WriteValue(PartsAttributeBlock& block, std::uint32_t id, ValueForms& value,
                        TextCodec& codec);

}  // namespace kx::hostkit

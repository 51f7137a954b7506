#include "hostkit/parts/attribute_value.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/text.h"

namespace kx::hostkit {

namespace {

constexpr std::uint32_t kSourceAttributeStrings = 321;
constexpr std::uint32_t kSourceRecord = 322;
constexpr std::size_t kRecordTextSize = 32;

std::uint32_t Source(std::uint32_t id) { return id >> 16; }
std::uint32_t Index(std::uint32_t id) { return id & 0xFFFF; }

bool IsAttributeTextSource(std::uint32_t source) {
  return source == kSourceAttributeText || source == kSourceAttributeStrings;
}

// Where the fixed fallbacks of the attribute text source lie in the
// attribute text's multibyte form.
struct ByteRange {
  std::uint32_t index;
  std::size_t start;
  std::size_t length;
};
constexpr ByteRange kTextRanges[] = {{1, 0, 48}, {13, 48, 48}, {14, 96, 16}, {15, 112, 144}};

// The first character boundary of `bytes` at or after `at`, stepping over
// double-byte characters from the start.
std::size_t CharacterBoundary(const std::string& bytes, std::size_t at) {
  std::size_t i = 0;
  while (i < at && i < bytes.size()) {
    i += IsLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
  }
  return i;
}

// The whole characters of the range, up to the first NUL: a double-byte
// character that a range boundary cuts in two is read by neither range.
std::string RangeText(const std::string& bytes, const ByteRange& range) {
  const std::size_t begin = CharacterBoundary(bytes, range.start);
  if (begin >= bytes.size()) return {};
  std::string piece = CutText(bytes.substr(begin), range.start + range.length - begin);
  piece.resize(::strnlen(piece.c_str(), piece.size()));
  return piece;
}

std::u16string Fallback(const PartsAttributeBlock& block, std::uint32_t n, TextCodec& codec) {
  if (n == 11) return block.maker_text;
  for (const ByteRange& range : kTextRanges) {
    if (range.index != n) continue;
    return codec.ToWide(RangeText(codec.ToMultibyte(block.attribute_text), range));
  }
  return {};
}

std::u16string AttributeText(const PartsAttributeBlock& block, std::uint32_t n, TextCodec& codec) {
  if (n >= 1 && n <= block.strings.size()) {
    std::u16string text = TrimWide(codec.ToWide(block.strings[n - 1]));
    if (!text.empty()) return text;
  }
  return TrimWide(Fallback(block, n, codec));
}

// Byte offsets of the record fields 1-7.
constexpr std::size_t kFieldOffsets[] = {0, 8, 16, 24, 32, 64, 72};

bool IsTextField(std::uint32_t field) { return field == 5 || field == 7; }
bool IsRealField(std::uint32_t field) {
  return field == 2 || field == 3 || field == 4 || field == 6;
}

// The record field as it is stored (text untrimmed); nullopt without a
// record or for a field number outside 1-7.
std::optional<TaggedValue> RecordField(const PartsAttributeBlock& block, std::uint32_t field,
                                       TextCodec& codec) {
  if (!block.record || block.record_size < kPartsRecordSize) return std::nullopt;
  if (field < 1 || field > 7) return std::nullopt;
  const std::uint8_t* at = block.record.get() + kFieldOffsets[field - 1];
  if (field == 1) {
    std::int32_t v;
    std::memcpy(&v, at, sizeof v);
    return TaggedValue::Int32(v);
  }
  if (IsRealField(field)) {
    double v;
    std::memcpy(&v, at, sizeof v);
    return TaggedValue::Double(v);
  }
  const char* text = reinterpret_cast<const char*>(at);
  return TaggedValue::Text(codec.ToWide(std::string_view(text, ::strnlen(text, kRecordTextSize))));
}

std::string Printed(const char* format, double value) {
  const int length = std::snprintf(nullptr, 0, format, value);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  std::snprintf(text.data(), text.size() + 1, format, value);
  return text;
}

// A zero-filled record for a block that has none.
void EnsureRecord(PartsAttributeBlock& block) {
  if (block.record && block.record_size != 0) return;
  block.record = std::make_unique<std::uint8_t[]>(kPartsRecordSize);  // zero-filled
  block.record_size = kPartsRecordSize;
}

}  // namespace

void StoreValue(TaggedValue& slot, const TaggedValue& value) {
  if (value.kind == ValueKind::kInt32 && slot.kind == ValueKind::kError) {
    slot = TaggedValue{ValueKind::kError, value.number, 0.0, {}};
  } else if (value.kind == ValueKind::kInt32 && slot.kind == ValueKind::kBool) {
    slot = TaggedValue{ValueKind::kBool, value.number != 0 ? -1 : 0, 0.0, {}};
  } else if (value.kind == ValueKind::kDouble && slot.kind == ValueKind::kDate) {
    slot = TaggedValue{ValueKind::kDate, 0, value.real, {}};
  } else {
    slot = value;
  }
}

std::u16string TrimWide(std::u16string_view text) {
  auto space = [](char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
  };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && space(text[begin])) ++begin;
  while (end > begin && space(text[end - 1])) --end;
  return std::u16string(text.substr(begin, end - begin));
}

std::optional<TaggedValue> ReadValue(const PartsAttributeBlock& block, std::uint32_t id,
                                     TextCodec& codec) {
  const std::uint32_t source = Source(id);
  if (IsAttributeTextSource(source))
    return TaggedValue::Text(AttributeText(block, Index(id), codec));
  if (source == kSourceRecord) return RecordField(block, Index(id), codec);
  if (source == kSourceCount) return TaggedValue::Int32(block.count);
  return std::nullopt;
}

std::string ReadValueText(const PartsAttributeBlock& block, std::uint32_t id, TextCodec& codec) {
  const std::uint32_t source = Source(id);
  if (IsAttributeTextSource(source))
    return codec.ToMultibyte(AttributeText(block, Index(id), codec));
  if (source == kSourceCount) return std::to_string(block.count);
  if (source != kSourceRecord) return {};
  const std::optional<TaggedValue> field = RecordField(block, Index(id), codec);
  if (!field) return {};
  switch (field->kind) {
    case ValueKind::kInt32:
      return std::to_string(field->number);
    case ValueKind::kDouble:
      return Printed("%f", field->real);
    default:
      return codec.ToMultibyte(TrimWide(field->text));
  }
}

std::int32_t WriteValue(PartsAttributeBlock& block, std::uint32_t id, ValueForms& value,
                        TextCodec& codec) {
  const std::uint32_t source = Source(id);
  const std::uint32_t index = Index(id);
  if (source == kSourceCount) return 0;
  if (IsAttributeTextSource(source)) {
    // The list is never extended; a string in it is replaced whole.
    if (index < 1 || index > block.strings.size()) return 0;
    std::optional<std::u16string> text = value.AsText();
    if (!text) return 1;
    block.strings[index - 1] = codec.ToMultibyte(*text);
    return 0;
  }
  if (source != kSourceRecord) return 1;

  EnsureRecord(block);
  if (index < 1 || index > 7) return 0;
  std::uint8_t* at = block.record.get() + kFieldOffsets[index - 1];
  if (index == 1) {
    const std::int32_t v = value.AsInt32().value_or(0);
    std::memcpy(at, &v, sizeof v);
  } else if (IsRealField(index)) {
    const double v = value.AsDouble().value_or(0.0);
    std::memcpy(at, &v, sizeof v);
  } else if (IsTextField(index)) {
    std::optional<std::u16string> text = value.AsText();
    if (!text) return 1;
    // At most 31 bytes and a NUL, never half of a double-byte character.
    const std::string bytes = CutText(codec.ToMultibyte(*text), kRecordTextSize - 1);
    std::memset(at, 0, kRecordTextSize);
    std::memcpy(at, bytes.data(), bytes.size());
  }
  return 1;
}

}  // namespace kx::hostkit

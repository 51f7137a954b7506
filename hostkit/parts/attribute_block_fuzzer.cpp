// Engine bytes of any kind and any stated size through the reading of the
// 321 and 322 blocks and every value a block gives, in a single-byte and in
// a double-byte code page. Input: two int32 sizes the engine reports for
// 321 and 322, one byte telling where the 321 data ends (its lowest bit the
// code page), then the data of both blocks; all of it is the attribute
// text as well.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hostkit/parts/attribute_value.h"
#include "hostkit/parts/fake_parts_engine.h"

using namespace kx::hostkit;

namespace {

std::int32_t Int32At(const std::uint8_t* p) {
  std::int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// The reported sizes stay small enough for the fuzzer's memory limit; the
// logic's own bound on believable sizes is exercised by the unit tests.
std::int32_t Reported(std::int32_t size) { return size < 0 ? size : size % (1 << 16); }

// A text on its way into a record field.
struct TextForm final : ValueForms {
  std::u16string text;
  std::optional<std::int32_t> AsInt32() override { return std::nullopt; }
  std::optional<double> AsDouble() override { return std::nullopt; }
  std::optional<std::u16string> AsText() override { return text; }
};

// Length of the character at `at`: two bytes for a lead byte with a byte
// after it.
std::size_t CharacterLength(const std::string& bytes, std::size_t at) {
  return kx::IsLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() ? 2 : 1;
}

// A record text field set to `bytes` (no NUL) holds as many whole
// characters of it as fit in 31 bytes, then NULs.
void CheckRecordText(const PartsAttributeBlock& block, std::size_t offset,
                     const std::string& bytes) {
  const char* field = reinterpret_cast<const char*>(block.record.get() + offset);
  const std::size_t stored = ::strnlen(field, 32);
  if (stored > 31 || bytes.compare(0, stored, field, stored) != 0) std::abort();
  std::size_t boundary = 0;
  while (boundary < stored) boundary += CharacterLength(bytes, boundary);
  if (boundary != stored) std::abort();  // a character cut in two
  if (stored < bytes.size() && stored + CharacterLength(bytes, stored) <= 31) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const AttributeStrings direct = ParseAttributeStrings(data, size);
  if (direct.strings.size() > kMaxAttributeStrings) std::abort();
  const auto again = SerialiseAttributeStrings(direct.strings);
  if (!again ||
      ParseAttributeStrings(reinterpret_cast<const std::uint8_t*>(again->data()), again->size())
              .strings != direct.strings) {
    std::abort();
  }

  if (size < 9) return 0;
  test::FakePartsEngine engine;
  test::FakePart& part = engine.Add(0);
  const std::size_t split = 9 + data[8] * (size - 9) / 255;
  part.blocks[321] = std::string(reinterpret_cast<const char*>(data + 9), split - 9);
  part.blocks[322] = std::string(reinterpret_cast<const char*>(data + split), size - split);
  part.reported_size[321] = Reported(Int32At(data));
  part.reported_size[322] = Reported(Int32At(data + 4));
  part.attribute = std::string(reinterpret_cast<const char*>(data), size);
  test::Latin1Codec latin1;
  test::ShiftJisCodec shift_jis;
  TextCodec& codec = (data[8] & 1) != 0 ? static_cast<TextCodec&>(shift_jis) : latin1;
  PartsServices services{&engine, &codec, nullptr};
  BlockPtr block = BuildAttributeBlock(services, 0, false);
  if (!block) std::abort();
  for (std::uint32_t source : {0u, 321u, 322u, 0xFFFFu}) {
    for (std::uint32_t index = 0; index <= 17; ++index) {
      const std::uint32_t id = source << 16 | index;
      (void)ReadValue(*block, id, codec);
      (void)ReadValueText(*block, id, codec);
    }
  }
  TextForm text;
  text.text = block->attribute_text.substr(0, block->attribute_text.find(u'\0'));
  if (WriteValue(*block, 322u << 16 | 5, text, codec) != 1) std::abort();
  CheckRecordText(*block, 32, codec.ToMultibyte(text.text));
  UpdateAttributeBlock(&engine, block.get(), 0);
  return 0;
}

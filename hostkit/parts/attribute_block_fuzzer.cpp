// Engine bytes of any kind and any stated size through the reading of the
// 321 and 322 blocks and every value a block gives. Input: two int32 sizes
// the engine reports for 321 and 322, one byte telling where the 321 data
// ends, then the data of both blocks.
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
  test::Latin1Codec codec;
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
  UpdateAttributeBlock(&engine, block.get(), 0);
  return 0;
}

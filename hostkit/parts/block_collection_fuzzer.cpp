// Collection over part trees made from arbitrary bytes (children anywhere,
// loops, unknown parts, few distinct texts): the merged list must be the one
// a scan from the head for the first equal block makes of the plain list.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "hostkit/parts/block_collection.h"
#include "hostkit/parts/fake_parts_engine.h"

using namespace kx::hostkit;

namespace {

struct Entry {
  std::int32_t parts, count;
  bool operator==(const Entry& o) const { return parts == o.parts && count == o.count; }
};

std::vector<Entry> Listed(const CollectedBlocks& got) {
  std::vector<Entry> out;
  const PartsAttributeBlock* previous = nullptr;
  for (const PartsAttributeBlock* b = got.head; b != nullptr; b = b->next) {
    if (b->previous != previous) std::abort();
    previous = b;
    out.push_back({b->parts_index, b->count});
  }
  if (static_cast<std::int32_t>(out.size()) != got.count) std::abort();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint32_t flags = data[0] & 1;
  test::FakePartsEngine engine;
  // Each part takes three bytes: its text (one of a few), its flag and one
  // child (any part number, known or not).
  const std::size_t parts = (size - 1) / 3;
  for (std::size_t i = 0; i < parts; ++i) engine.Add(static_cast<std::int32_t>(i));
  for (std::size_t i = 0; i < parts; ++i) {
    const std::uint8_t* p = data + 1 + 3 * i;
    test::FakePart& part = engine.Part(static_cast<std::int32_t>(i));
    part.attribute = std::string(1, static_cast<char>('a' + p[0] % 4));
    if (p[0] & 0x10) part.maker = "m";
    if (p[0] & 0x20) part.blocks[321] = *SerialiseAttributeStrings({std::string(p[0] >> 6, 's')});
    part.flag = p[1] & 1;
    part.children.push_back(static_cast<std::int32_t>(p[2] % (parts + 2)) - 1);
    if (p[1] & 2) part.children.push_back(static_cast<std::int32_t>(i + 1));
  }
  test::Latin1Codec codec;
  PartsServices services{&engine, &codec, nullptr};

  CollectedBlocks plain = CollectAttributeBlocks(services, 0, flags);
  // The reference: every plain block goes to the first equal block before it.
  std::vector<const PartsAttributeBlock*> kept;
  std::vector<Entry> expected;
  for (const PartsAttributeBlock* b = plain.head; b != nullptr; b = b->next) {
    std::size_t k = 0;
    while (k < kept.size() && !EqualForMerge(*kept[k], *b)) ++k;
    if (k == kept.size()) {
      kept.push_back(b);
      expected.push_back({b->parts_index, 1});
    } else {
      ++expected[k].count;
    }
  }
  Listed(plain);
  CollectedBlocks merged = CollectAttributeBlocks(services, 0, flags | kCollectMerge);
  if (!(Listed(merged) == expected)) std::abort();
  ReleaseBlockList(plain.head);
  ReleaseBlockList(merged.head);
  return 0;
}

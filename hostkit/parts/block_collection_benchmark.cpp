// Collecting a large part tree with and without merging. Merging looks each
// block up by a hash of what equality compares, so it should cost about
// what the plain collection costs, and both should grow with the tree.
//   build/native/testbin/parts_collection_benchmark
#include <benchmark/benchmark.h>

#include <cstring>

#include "hostkit/parts/block_collection.h"
#include "hostkit/parts/fake_parts_engine.h"

namespace kx::hostkit {
namespace {

std::string Block321(const std::vector<std::string>& strings) {
  return *SerialiseAttributeStrings(strings);
}

// A tree of `size` parts, eight children to a part, each with attribute
// and maker texts and three attribute strings. `kinds` distinct blocks
// (0: every block differs from every other).
test::FakePartsEngine& Tree(std::int32_t size, std::int32_t kinds) {
  static std::map<std::pair<std::int32_t, std::int32_t>, test::FakePartsEngine> trees;
  auto [it, made] = trees.try_emplace({size, kinds});
  if (!made) return it->second;
  test::FakePartsEngine& engine = it->second;
  for (std::int32_t i = 0; i < size; ++i) {
    test::FakePart& part = engine.Add(i, i == 0 ? -1 : (i - 1) / 8);
    const std::int32_t kind = kinds == 0 ? i : i % kinds;
    part.attribute = "Furniture/Chair/Model " + std::to_string(kind);
    part.maker = "Maker " + std::to_string(kind % 17);
    part.blocks[321] =
        Block321({"Oak", "W" + std::to_string(kind), "Finish " + std::to_string(kind % 5)});
  }
  return engine;
}

void Collect(benchmark::State& state, std::uint32_t flags, std::int32_t kinds) {
  const auto size = static_cast<std::int32_t>(state.range(0));
  test::FakePartsEngine& engine = Tree(size, kinds);
  test::Latin1Codec codec;
  PartsServices services{&engine, &codec, nullptr};
  for (auto _ : state) {
    CollectedBlocks got = CollectAttributeBlocks(services, 0, flags);
    benchmark::DoNotOptimize(got.count);
    ReleaseBlockList(got.head);
  }
  state.SetItemsProcessed(state.iterations() * size);
}

void Plain(benchmark::State& state) { Collect(state, 0, 0); }
void MergeAllDistinct(benchmark::State& state) { Collect(state, kCollectMerge, 0); }
void MergeRepeating(benchmark::State& state) { Collect(state, kCollectMerge, 100); }

BENCHMARK(Plain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeAllDistinct)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeRepeating)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kx::hostkit

BENCHMARK_MAIN();

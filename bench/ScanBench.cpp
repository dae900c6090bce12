// The core scan and indexing of the worst-case files against inserting the same names into a
// plain hash map.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

#include "DeepNamesImage.h"
#include "RatioReporter.h"
#include "WorstCaseImage.h"
#include "core/format/EntryScanner.h"
#include "core/index/KeyNameStore.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck::bench {
namespace {

// The worst-case file, and a 4 MiB file of 19,000 names about 6,000 levels deep that part after
// the first few (each entry a key of its own; a file under 2.4 MiB with as many is refused).
enum Shape { kWorstCase, kDeepNames };

const RegistryImage& Image(Shape shape) {
    static const RegistryImage worst(WorstCaseImage());
    static const RegistryImage deep(sample::DeepNamesImage(19000, 4u << 20));
    return shape == kWorstCase ? worst : deep;
}

std::vector<std::string_view> Names(const RegistryImage& image, const KeyNameStore& store) {
    std::vector<std::string_view> all;
    EntryScanner scanner(image);
    while (const auto entry = scanner.next()) all.push_back(store.nameAt(entry->keyOffset));
    return all;
}

template <Shape shape>
void BM_HashMapBaseline(benchmark::State& state) {
    const KeyNameStore store(Image(shape));
    const auto names = Names(Image(shape), store);
    for (auto _ : state) {
        std::unordered_map<std::string, int32_t> map;
        int32_t i = 0;
        for (const std::string_view name : names) map.try_emplace(std::string(name), i++);
        benchmark::DoNotOptimize(map.size());
    }
    state.counters["entries"] = static_cast<double>(names.size());
}

template <Shape shape>
void BM_IndexRegistry(benchmark::State& state) {
    const RegistryImage& image = Image(shape);
    for (auto _ : state) {
        const RegistryIndex index = IndexRegistry(image);
        benchmark::DoNotOptimize(index.rows().size());
    }
    state.counters["keys"] = static_cast<double>(IndexRegistry(image).rows().size());
}

BENCHMARK(BM_HashMapBaseline<kWorstCase>)
    ->Name("BM_HashMapBaseline")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexRegistry<kWorstCase>)->Name("BM_IndexRegistry")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HashMapBaseline<kDeepNames>)
    ->Name("BM_HashMapBaselineDeepNames")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexRegistry<kDeepNames>)
    ->Name("BM_IndexRegistryDeepNames")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter(
        {{"BM_IndexRegistry", "BM_HashMapBaseline", 2.0},
         {"BM_IndexRegistryDeepNames", "BM_HashMapBaselineDeepNames", 2.0}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.summarize() ? 0 : 1;
}

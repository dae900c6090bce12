// The core scan and indexing of the worst-case file against inserting the same names into a
// plain hash map.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

#include "RatioReporter.h"
#include "WorstCaseImage.h"
#include "registry/EntryScanner.h"
#include "registry/KeyNameStore.h"
#include "registry/RegistryIndex.h"

namespace thornbeck::bench {
namespace {

const RegistryImage& Image() {
    static const RegistryImage image(WorstCaseImage());
    return image;
}

const std::vector<std::string_view>& Names() {
    static const KeyNameStore store(Image());
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        EntryScanner scanner(Image());
        while (const auto entry = scanner.next()) all.push_back(store.nameAt(entry->keyOffset));
        return all;
    }();
    return names;
}

void BM_HashMapBaseline(benchmark::State& state) {
    const auto& names = Names();
    for (auto _ : state) {
        std::unordered_map<std::string, int32_t> map;
        int32_t i = 0;
        for (const std::string_view name : names) map.try_emplace(std::string(name), i++);
        benchmark::DoNotOptimize(map.size());
    }
    state.counters["entries"] = static_cast<double>(names.size());
}

void BM_IndexRegistry(benchmark::State& state) {
    const RegistryImage& image = Image();
    for (auto _ : state) {
        const RegistryIndex index = IndexRegistry(image);
        benchmark::DoNotOptimize(index.rows().size());
    }
    state.counters["keys"] = static_cast<double>(IndexRegistry(image).rows().size());
}

BENCHMARK(BM_HashMapBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexRegistry)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter({{"BM_IndexRegistry", "BM_HashMapBaseline", 2.0}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.summarize() ? 0 : 1;
}

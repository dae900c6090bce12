// Find Next with no hit over the worst-case file, in both modes, against a plain case-insensitive
// substring scan over the same key and value texts.
#include <benchmark/benchmark.h>

#include <string>

#include "RatioReporter.h"
#include "WorstCaseImage.h"
#include "core/find/KeySearch.h"
#include "core/index/RegistryIndex.h"
#include "core/text/TextFunctions.h"

namespace thornbeck::bench {
namespace {

// Two spaces: as short as the shortest key, so every key and value is looked at, yet no key (two
// printable characters) and no value (one byte, then zeros) holds it.
constexpr std::string_view kMissing = "  ";
constexpr int32_t kShownDepth = 1000;

struct Loaded {
    RegistryImage image{WorstCaseImage()};
    RegistryIndex index = IndexRegistry(image);
    std::vector<int32_t> order = [this] {
        std::vector<int32_t> rows(index.rows().size());
        for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int32_t>(i);
        return rows;
    }();
};

const Loaded& File() {
    static const Loaded loaded;
    return loaded;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view lowerNeedle,
                          std::string& buffer) {
    ToLowerAsciiInto(text, buffer);
    return buffer.find(lowerNeedle) != std::string::npos;
}

void BM_TreeSubstringBaseline(benchmark::State& state) {
    const Loaded& file = File();
    const std::string needle = ToLowerAscii(kMissing);
    std::string buffer;
    size_t bytes = 0;
    for (auto _ : state) {
        bool found = false;
        for (const TreeNode& node : file.index.nodes()) {
            found |= ContainsIgnoringCase(node.text(), needle, buffer);
            found |= ContainsIgnoringCase(NodeValueText(file.image, node), needle, buffer);
        }
        benchmark::DoNotOptimize(found);
    }
    for (const TreeNode& node : file.index.nodes())
        bytes += node.text().size() + NodeValueText(file.image, node).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_FindNextTree(benchmark::State& state) {
    const Loaded& file = File();
    for (auto _ : state) {
        KeySearch search(kMissing);
        benchmark::DoNotOptimize(FindNextTreeNode(file.image, file.index, 1, search, kShownDepth));
    }
    state.counters["nodes"] = static_cast<double>(file.index.nodes().size());
}

void BM_ListSubstringBaseline(benchmark::State& state) {
    const Loaded& file = File();
    const std::string needle = ToLowerAscii(kMissing);
    std::string buffer;
    for (auto _ : state) {
        bool found = false;
        for (const ListRow& row : file.index.rows())
            found |= ContainsIgnoringCase(file.index.keyOf(row), needle, buffer);
        benchmark::DoNotOptimize(found);
    }
}

void BM_FindNextList(benchmark::State& state) {
    const Loaded& file = File();
    for (auto _ : state) {
        KeySearch search(kMissing);
        benchmark::DoNotOptimize(FindNextListPosition(file.index, file.order, 1, search));
    }
    state.counters["rows"] = static_cast<double>(file.order.size());
}

BENCHMARK(BM_TreeSubstringBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindNextTree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListSubstringBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindNextList)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter({
        {"BM_FindNextTree", "BM_TreeSubstringBaseline", 3.0},
        {"BM_FindNextList", "BM_ListSubstringBaseline", 3.0},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.summarize() ? 0 : 1;
}

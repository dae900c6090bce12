// Comparing two worst-case files by key, against indexing both of them; and two files made of
// large values, against describing every entry of both.
#include <benchmark/benchmark.h>

#include <string>

#include "RatioReporter.h"
#include "RegistryBuilder.h"
#include "WorstCaseImage.h"
#include "core/compare/EntryCompare.h"
#include "core/edit/EntryTexts.h"
#include "core/format/RegistryFormat.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck::bench {
namespace {

struct Loaded {
    RegistryImage image;
    RegistryIndex index = IndexRegistry(image);
    explicit Loaded(std::vector<uint8_t> bytes) : image(std::move(bytes)) {}
};

// The worst-case file, and the same file with the checksum of every key's compared entry
// changed, so that every key is a difference and every pair of entries is looked at.
struct Pair {
    Loaded a{WorstCaseImage()};
    Loaded b{[this] {
        std::vector<uint8_t> bytes(a.image.bytes().begin(), a.image.bytes().end());
        for (const TreeNode& node : a.index.nodes())
            if (node.entry)
                bytes[static_cast<size_t>(node.entry->offset) + format::kChecksumAt] ^= 0xFF;
        return bytes;
    }()};
};

const Pair& Files() {
    static const Pair pair;
    return pair;
}

// The other end: a 64 MiB data area of 1,000 keys with one value of 65535 bytes each, so that
// nearly every byte of the file is a value the compare looks at, while the index reads only
// 1,000 records. In B every key's checksum differs, and with `values` every value's last byte.
std::vector<uint8_t> LargeValuesImage(bool other, bool values) {
    sample::RegistryBuilder builder;
    builder.fileSize = 0x10000 + (64u << 20) + 16;
    for (int i = 0; i < 1000; ++i) {
        std::vector<uint8_t> value(65535, static_cast<uint8_t>('a' + i % 26));
        if (other && values) value.back() = '!';
        builder.addEntry("/v/k" + std::to_string(i), 0, std::move(value),
                         static_cast<uint16_t>(other ? 1 : 0));
    }
    return builder.build();
}

struct LargePair {
    Loaded a{LargeValuesImage(false, false)};
    Loaded sameValues{LargeValuesImage(true, false)};
    Loaded otherValues{LargeValuesImage(true, true)};
};

const LargePair& LargeFiles() {
    static const LargePair pair;
    return pair;
}

void BM_IndexBoth(benchmark::State& state) {
    const Pair& files = Files();
    for (auto _ : state) {
        benchmark::DoNotOptimize(IndexRegistry(files.a.image));
        benchmark::DoNotOptimize(IndexRegistry(files.b.image));
    }
    state.counters["entries"] = static_cast<double>(files.a.index.entryCount() * 2);
}

void BM_CompareByKey(benchmark::State& state) {
    const Pair& files = Files();
    size_t differences = 0;
    for (auto _ : state) {
        const auto found =
            DiffEntries(files.a.image, files.a.index, files.b.image, files.b.index, false);
        differences = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["differences"] = static_cast<double>(differences);
}

// The texts of every entry of both files, values included, built and kept until both are done:
// what a list of both files would hold, as the differences of every value hold both texts.
// Indexing them is no baseline here, since it reads only 1,000 records while the compare reads
// 128 MiB of values.
void BM_DescribeBothLargeValues(benchmark::State& state) {
    const LargePair& files = LargeFiles();
    for (auto _ : state) {
        std::vector<FieldTexts> kept;
        for (const Loaded* file : {&files.a, &files.otherValues})
            for (const ListRow& row : file->index.rows())
                kept.push_back(DescribeEntry(file->image, row.entry).texts);
        benchmark::DoNotOptimize(kept.data());
    }
}

void CompareLarge(benchmark::State& state, const Loaded& b) {
    const Loaded& a = LargeFiles().a;
    for (auto _ : state)
        benchmark::DoNotOptimize(DiffEntries(a.image, a.index, b.image, b.index, false));
}

void BM_CompareLargeSameValues(benchmark::State& state) {
    CompareLarge(state, LargeFiles().sameValues);
}

void BM_CompareLargeOtherValues(benchmark::State& state) {
    CompareLarge(state, LargeFiles().otherValues);
}

BENCHMARK(BM_IndexBoth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareByKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DescribeBothLargeValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareLargeSameValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareLargeOtherValues)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter({
        {"BM_CompareByKey", "BM_IndexBoth", 2.5},
        {"BM_CompareLargeSameValues", "BM_DescribeBothLargeValues", 2.5},
        {"BM_CompareLargeOtherValues", "BM_DescribeBothLargeValues", 2.5},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.summarize() ? 0 : 1;
}

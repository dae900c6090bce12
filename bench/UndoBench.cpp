// Undo and redo on the worst-case file: 1,000 random Modify steps, then every step undone and
// redone; the history's size; and undoing one size change against a memmove of the same tail.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "RatioReporter.h"
#include "WorstCaseImage.h"
#include "core/edit/EntryChange.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"
#include "core/format/EntryScanner.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck::bench {
namespace {

// The worst-case file with its first entry's name given to no later entry, so that the node of
// that name holds an entry near the start and a size change moves nearly the whole file.
std::vector<uint8_t> EarlyEntryImage() {
    std::vector<uint8_t> bytes = WorstCaseImage();
    RegistryImage image(bytes);
    EntryScanner scanner(image);
    const auto first = scanner.next();
    const auto second = scanner.next();
    while (const auto entry = scanner.next())
        if (entry->keyOffset == first->keyOffset) {
            const uint32_t other =
                static_cast<uint32_t>(second->keyOffset - format::kKeyOffsetBias);
            bytes[static_cast<size_t>(entry->offset) + 2] = static_cast<uint8_t>(other >> 8);
            bytes[static_cast<size_t>(entry->offset) + 3] = static_cast<uint8_t>(other);
        }
    return bytes;
}

struct Loaded {
    explicit Loaded(std::vector<uint8_t> bytes) : image(std::move(bytes)) {
        index = IndexRegistry(image);
        for (size_t n = 0; n < index.nodes().size(); ++n)
            if (index.nodes()[n].entry) entries.push_back(static_cast<int32_t>(n));
    }
    RegistryImage image;
    RegistryIndex index;
    std::vector<int32_t> entries;
};

Loaded& File() {
    static Loaded file(EarlyEntryImage());
    return file;
}

size_t HistoryBytes(const std::vector<EntryChange>& history) {
    size_t bytes = 0;
    for (const EntryChange& change : history) {
        bytes += sizeof(EntryChange) + change.displacedBytes.size();
        for (const BytePatch& patch : change.patches)
            bytes += sizeof(BytePatch) + patch.before.size() + patch.after.size();
    }
    return bytes;
}

// 1,000 random steps: values, checksums and size changes of random entries.
std::vector<EntryChange> RandomSteps(Loaded& file, std::mt19937& random) {
    std::vector<EntryChange> history;
    while (history.size() < 1000) {
        const int32_t node = file.entries[random() % file.entries.size()];
        const EntryRef entry = *file.index.nodes()[static_cast<size_t>(node)].entry;
        const EntryDisplay shown = DescribeEntry(file.image, entry);
        ModifyRequest request{shown.texts, shown.type, true};
        request.texts[kChecksumField] = HexDigits(random() & 0xFFFF, 4);
        if (shown.type != format::DataType::Integer) {
            request.texts[kDataSizeField] =
                std::to_string(std::max(0, entry.size + int(random() % 9) - 4));
            request.texts[kValueField] = std::string(random() % 12, 'v');
        }
        auto result = ModifyEntry(file.image, file.index, node, request);
        if (result.kind == ModifyResult::Modified) history.push_back(std::move(result.change));
    }
    return history;
}

void BM_StepsUndoneAndRedone(benchmark::State& state) {
    Loaded& file = File();
    std::mt19937 random(7);
    size_t historyBytes = 0;
    for (auto _ : state) {
        auto history = RandomSteps(file, random);
        historyBytes = HistoryBytes(history);
        for (auto it = history.rbegin(); it != history.rend(); ++it)
            RevertChange(file.image, file.index, *it);
        for (const EntryChange& change : history) ApplyChange(file.image, file.index, change);
        for (auto it = history.rbegin(); it != history.rend(); ++it)
            RevertChange(file.image, file.index, *it);
    }
    state.counters["history_KiB"] = static_cast<double>(historyBytes) / 1024;
    std::printf("history of 1000 steps: %.1f KiB (target at most 1024 KiB): %s\n",
                static_cast<double>(historyBytes) / 1024,
                historyBytes <= (1u << 20) ? "met" : "MISSED");
}

// A size change of the entry nearest the start, so that the tail is nearly the whole file.
EntryChange EarlySizeChange(Loaded& file) {
    std::vector<int32_t> byOffset = file.entries;
    const auto offset = [&](int32_t node) {
        return file.index.nodes()[static_cast<size_t>(node)].entry->offset;
    };
    std::sort(byOffset.begin(), byOffset.end(),
              [&](int32_t a, int32_t b) { return offset(a) < offset(b); });
    for (const int32_t node : byOffset) {
        const EntryRef entry = *file.index.nodes()[static_cast<size_t>(node)].entry;
        const EntryDisplay shown = DescribeEntry(file.image, entry);
        if (shown.type == format::DataType::Integer) continue;
        ModifyRequest request{shown.texts, shown.type, true};
        request.texts[kDataSizeField] = std::to_string(entry.size - 2);
        auto result = ModifyEntry(file.image, file.index, node, request);
        if (result.kind == ModifyResult::Modified) return result.change;
    }
    return {};
}

void BM_MemmoveOfTheTailBaseline(benchmark::State& state) {
    Loaded& file = File();
    const EntryChange change = EarlySizeChange(file);
    RevertChange(file.image, file.index, change);
    std::vector<uint8_t> copy(file.image.bytes().begin(), file.image.bytes().end());
    const size_t from = static_cast<size_t>(change.moveStart());
    const size_t count = copy.size() - from - 2;
    for (auto _ : state) {
        std::memmove(copy.data() + from, copy.data() + from + 2, count);
        std::memmove(copy.data() + from + 2, copy.data() + from, count);
        benchmark::DoNotOptimize(copy.data());
    }
}

void BM_UndoAndRedoOfASizeChange(benchmark::State& state) {
    Loaded& file = File();
    const EntryChange change = EarlySizeChange(file);
    for (auto _ : state) {
        RevertChange(file.image, file.index, change);
        ApplyChange(file.image, file.index, change);
    }
    RevertChange(file.image, file.index, change);
}

BENCHMARK(BM_StepsUndoneAndRedone)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MemmoveOfTheTailBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoAndRedoOfASizeChange)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter(
        {{"BM_UndoAndRedoOfASizeChange", "BM_MemmoveOfTheTailBaseline", 2.0}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return reporter.summarize() ? 0 : 1;
}

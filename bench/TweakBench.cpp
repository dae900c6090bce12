// Applying a tweak that changes every entry of a realistic file of 1,900 keys, against merge of
// the same changes from the other file (compare by key, then Take Other's Fields).
#include <benchmark/benchmark.h>

#include <string>
#include <variant>

#include "RatioReporter.h"
#include "RegistryBuilder.h"
#include "core/compare/EntryCompare.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/TakeFields.h"
#include "core/index/RegistryIndex.h"
#include "core/tweak/TweakApply.h"
#include "core/tweak/TweakParser.h"
#include "core/tweak/TweakWriter.h"

namespace thornbeck::bench {
namespace {

constexpr int kKeys = 1900;

// Keys as consoles name them, of the three types and the sizes dumps hold. In the other file
// every entry has another value and checksum.
std::vector<uint8_t> RealisticImage(bool other) {
    static const char* const kAreas[] = {"system", "net", "user", "display", "audio", "browser"};
    sample::RegistryBuilder builder;
    for (int i = 0; i < kKeys; ++i) {
        // Short enough that 1,900 of them fit the key area, as real keys do.
        const std::string key = std::string("/setting/") + kAreas[i % 6] + "/g" +
                                std::to_string(i / 30) + "/k" + std::to_string(i);
        const auto checksum = static_cast<uint16_t>(other ? i + 1 : i);
        const uint8_t mark = other ? 'b' : 'a';
        switch (i % 3) {
            case 0:
                builder.addEntry(key, 1, sample::BigEndian(other ? i + 7 : i, 4), checksum);
                break;
            case 1: {
                std::vector<uint8_t> text(32, 0);
                for (int c = 0; c < 12; ++c) text[static_cast<size_t>(c)] = mark;
                builder.addEntry(key, 2, std::move(text), checksum);
                break;
            }
            default:
                builder.addEntry(key, 0, std::vector<uint8_t>(8, mark), checksum);
        }
    }
    return builder.build();
}

struct Loaded {
    RegistryImage image;
    RegistryIndex index = IndexRegistry(image);
    explicit Loaded(std::vector<uint8_t> bytes) : image(std::move(bytes)) {}
};

struct Files {
    Loaded a{RealisticImage(false)};
    Loaded b{RealisticImage(true)};
    std::string tweak = [this] {
        const auto typeInA = [this](std::string_view key) {
            const auto node = EntryNodeOfKey(a.index, key);
            return FieldText(a.image, *a.index.nodes()[static_cast<size_t>(*node)].entry,
                             kDataTypeField);
        };
        return TweakFileText(
            TweakOfDifferences(DiffEntries(a.image, a.index, b.image, b.index, false), typeInA));
    }();
};

const Files& Pair() {
    static const Files files;
    return files;
}

void BM_MergeBaseline(benchmark::State& state) {
    const Files& files = Pair();
    for (auto _ : state) {
        RegistryImage image = files.a.image;
        RegistryIndex index = files.a.index;
        const auto differences = DiffEntries(image, index, files.b.image, files.b.index, false);
        std::vector<std::string_view> keys;
        for (const KeyDifference& difference : differences) keys.push_back(difference.key);
        const auto taken =
            TakeOtherFields(image, index, files.b.image, files.b.index, keys, kTakeAll);
        if (taken.taken.size() != kKeys) state.SkipWithError("merge took too little");
    }
}

void BM_ApplyTweak(benchmark::State& state) {
    const Files& files = Pair();
    for (auto _ : state) {
        RegistryImage image = files.a.image;
        RegistryIndex index = files.a.index;
        const auto parsed = ParseTweak(files.tweak);
        const auto outcome =
            ApplyTweak(image, index, std::get<Tweak>(parsed), TweakChoice::Changing);
        if (outcome.entriesChanged != kKeys) state.SkipWithError("the tweak changed too little");
    }
}

BENCHMARK(BM_MergeBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyTweak)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter({{"BM_ApplyTweak", "BM_MergeBaseline", 1.5}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.summarize() ? 0 : 1;
}

// Loads many damaged copies of the sample: whatever the bytes say, loading and describing every
// entry stays inside the image and ends.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <random>

#include "cli/ReportListing.h"
#include "core/report/RegistryReport.h"
#include "cli/RowListing.h"
#include "core/edit/EntryTexts.h"
#include "core/index/RegistryIndex.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

std::vector<uint8_t> Mutate(std::vector<uint8_t> bytes, std::mt19937& random) {
    const int edits = 1 + static_cast<int>(random() % 64);
    for (int i = 0; i < edits; ++i) {
        // Aim most edits at the places the loader reads: key records, the marker, the entries.
        const uint32_t kind = random() % 4;
        size_t at = kind == 0   ? random() % 0x2000
                    : kind == 1 ? 0xFFF0 + random() % 0x10
                    : kind == 2 ? 0x10000 + random() % 0x3000
                                : random() % bytes.size();
        bytes[at % bytes.size()] = static_cast<uint8_t>(random());
    }
    if (random() % 8 == 0) bytes.resize(random() % bytes.size());
    return bytes;
}

// A walk written from the format alone, apart from the scanner: every entry with its name, in
// file order.
std::vector<std::pair<std::string, EntryRef>> WalkByHand(const std::vector<uint8_t>& b) {
    const auto at = [&](int64_t i) -> uint32_t {
        return i >= 0 && i < static_cast<int64_t>(b.size()) ? b[static_cast<size_t>(i)] : 0;
    };
    const auto number = [&](int64_t i) { return at(i) << 8 | at(i + 1); };
    std::vector<std::pair<std::string, EntryRef>> walked;
    const int64_t size = static_cast<int64_t>(b.size());
    if (size < 0xFFF0 || at(0xFFF0) != 0x4D || at(0xFFF1) != 0x26) return walked;
    int64_t e = 0xFFF2;
    if (size >= 0xFFF2 + 4 && at(e + 2) == 0x4D && at(e + 3) == 0x26 && number(e + 6) == 4) e += 14;
    while (e < size - 4) {
        if (at(e) == 0xAA && at(e + 1) == 0xBB && at(e + 2) == 0xCC && at(e + 3) == 0xDD) break;
        const int32_t k = static_cast<int32_t>(number(e + 2)) + 16;
        const int32_t s = static_cast<int32_t>(number(e + 6));
        std::string name;
        for (uint32_t i = 0; i < number(k + 2); ++i) {
            const int64_t c = k + 5 + i;
            name += c < size ? static_cast<char>(at(c)) : ' ';
        }
        walked.push_back({name, {static_cast<int32_t>(e), s, k}});
        e += 10 + s;
    }
    return walked;
}

TEST(Mutation, AThousandDamagedSamplesLoadWithoutFault) {
    const auto sample = test::SampleBytes();
    ASSERT_FALSE(sample.empty());
    std::mt19937 random(20261207);
    for (int round = 0; round < 1000; ++round) {
        const auto bytes = Mutate(sample, random);
        const RegistryImage image(bytes);
        const auto index = IndexRegistry(image);
        // Each row shows its name's first entry, each entry node holds its name's last.
        const auto walked = WalkByHand(bytes);
        std::map<std::string, EntryRef> first, last;
        for (const auto& [name, entry] : walked) {
            first.emplace(name, entry);
            last[name] = entry;
        }
        ASSERT_EQ(index.entryCount(), static_cast<int64_t>(walked.size())) << round;
        ASSERT_EQ(index.rows().size(), first.size()) << round;
        for (const ListRow& row : index.rows()) {
            const std::string key(index.keyOf(row));
            ASSERT_EQ(row.entry, first.at(key)) << round;
        }
        for (const TreeNode& node : index.nodes()) {
            if (!node.entry) continue;
            ASSERT_EQ(*node.entry, last.at(std::string(node.key))) << round;
        }
        // The command-line tool's info runs on every image, its list (slower) on every fourth.
        std::ostream out(nullptr);  // every text is made, none is kept
        cli::PrintReport("damaged", InspectRegistry(image, IndexRegistry(image)), out);
        if (round % 4 == 0)
            for (const auto format :
                 {cli::ListFormat::Tsv, cli::ListFormat::Csv, cli::ListFormat::Json})
                cli::WriteRows(image, index, format, out);
    }
}

}  // namespace
}  // namespace thornbeck

// Loads many damaged copies of the sample: whatever the bytes say, loading and describing every
// entry stays inside the image and ends.
#include <gtest/gtest.h>

#include <ostream>
#include <random>

#include "cli/RegistryReport.h"
#include "cli/RowListing.h"
#include "editing/EntryTexts.h"
#include "registry/RegistryIndex.h"
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

TEST(Mutation, AThousandDamagedSamplesLoadWithoutFault) {
    const auto sample = test::SampleBytes();
    ASSERT_FALSE(sample.empty());
    std::mt19937 random(20261207);
    for (int round = 0; round < 1000; ++round) {
        const RegistryImage image(Mutate(sample, random));
        const auto index = IndexRegistry(image);
        for (const TreeNode& node : index.nodes()) {
            if (node.entry) DescribeEntry(image, *node.entry);
            ASSERT_LE(node.text.size(), node.key.size());
        }
        // The command-line tool's info runs on every image, its list (slower) on every fourth.
        std::ostream out(nullptr);  // every text is made, none is kept
        cli::PrintReport("damaged", cli::InspectRegistry(image), out);
        if (round % 4 == 0)
            for (const auto format :
                 {cli::ListFormat::Tsv, cli::ListFormat::Csv, cli::ListFormat::Json})
                cli::WriteRows(index, format, out);
    }
}

}  // namespace
}  // namespace thornbeck

// Random Modify steps, undone and redone, against a model that keeps a whole copy of every state.
#include <gtest/gtest.h>

#include <random>

#include "RegistryBuilder.h"
#include "core/edit/EntryChange.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"
#include "core/format/EntryScanner.h"
#include "core/index/RegistryIndex.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

using format::kEntryOverhead;

// Everything of a state that undo must bring back.
struct Snapshot {
    std::vector<uint8_t> bytes;
    std::vector<std::optional<EntryRef>> nodeEntries;
    std::vector<EntryRef> rowEntries;
    std::optional<EntryRef> lastRecord;
    std::optional<int32_t> endMarker;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const RegistryImage& image, const RegistryIndex& index) {
    Snapshot s{{image.bytes().begin(), image.bytes().end()}, {}, {}, {}, {}};
    for (const TreeNode& node : index.nodes()) s.nodeEntries.push_back(node.entry);
    for (const ListRow& row : index.rows()) s.rowEntries.push_back(row.entry);
    s.lastRecord = index.dataAreaEnd().lastRecord;
    s.endMarker = index.dataAreaEnd().endMarker;
    return s;
}

// What holds after every step: a fresh load of the image walks the entries the index holds, and
// every row shows the first entry of its name or the one its node holds.
void ExpectLoadAgrees(const RegistryImage& image, const RegistryIndex& index, int step) {
    const RegistryIndex fresh = IndexRegistry(image);
    ASSERT_EQ(fresh.nodes().size(), index.nodes().size()) << step;
    for (size_t n = 0; n < fresh.nodes().size(); ++n) {
        ASSERT_EQ(fresh.nodes()[n].key, index.nodes()[n].key) << step;
        ASSERT_EQ(fresh.nodes()[n].entry, index.nodes()[n].entry) << step << " node " << n;
    }
    ASSERT_EQ(fresh.rows().size(), index.rows().size()) << step;
    for (size_t r = 0; r < fresh.rows().size(); ++r) {
        ASSERT_EQ(fresh.keyOf(fresh.rows()[r]), index.keyOf(index.rows()[r])) << step;
        const EntryRef& shown = index.rows()[r].entry;
        const TreeNode& node =
            fresh.nodes()[static_cast<size_t>(*fresh.findNode(fresh.keyOf(fresh.rows()[r])))];
        ASSERT_TRUE(shown == fresh.rows()[r].entry || shown == node.entry) << step << " row " << r;
    }
    ASSERT_EQ(fresh.dataAreaEnd().endMarker, index.dataAreaEnd().endMarker) << step;
    ASSERT_EQ(fresh.entryCount(), index.entryCount()) << step;
}

// Only the edited entry's fields, its key record's Header ID and the moved tail may differ.
void ExpectOnlyTheEntryChanged(const std::vector<uint8_t>& before, const RegistryImage& image,
                               const EntryChange& change) {
    const auto after = image.bytes();
    const int64_t e = change.entryBefore.offset;
    const int64_t delta = change.delta;
    const auto allowed = [&](int64_t at) {
        const bool header =
            at >= change.entryBefore.keyOffset && at < int64_t{change.entryBefore.keyOffset} + 2;
        const bool fields = at >= e && at < e + kEntryOverhead - 1 + change.entryAfter.size &&
                            at != e + 2 && at != e + 3 && at != e + 8;
        return header || fields;
    };
    for (int64_t at = 0; at < static_cast<int64_t>(before.size()); ++at) {
        if (allowed(at)) continue;
        const int64_t from = at - (at >= e + 9 + change.entryAfter.size ? delta : 0);
        if (delta < 0 && at >= static_cast<int64_t>(before.size()) + delta) {
            ASSERT_EQ(after[static_cast<size_t>(at)], before[static_cast<size_t>(at)]) << at;
        } else if (from >= 0 && from < static_cast<int64_t>(before.size())) {
            ASSERT_EQ(after[static_cast<size_t>(at)], before[static_cast<size_t>(from)]) << at;
        }
    }
}

std::string RandomHex(std::mt19937& random, int digits) {
    std::string text;
    for (int i = 0; i < digits; ++i) text += "0123456789ABCDEFx"[random() % 17];
    return text;
}

ModifyRequest RandomRequest(const RegistryImage& image, const EntryRef& entry,
                            std::mt19937& random) {
    const EntryDisplay shown = DescribeEntry(image, entry);
    ModifyRequest request{shown.texts, shown.type, true};
    if (random() % 2) request.texts[kDataSizeField] = std::to_string(random() % 40);
    if (random() % 2) request.texts[kValueField] = RandomHex(random, 1 + random() % 9);
    if (random() % 4 == 0) request.texts[kChecksumField] = RandomHex(random, 1 + random() % 5);
    if (random() % 6 == 0) request.texts[kFlagsField] = RandomHex(random, 4);
    if (random() % 6 == 0) request.texts[kHeaderIdField] = RandomHex(random, 4);
    if (random() % 5 == 0) request.type = format::DataType::String;
    return request;
}

struct Counts {
    int made = 0, moved = 0, refused = 0;
};

void RunUndoProperty(std::vector<uint8_t> bytes, uint32_t seed, int steps, Counts& counts) {
    RegistryImage image(std::move(bytes));
    RegistryIndex index = IndexRegistry(image);
    std::vector<int32_t> entries;
    for (size_t i = 0; i < index.nodes().size(); ++i)
        if (index.nodes()[i].entry) entries.push_back(static_cast<int32_t>(i));
    ASSERT_FALSE(entries.empty());
    std::mt19937 random(seed);

    // The model: a whole copy of every state, the changes between them, and where we stand.
    std::vector<Snapshot> states = {Take(image, index)};
    std::vector<EntryChange> changes;
    size_t at = 0;
    int& made = counts.made;
    int& moved = counts.moved;
    int& refused = counts.refused;
    for (int step = 0; step < steps; ++step) {
        const uint32_t action = random() % 10;
        if (action == 0 && at > 0) {
            RevertChange(image, index, changes[--at]);
        } else if (action == 1 && at < changes.size()) {
            ApplyChange(image, index, changes[at++]);
        } else {
            const int32_t node = entries[random() % entries.size()];
            const EntryRef entry = *index.nodes()[static_cast<size_t>(node)].entry;
            const auto request = RandomRequest(image, entry, random);
            const Snapshot before = Take(image, index);
            auto result = ModifyEntry(image, index, node, request);
            if (result.kind != ModifyResult::Modified) {
                ASSERT_EQ(Take(image, index), before) << step;  // all or nothing
                refused += result.kind == ModifyResult::Rejected;
                continue;
            }
            ExpectOnlyTheEntryChanged(before.bytes, image, result.change);
            ASSERT_NO_FATAL_FAILURE(ExpectLoadAgrees(image, index, step));
            ++made;
            moved += result.change.delta != 0;
            changes.resize(at);
            states.resize(at + 1);
            changes.push_back(std::move(result.change));
            ++at;
            states.push_back(Take(image, index));
        }
        ASSERT_EQ(Take(image, index), states[at]) << "step " << step;
    }
    while (at > 0) RevertChange(image, index, changes[--at]);
    ASSERT_EQ(Take(image, index), states.front());
    ASSERT_NO_FATAL_FAILURE(ExpectLoadAgrees(image, index, -1));
    while (at < changes.size()) ApplyChange(image, index, changes[at++]);
    ASSERT_EQ(Take(image, index), states.back());
}

TEST(EntryChange, RandomStepsUndoAndRedoExactlyOnTheSample) {
    Counts counts;
    RunUndoProperty(test::SampleBytes(), 4242, 1500, counts);
    // The steps exercised every outcome: edits, moves and refusals.
    EXPECT_GT(counts.made, 1500 / 4);
    EXPECT_GT(counts.moved, 1500 / 20);
    EXPECT_GT(counts.refused, 0);
}

TEST(EntryChange, RandomStepsUndoAndRedoExactlyOnDamagedImages) {
    const auto sample = test::SampleBytes();
    std::mt19937 random(99);
    Counts counts;
    for (int round = 0; round < 40; ++round) {
        auto bytes = sample;
        for (int i = 0; i < 16; ++i)
            bytes[0x10000 + random() % 0x2300] = static_cast<uint8_t>(random());
        bytes.resize(0x10000 + 0x400 + random() % 0x2000);
        RegistryImage probe(bytes);
        if (IndexRegistry(probe).rows().empty()) continue;
        SCOPED_TRACE(round);
        RunUndoProperty(bytes, 1000 + static_cast<uint32_t>(round), 200, counts);
    }
    EXPECT_GT(counts.moved, 20);
    EXPECT_GT(counts.refused, 20);
}

// The two ways a size change used to change how the file loads.
TEST(EntryChange, ASizeChangeThatWouldMakeAHeaderRecordIsRefused) {
    sample::RegistryBuilder builder;
    builder.headerRecord = false;
    sample::RegistryBuilder::Entry first;
    first.keyOffset = 0x4D26;  // what the header record's key-offset field holds
    first.type = 2;
    first.value = sample::Bytes("abcdefgh");
    builder.addEntry(first);
    builder.addEntry("/s/b", 2, sample::Bytes("xy"));
    RegistryImage image(builder.build());
    RegistryIndex index = IndexRegistry(image);
    const int64_t count = index.entryCount();
    ASSERT_EQ(index.rows().front().entry.offset, format::kDataAreaStart);
    const int32_t node = *index.findNode(index.keyOf(index.rows().front()));
    const EntryDisplay shown = DescribeEntry(image, index.rows().front().entry);
    ModifyRequest request{shown.texts, shown.type, true};
    request.texts[kDataSizeField] = "4";
    const auto before = std::vector<uint8_t>(image.bytes().begin(), image.bytes().end());
    const auto result = ModifyEntry(image, index, node, request);
    EXPECT_EQ(result.kind, ModifyResult::Rejected);
    EXPECT_EQ(result.message, kInvalidSize);
    EXPECT_EQ(result.field, kDataSizeField);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), image.bytes().begin()));
    EXPECT_EQ(IndexRegistry(image).entryCount(), count);
}

TEST(EntryChange, AShrinkBeforeATruncatedLastEntryIsRefused) {
    sample::RegistryBuilder builder;
    builder.addEntry("/s/a", 2, sample::Bytes("abcdefgh"));
    sample::RegistryBuilder::Entry cut;
    cut.keyOffset = builder.addKey("/s/cut");
    cut.type = 2;
    cut.value = sample::Bytes("abc");
    cut.storedSize = 400;  // runs past the image's end: the walk stops there
    builder.addEntry(cut);
    builder.fileSize = 0x10000 + 60;
    RegistryImage image(builder.build());
    RegistryIndex index = IndexRegistry(image);
    const int32_t node = *index.findNode("/s/a");
    const EntryDisplay shown =
        DescribeEntry(image, *index.nodes()[static_cast<size_t>(node)].entry);
    ModifyRequest request{shown.texts, shown.type, true};
    for (const char* size : {"1", "2", "3", "5", "7", "0"}) {
        request.texts[kDataSizeField] = size;
        const auto result = ModifyEntry(image, index, node, request);
        if (result.kind == ModifyResult::Modified) {
            ASSERT_NO_FATAL_FAILURE(ExpectLoadAgrees(image, index, 0)) << size;
            RevertChange(image, index, result.change);
        }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectLoadAgrees(image, index, 1));
}

}  // namespace
}  // namespace thornbeck

#include "core/index/RegistryIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "DeepNamesImage.h"
#include "RegistryBuilder.h"
#include "ShortNamesImage.h"
#include "core/edit/EntryTexts.h"
#include "core/format/EntryScanner.h"
#include "core/index/KeyHash.h"
#include "core/index/RecordNodes.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

using sample::BigEndian;
using sample::Bytes;
using sample::RegistryBuilder;

RegistryIndex IndexOf(const RegistryBuilder& builder) {
    return IndexRegistry(RegistryImage(builder.build()));
}

const TreeNode& NodeOf(const RegistryIndex& index, std::string_view key) {
    const auto node = index.findNode(key);
    if (!node) throw std::runtime_error("no node " + std::string(key));
    return index.nodes()[static_cast<size_t>(*node)];
}

TEST(RegistryIndex, SplitsAKeyPathIntoLevelsParentsFirst) {
    RegistryBuilder builder;
    builder.addEntry("/a/b/c", 1, BigEndian(1, 4));
    const auto index = IndexOf(builder);
    ASSERT_EQ(index.nodes().size(), 3u);
    EXPECT_EQ(index.nodes()[0].key, "/a");
    EXPECT_EQ(index.nodes()[0].text(), "a");
    EXPECT_EQ(index.nodes()[0].parent, -1);
    EXPECT_EQ(index.nodes()[1].key, "/a/b");
    EXPECT_EQ(index.nodes()[1].text(), "b");
    EXPECT_EQ(index.nodes()[1].parent, 0);
    EXPECT_EQ(index.nodes()[2].text(), "c");
    EXPECT_FALSE(index.nodes()[1].entry);
    ASSERT_TRUE(index.nodes()[2].entry);
    EXPECT_EQ(index.nodes()[2].entry->offset, 0x10000);
    EXPECT_EQ(index.topLevel(), std::vector<int32_t>{0});
}

TEST(RegistryIndex, AnEntryBecomesTheParentOfLongerNames) {
    RegistryBuilder builder;
    builder.addEntry("/a/b", 1, BigEndian(1, 4));
    builder.addEntry("/a/b/c", 1, BigEndian(2, 4));
    const auto index = IndexOf(builder);
    EXPECT_EQ(index.nodes().size(), 3u);  // /a, the entry /a/b and /a/b/c: no second /a/b
    const TreeNode& ab = NodeOf(index, "/a/b");
    ASSERT_TRUE(ab.entry);
    const auto below = index.childrenOf(*index.findNode("/a/b"));
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(index.nodes()[static_cast<size_t>(below[0])].key, "/a/b/c");
}

TEST(RegistryIndex, AnEntryTakesOverAnEarlierPathNode) {
    RegistryBuilder builder;
    builder.addEntry("/a/b/c", 1, BigEndian(1, 4));
    builder.addEntry("/a/b", 2, Bytes("xy"));
    const auto index = IndexOf(builder);
    EXPECT_EQ(index.nodes().size(), 3u);
    const TreeNode& ab = NodeOf(index, "/a/b");
    ASSERT_TRUE(ab.entry);
    EXPECT_EQ(ab.entry->size, 2);
    EXPECT_EQ(index.rows().size(), 2u);
    EXPECT_EQ(index.keyOf(index.rows()[1]), "/a/b");
}

TEST(RegistryIndex, ARepeatedNameMovesTheNodeButKeepsTheFirstRow) {
    RegistryBuilder builder;
    builder.addEntry("/s/x", 1, BigEndian(1, 4), 0x1111);
    builder.addEntry("/s/y", 1, BigEndian(2, 4));
    builder.addEntry("/s/x", 1, BigEndian(3, 4), 0x2222);
    const RegistryImage image(builder.build());
    const auto index = IndexRegistry(image);
    EXPECT_EQ(index.entryCount(), 3);
    ASSERT_EQ(index.rows().size(), 2u);
    EXPECT_EQ(FieldText(image, index.rows()[0].entry, kValueField), "00000001");
    EXPECT_EQ(FieldText(image, index.rows()[0].entry, kChecksumField), "1111");
    const TreeNode& x = NodeOf(index, "/s/x");
    ASSERT_TRUE(x.entry);
    EXPECT_EQ(x.entry->offset, 0x10000 + 2 * 14);
}

TEST(RegistryIndex, TheSameNameFromAnotherKeyRecordIsTheSameKey) {
    RegistryBuilder builder;
    const uint16_t first = builder.addKey("/s/x");
    const uint16_t second = builder.addKey("/s/x");
    for (uint16_t key : {first, second}) {
        RegistryBuilder::Entry entry;
        entry.keyOffset = key;
        builder.addEntry(entry);
    }
    const auto index = IndexOf(builder);
    EXPECT_EQ(index.rows().size(), 1u);
    EXPECT_EQ(NodeOf(index, "/s/x").entry->keyOffset, second + 16);
}

TEST(RegistryIndex, NamesWithoutSeparatorAreOneTopLevelNode) {
    RegistryBuilder builder;
    builder.addEntry("plain", 0, {});
    builder.addEntry("/top", 0, {});
    builder.addEntry("", 0, {});
    const auto index = IndexOf(builder);
    ASSERT_EQ(index.nodes().size(), 3u);
    EXPECT_EQ(index.nodes()[0].text(), "plain");
    EXPECT_EQ(index.nodes()[1].text(), "top");
    EXPECT_EQ(index.nodes()[2].text(), "");
    EXPECT_EQ(index.topLevel().size(), 3u);
}

TEST(RegistryIndex, BackslashSeparatesAndQuestionMarkEndsTheSearch) {
    RegistryBuilder builder;
    builder.addEntry("/a\\b", 0, {});
    builder.addEntry("/c/d?/e", 0, {});
    const auto index = IndexOf(builder);
    EXPECT_EQ(NodeOf(index, "/a\\b").text(), "b");
    EXPECT_EQ(NodeOf(index, "/a").text(), "a");
    // Nothing after "?" separates: the parent of /c/d?/e is /c.
    EXPECT_EQ(NodeOf(index, "/c/d?/e").text(), "d?/e");
    EXPECT_EQ(NodeOf(index, "/c/d?/e").parent, *index.findNode("/c"));
}

TEST(RegistryIndex, VeryDeepNamesNeedNoRecursion) {
    for (const size_t depth : {5000u, 65535u}) {
        const auto bytes = test::DeepKeyImage(depth);
        const auto index = IndexRegistry(RegistryImage(bytes));
        // The levels stop at the depth cap; the entry hangs below the last with the rest of its
        // name as its text.
        const auto levels = static_cast<size_t>(RegistryIndex::kMaxDepth);
        ASSERT_EQ(index.nodes().size(), levels) << depth;
        const TreeNode& entry = index.nodes().back();
        EXPECT_EQ(entry.depth, RegistryIndex::kMaxDepth - 1);
        EXPECT_EQ(entry.parent, static_cast<int32_t>(levels) - 2);
        EXPECT_EQ(entry.key.size(), depth);
        EXPECT_EQ(entry.text(), std::string(depth - levels, '/'));
        EXPECT_EQ(index.findNode(entry.key), static_cast<int32_t>(levels) - 1);
        EXPECT_EQ(index.pathLevelsRefused(), 0);
    }
}

// Names of about 6,000 levels that part after the first few: without a bound they would make
// millions of nodes. Every entry loads under its full key; the levels stop at the budget, and
// the entries whose paths were cut are counted.
TEST(RegistryIndex, DeepDistinctNamesStayWithinTheBudget) {
    for (const auto& [entries, fileSize] :
         {std::pair{1000, 256 << 10}, std::pair{2475, 256 << 10}, std::pair{19000, 4 << 20}}) {
        const RegistryImage image(sample::DeepNamesImage(entries, fileSize));
        const auto index = IndexRegistry(image);
        EXPECT_EQ(index.entryCount(), entries);
        ASSERT_EQ(index.rows().size(), static_cast<size_t>(entries));
        // The path levels get what the entries leave of the file's nodes.
        EXPECT_EQ(static_cast<int64_t>(index.nodes().size()), index.nodeBudget());
        EXPECT_GT(index.pathLevelsRefused(), 0);
        EXPECT_GT(index.entriesShortened(), 0);
        EXPECT_LE(index.entriesShortened(), entries);
        // Every entry keeps its full key, and its node is found by it.
        const KeyNameStore names(image);
        EntryScanner scanner(image);
        size_t row = 0;
        while (const auto entry = scanner.next()) {
            const std::string_view name = names.nameAt(entry->keyOffset);
            ASSERT_GT(name.size(), 12000u);
            ASSERT_EQ(index.keyOf(index.rows()[row++]), name);
            const auto node = index.findNode(name);
            ASSERT_TRUE(node);
            ASSERT_EQ(index.nodes()[static_cast<size_t>(*node)].entry, *entry);
        }
        // Each node's key is its parent's, a separator and its own text, so the tree still
        // holds every byte of every key.
        for (const TreeNode& node : index.nodes()) {
            ASSERT_LT(node.depth, RegistryIndex::kMaxDepth);
            if (node.parent < 0) continue;
            const TreeNode& parent = index.nodes()[static_cast<size_t>(node.parent)];
            ASSERT_EQ(node.depth, parent.depth + 1);
            ASSERT_EQ(node.key, std::string(parent.key) + node.key[parent.key.size()] +
                                    std::string(node.text()));
        }
    }
    EXPECT_EQ(ShortenedPathsNote(2),
              "2 entries are shown under their nearest folder: their key "
              "paths are too deep to show whole");
}

// No file is refused for its keys: a key offset has 16 bits, so a file names at most 65,536 key
// records, and every budget holds that many entry nodes and more path levels besides.
TEST(RegistryIndex, EveryFileHoldsTheMostKeysTheFormatAllows) {
    for (const int64_t size : {int64_t{65520}, int64_t{256 << 10}, int64_t{2} << 30})
        EXPECT_EQ(RegistryIndex::NodeBudget(size, 0x20000), RegistryIndex::kMostNodes) << size;
    // A full key area of short names (about 4,000 keys) leaves room for over 100,000 folders.
    EXPECT_GT(RegistryIndex::kMostNodes - 4096, 100000);
    // A file whose names run past its end copies them padded with spaces, which counts.
    EXPECT_LT(RegistryIndex::NodeBudget(100000, 16 << 20), RegistryIndex::NodeBudget(100000, 0));
}

// A realistic file whose key area is full of short names keeps every folder of every key.
TEST(RegistryIndex, AFullKeyAreaOfShortNamesKeepsEveryFolder) {
    for (const size_t length : {size_t{10}, size_t{25}, size_t{40}}) {
        size_t keys = 0;
        const RegistryImage image(sample::ShortNamesImage(length, 256 << 10, &keys));
        const auto index = IndexRegistry(image);
        ASSERT_EQ(index.rows().size(), keys) << length;
        EXPECT_GT(keys, length == 10 ? 4000u : 1000u);
        EXPECT_EQ(index.pathLevelsRefused(), 0) << length;
        EXPECT_EQ(index.entriesShortened(), 0) << length;
        // Every entry hangs below its own two folders.
        for (const ListRow& row : index.rows())
            ASSERT_EQ(index.nodes()[static_cast<size_t>(row.node)].depth, 2) << index.keyOf(row);
    }
}

// A registry cut short just after its end marker, as a failed dump leaves it, loads every
// entry under its full key; only path levels its budget cannot hold are left out.
TEST(RegistryIndex, ARegistryCutAfterItsEndMarkerLoadsEveryEntry) {
    const RegistryImage whole(test::SampleBytes());
    const auto wholeIndex = IndexRegistry(whole);
    ASSERT_TRUE(wholeIndex.dataAreaEnd().endMarker);
    const auto end = static_cast<ptrdiff_t>(*wholeIndex.dataAreaEnd().endMarker + 4);
    const RegistryImage cut(
        std::vector<uint8_t>(whole.bytes().begin(), whole.bytes().begin() + end));
    const auto index = IndexRegistry(cut);
    EXPECT_EQ(index.entryCount(), wholeIndex.entryCount());
    ASSERT_EQ(index.rows().size(), wholeIndex.rows().size());
    for (size_t row = 0; row < index.rows().size(); ++row) {
        ASSERT_EQ(index.keyOf(index.rows()[row]), wholeIndex.keyOf(wholeIndex.rows()[row]));
        ASSERT_EQ(index.rows()[row].entry, wholeIndex.rows()[row].entry);
    }
    EXPECT_LE(static_cast<int64_t>(index.nodes().size()), index.nodeBudget());
}

TEST(RegistryIndex, SampleHasEveryKindOfEntry) {
    const RegistryImage image(test::SampleBytes());
    const auto index = IndexRegistry(image);
    EXPECT_GT(index.rows().size(), 400u);
    EXPECT_EQ(index.entryCount(), static_cast<int64_t>(index.rows().size()) + 1);
    EXPECT_EQ(index.nodes()[0].key, "/setting");
    EXPECT_EQ(index.childrenOf(*index.findNode("/setting/net/proxy")).size(), 2u);
    bool types[3] = {};
    for (const ListRow& row : index.rows()) {
        const std::string type = FieldText(image, row.entry, kDataTypeField);
        for (int t = 0; t < 3; ++t) types[t] |= type == kDataTypeNames[t];
    }
    EXPECT_TRUE(types[0] && types[1] && types[2]);
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// The walk takes the hash of each level from one pass over the name; it must be the hash that
// findNode computes for the level's key alone.
// Random trees of random names, some repeated, some from other records with the same name: the
// children lists and rows agree with the parents, each node is listed exactly once and after its
// parent, siblings in the order they were added; the record table gives every entry walked the
// node of its name, and counts the records the entries use.
TEST(RegistryIndex, ChildrenRowsAndRecordsAgreeWithAPlainModel) {
    std::mt19937 random(11);
    for (int round = 0; round < 30; ++round) {
        RegistryBuilder builder;
        std::set<uint16_t> records;
        for (int i = 0; i < 60; ++i) {
            std::string name;
            for (int level = 0, levels = 1 + static_cast<int>(random() % 4); level < levels;
                 ++level)
                name += "/" + std::string(1, static_cast<char>('a' + random() % 3));
            // A new record for a name seen before now and then: still the same key.
            const uint16_t record = random() % 5 == 0 ? builder.addKey(name) : builder.keyFor(name);
            records.insert(record);
            RegistryBuilder::Entry entry;
            entry.keyOffset = record;
            builder.addEntry(entry);
        }
        const RegistryImage image(builder.build());
        const auto index = IndexRegistry(image);
        const auto& nodes = index.nodes();
        std::vector<int> listed(nodes.size());
        const auto check = [&](std::span<const int32_t> siblings, int32_t parent) {
            ASSERT_TRUE(std::is_sorted(siblings.begin(), siblings.end())) << round;
            for (size_t row = 0; row < siblings.size(); ++row) {
                const auto node = static_cast<size_t>(siblings[row]);
                ++listed[node];
                EXPECT_EQ(nodes[node].parent, parent) << round;
                EXPECT_GT(siblings[row], parent) << round;
                EXPECT_EQ(index.rowOf(siblings[row]), static_cast<int32_t>(row)) << round;
            }
        };
        check(index.topLevel(), -1);
        for (int32_t node = 0; node < static_cast<int32_t>(nodes.size()); ++node)
            check(index.childrenOf(node), node);
        EXPECT_EQ(std::count(listed.begin(), listed.end(), 1),
                  static_cast<std::ptrdiff_t>(nodes.size()))
            << round;

        RecordNodes table = RecordNodes::Of(image);
        EXPECT_EQ(table.records(), static_cast<int64_t>(records.size())) << round;
        std::map<int32_t, int32_t> nodeOfRecord;
        for (EntryScanner scanner(image); const auto entry = scanner.next();) {
            int32_t& slot = table.at(entry->keyOffset);
            // A record's own slot: empty when the record first comes, its number ever after.
            const bool first = !nodeOfRecord.count(entry->keyOffset);
            EXPECT_EQ(slot < 0, first) << round;
            if (first) slot = static_cast<int32_t>(nodeOfRecord.size());
            EXPECT_EQ(nodeOfRecord.emplace(entry->keyOffset, slot).first->second, slot) << round;
        }
        EXPECT_EQ(nodeOfRecord.size(), records.size()) << round;
    }
}

TEST(KeyHash, EveryPrefixHashesAsTheWholeText) {
    const std::string text = "/setting/system/a\\b?/c" + std::string(40, 'x') + "/end";
    const std::string_view view = text;
    KeyHasher bytewise;
    for (size_t n = 0; n < text.size(); ++n) {
        ASSERT_EQ(bytewise.value(), HashOfKey(view.substr(0, n))) << n;
        bytewise.add(text[n]);
    }
    // Pieces of 1 to 11 bytes, so that word-sized, odd and straddling pieces mix.
    for (size_t piece = 1; piece <= 11; ++piece) {
        KeyHasher chunked;
        for (size_t n = 0; n < text.size(); n += piece) {
            chunked.add(view.substr(n, piece));
            ASSERT_EQ(chunked.value(), HashOfKey(view.substr(0, n + piece))) << piece << " " << n;
        }
    }
    EXPECT_NE(HashOfKey("/a/b"), HashOfKey("/a\\b"));
    EXPECT_NE(HashOfKey(""), HashOfKey(std::string_view("\0", 1)));
}

}  // namespace
}  // namespace thornbeck

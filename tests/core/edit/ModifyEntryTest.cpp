#include "core/edit/ModifyEntry.h"

#include <gtest/gtest.h>

#include <random>

#include "RegistryBuilder.h"
#include "core/edit/EntryTexts.h"
#include "core/format/EntryScanner.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

using format::DataType;
using sample::BigEndian;
using sample::Bytes;
using sample::RegistryBuilder;

std::vector<uint8_t> BytesOf(const RegistryImage& image) {
    return {image.bytes().begin(), image.bytes().end()};
}

// An image with the index the load builds, and the panel's texts for one of its entries.
struct Loaded {
    RegistryImage image;
    RegistryIndex index;
    explicit Loaded(std::vector<uint8_t> bytes)
        : image(std::move(bytes)), index(IndexRegistry(image)) {}

    int32_t node(std::string_view key) const { return *index.findNode(key); }
    ModifyRequest panel(int32_t node) const {
        const EntryDisplay shown =
            DescribeEntry(image, *index.nodes()[static_cast<size_t>(node)].entry);
        return {shown.texts, shown.type, true};
    }
    EntryRef ref(int32_t node) const { return *index.nodes()[static_cast<size_t>(node)].entry; }
};

std::vector<uint8_t> ThreeEntries() {
    RegistryBuilder builder;
    builder.addEntry("/s/int4", 1, BigEndian(5, 4));
    builder.addEntry("/s/int2", 1, BigEndian(7, 2));
    builder.addEntry("/s/text", 2, Bytes("abcdefgh"));
    builder.addEntry("/s/bin", 0, {0x01, 0x00, 0x02, 0xFF});
    builder.addEntry("/s/last", 2, Bytes("zz"));
    return builder.build();
}

// An edit that changes no byte is said as such and records nothing to undo or save.
TEST(ModifyEntry, WithoutEditsChangesNothingAndSaysSo) {
    Loaded file(ThreeEntries());
    const auto before = BytesOf(file.image);
    for (const char* key : {"/s/int4", "/s/int2", "/s/text", "/s/bin", "/s/last"}) {
        const int32_t node = file.node(key);
        const auto result = ModifyEntry(file.image, file.index, node, file.panel(node));
        EXPECT_EQ(result.kind, ModifyResult::Unchanged) << key;
        EXPECT_TRUE(result.change.patches.empty()) << key;
    }
    EXPECT_EQ(BytesOf(file.image), before);
}

TEST(ModifyEntry, IntegerValuesAreWrittenAsHex) {
    Loaded file(ThreeEntries());
    const int32_t node = file.node("/s/int4");
    auto request = file.panel(node);
    request.texts[kValueField] = "1F";
    ASSERT_EQ(ModifyEntry(file.image, file.index, node, request).kind, ModifyResult::Modified);
    EXPECT_EQ(file.image.readNumber(file.ref(node).offset + 9, 4), 0x1Fu);
    EXPECT_EQ(DescribeEntry(file.image, file.ref(node)).texts[kValueField], "0000001F");
}

TEST(ModifyEntry, TwoByteIntegersAcceptTheirEightDigitDisplay) {
    Loaded file(ThreeEntries());
    const int32_t node = file.node("/s/int2");
    auto request = file.panel(node);
    EXPECT_EQ(request.texts[kValueField], "00000007");
    request.texts[kValueField] = "0000A1F";
    EXPECT_EQ(ModifyEntry(file.image, file.index, node, request).kind, ModifyResult::Modified);
    EXPECT_EQ(file.image.readNumber(file.ref(node).offset + 9, 2), 0x0A1Fu);
    request.texts[kValueField] = "00010000";  // does not fit two bytes
    const auto rejected = ModifyEntry(file.image, file.index, node, request);
    EXPECT_EQ(rejected.kind, ModifyResult::Rejected);
    EXPECT_EQ(rejected.field, kValueField);
    EXPECT_EQ(rejected.message, "Invalid value");
}

TEST(ModifyEntry, ARejectionWritesNothingAtAll) {
    Loaded file(ThreeEntries());
    const auto before = BytesOf(file.image);
    const int32_t node = file.node("/s/text");
    auto request = file.panel(node);
    request.texts[kDataSizeField] = "12";
    request.texts[kValueField] = "new";
    request.texts[kChecksumField] = "BEEF";
    request.texts[kFlagsField] = "XYZ";
    const auto result = ModifyEntry(file.image, file.index, node, request);
    EXPECT_EQ(result.kind, ModifyResult::Rejected);
    EXPECT_EQ(result.field, kFlagsField);
    EXPECT_EQ(BytesOf(file.image), before);
    EXPECT_EQ(file.ref(node).size, 8);
}

TEST(ModifyEntry, TheFirstFailingFieldInOrderIsReported) {
    Loaded file(ThreeEntries());
    const int32_t node = file.node("/s/text");
    auto request = file.panel(node);
    request.texts[kHeaderIdField] = "";
    request.texts[kChecksumField] = "12345";
    EXPECT_EQ(ModifyEntry(file.image, file.index, node, request).field, kChecksumField);
    for (const char* size : {"", "123456", "9E9", "65536", "G"}) {
        request.texts[kDataSizeField] = size;
        const auto result = ModifyEntry(file.image, file.index, node, request);
        EXPECT_EQ(result.field, kDataSizeField) << size;
        EXPECT_EQ(result.message, "Invalid value") << size;
    }
    request = file.panel(node);
    request.valueIsLatin1 = false;
    EXPECT_EQ(ModifyEntry(file.image, file.index, node, request).field, kValueField);
}

TEST(ModifyEntry, GrowingMovesEverythingBehindTheEntry) {
    Loaded file(ThreeEntries());
    const auto before = BytesOf(file.image);
    const int32_t node = file.node("/s/text");
    const EntryRef old = file.ref(node);
    const EntryRef bin = file.ref(file.node("/s/bin"));
    auto request = file.panel(node);
    request.texts[kDataSizeField] = "12";
    request.texts[kValueField] = "hello";
    ASSERT_EQ(ModifyEntry(file.image, file.index, node, request).kind, ModifyResult::Modified);
    const auto after = BytesOf(file.image);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(file.image.readNumber(old.offset + 6, 2), 12u);
    EXPECT_EQ(std::string(after.begin() + old.offset + 9, after.begin() + old.offset + 21),
              std::string("hello\0\0\0\0\0\0\0", 12));
    // The terminator and everything after it moved by 4.
    EXPECT_TRUE(std::equal(before.begin() + old.offset + 17, before.end() - 4,
                           after.begin() + old.offset + 21));
    EXPECT_EQ(file.ref(node).size, 12);
    EXPECT_EQ(file.ref(file.node("/s/bin")).offset, bin.offset + 4);
    EXPECT_EQ(*file.index.dataAreaEnd().endMarker, bin.offset + 14 + 12 + 4);
}

TEST(ModifyEntry, ShrinkingKeepsTheLastBytesOfTheImage) {
    Loaded file(ThreeEntries());
    auto bytes = BytesOf(file.image);
    const int32_t node = file.node("/s/text");
    const EntryRef old = file.ref(node);
    auto request = file.panel(node);
    request.texts[kDataSizeField] = "5";
    ASSERT_EQ(ModifyEntry(file.image, file.index, node, request).kind, ModifyResult::Modified);
    const auto after = BytesOf(file.image);
    EXPECT_EQ(std::string(after.begin() + old.offset + 9, after.begin() + old.offset + 14),
              "abcde");
    EXPECT_TRUE(
        std::equal(bytes.begin() + old.offset + 17, bytes.end(), after.begin() + old.offset + 14));
    EXPECT_TRUE(std::equal(bytes.end() - 3, bytes.end(), after.end() - 3));
}

TEST(ModifyEntry, AGrowthThatWouldPushDataOffTheImageIsRefused) {
    RegistryBuilder builder;
    builder.addEntry("/s/a", 2, Bytes("aaaa"));
    builder.addEntry("/s/b", 2, Bytes("bb"));
    builder.fileSize = builder.dataEnd() + 5 + 2;  // two bytes of padding after the end marker
    Loaded file(builder.build());
    const auto before = BytesOf(file.image);
    for (const char* key : {"/s/a", "/s/b"}) {
        const int32_t node = file.node(key);
        auto request = file.panel(node);
        request.texts[kDataSizeField] = std::to_string(file.ref(node).size + 4);
        const auto result = ModifyEntry(file.image, file.index, node, request);
        EXPECT_EQ(result.kind, ModifyResult::Rejected) << key;
        EXPECT_EQ(result.message, "Invalid size") << key;
        EXPECT_EQ(BytesOf(file.image), before);
    }
    // Two bytes fit: exactly the padding after the end marker.
    const int32_t node = file.node("/s/b");
    auto request = file.panel(node);
    request.texts[kDataSizeField] = "4";
    EXPECT_EQ(ModifyEntry(file.image, file.index, node, request).kind, ModifyResult::Modified);
}

TEST(ModifyEntry, AKeyFolderOrNoTypeDoesNothing) {
    Loaded file(ThreeEntries());
    const auto before = BytesOf(file.image);
    auto request = file.panel(file.node("/s/text"));
    EXPECT_EQ(ModifyEntry(file.image, file.index, file.node("/s"), request).kind,
              ModifyResult::Ignored);
    request.type.reset();
    EXPECT_EQ(ModifyEntry(file.image, file.index, file.node("/s/text"), request).kind,
              ModifyResult::Ignored);
    EXPECT_EQ(BytesOf(file.image), before);
}

TEST(ModifyEntry, AnEntryReachingOutsideTheImageIsNeverWrittenThere) {
    RegistryBuilder builder;
    builder.endMarker = false;
    RegistryBuilder::Entry entry;
    entry.keyOffset = builder.addKey("/s/cut");
    entry.type = 2;
    entry.value = Bytes("abc");
    entry.storedSize = 40;  // the value would reach past the end
    builder.addEntry(entry);
    builder.fileSize = 0x10000 + 20;
    Loaded file(builder.build());
    const int32_t node = file.node("/s/cut");
    auto request = file.panel(node);
    request.texts[kValueField] = std::string(40, 'x');
    EXPECT_EQ(ModifyEntry(file.image, file.index, node, request).kind, ModifyResult::Modified);
    EXPECT_EQ(file.image.size(), 0x10000 + 20);
    request.texts[kDataSizeField] = "2";
    EXPECT_EQ(ModifyEntry(file.image, file.index, node, request).message, "Invalid size");
}

TEST(ModifyEntry, ParseDataSizeReadsLeadingDecimalDigitsOnly) {
    EXPECT_EQ(ParseDataSize("12AB"), 12);
    // Data Size is decimal: a letter E or D ends the digits, it starts no exponent.
    EXPECT_EQ(ParseDataSize("1E2"), 1);
    EXPECT_EQ(ParseDataSize("1d3"), 1);
    EXPECT_EQ(ParseDataSize("E5"), 0);
    EXPECT_EQ(ParseDataSize("9E9"), 9);
    EXPECT_EQ(ParseDataSize("65535"), 65535);
    EXPECT_FALSE(ParseDataSize("65536"));
}

// Random Modify calls on the sample: only the edited entry's fields and
// the moved tail change, and the EntryRefs the index keeps agree with a fresh walk of the image.
TEST(ModifyEntry, RandomEditsKeepTheImageConsistent) {
    Loaded file(test::SampleBytes());
    std::mt19937 random(4242);
    std::vector<int32_t> entries;
    for (size_t i = 0; i < file.index.nodes().size(); ++i)
        if (file.index.nodes()[i].entry) entries.push_back(static_cast<int32_t>(i));
    const auto randomHex = [&](int digits) {
        std::string text;
        for (int i = 0; i < digits; ++i) text += "0123456789ABCDEFx"[random() % 17];
        return text;
    };
    int rejected = 0, moved = 0;
    for (int round = 0; round < 3000; ++round) {
        const int32_t node = entries[random() % entries.size()];
        const EntryRef old = file.ref(node);
        const auto before = BytesOf(file.image);
        auto request = file.panel(node);
        if (random() % 2) request.texts[kDataSizeField] = std::to_string(random() % 40);
        if (random() % 2) request.texts[kValueField] = randomHex(1 + random() % 9);
        if (random() % 4 == 0) request.texts[kChecksumField] = randomHex(1 + random() % 5);
        const auto result = ModifyEntry(file.image, file.index, node, request);
        const auto after = BytesOf(file.image);
        if (result.kind != ModifyResult::Modified) {
            ASSERT_EQ(after, before) << round;
            ++rejected;
            continue;
        }
        const EntryRef now = file.ref(node);
        const int64_t delta = now.size - old.size;
        moved += delta != 0;
        // Nothing before the entry changed but its key record's header id.
        for (int64_t at = 0; at < old.offset; ++at) {
            if (at != old.keyOffset && at != old.keyOffset + 1) {
                ASSERT_EQ(after[at], before[at]) << round;
            }
        }
        ASSERT_EQ(after[old.offset + 2], before[old.offset + 2]);
        ASSERT_EQ(after[old.offset + 8], before[old.offset + 8]);
        // The tail from the old terminator on moved by delta.
        const int64_t from = old.offset + 9 + old.size;
        const int64_t count =
            static_cast<int64_t>(before.size()) - from - std::max<int64_t>(delta, 0);
        ASSERT_TRUE(std::equal(before.begin() + from, before.begin() + from + count,
                               after.begin() + from + delta));
        // The index agrees with a fresh walk.
        std::vector<EntryRef> walked;
        EntryScanner scanner(file.image);
        while (const auto ref = scanner.next()) walked.push_back(*ref);
        for (const int32_t other : entries)
            ASSERT_NE(std::find(walked.begin(), walked.end(), file.ref(other)), walked.end())
                << round;
    }
    // The edits exercised both outcomes and real moves.
    EXPECT_GT(rejected, 300);
    EXPECT_GT(moved, 300);
}

}  // namespace
}  // namespace thornbeck

namespace thornbeck {
namespace {

// Keys view the image's own bytes, so a Header ID whose bytes another record's name covers
// would rename that key under the views: Modify refuses it, and the key reads as before. A
// Header ID that no name covers is written.
TEST(ModifyEntry, AHeaderIdThatAnotherNameCoversIsRefused) {
    RegistryBuilder builder;
    builder.addEntry("/a/first", 2, Bytes("x"));
    builder.addEntry("/a/second", 2, Bytes("y"));
    auto bytes = builder.build();
    // The first record's name length reaches two bytes further: over the next record's Header ID.
    bytes[0x10 + format::kNameLengthAt + 1] += 2;
    Loaded loaded(std::move(bytes));
    const std::string first(loaded.index.keyOf(loaded.index.rows()[0]));
    ASSERT_EQ(first.size(), 10u);
    ASSERT_EQ(first.substr(0, 8), "/a/first");

    const int32_t second = loaded.node("/a/second");
    ModifyRequest request = loaded.panel(second);
    request.texts[kHeaderIdField] = "4142";
    const auto before = BytesOf(loaded.image);
    const auto refused = ModifyEntry(loaded.image, loaded.index, second, request);
    EXPECT_EQ(refused.kind, ModifyResult::Rejected);
    EXPECT_EQ(refused.field, kHeaderIdField);
    EXPECT_EQ(BytesOf(loaded.image), before);
    EXPECT_EQ(loaded.index.keyOf(loaded.index.rows()[0]), first);

    const int32_t firstNode = *loaded.index.findNode(first);
    request = loaded.panel(firstNode);
    request.texts[kHeaderIdField] = "4142";
    EXPECT_EQ(ModifyEntry(loaded.image, loaded.index, firstNode, request).kind,
              ModifyResult::Modified);
    EXPECT_EQ(loaded.image.readNumber(0x10, 2), 0x4142u);
    EXPECT_EQ(loaded.index.keyOf(loaded.index.rows()[0]), first);
}

// Random edits of damaged images, whose entries may reach outside the image: a Modify's record
// takes it back byte for byte, and a rejected one changes nothing.
TEST(ModifyEntry, RandomEditsOfDamagedImagesStayInside) {
    const auto sample = test::SampleBytes();
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        auto bytes = sample;
        for (int i = 0; i < 16; ++i)
            bytes[0x10000 + random() % 0x2300] = static_cast<uint8_t>(random());
        bytes.resize(0x10000 + random() % 0x2400);
        RegistryImage image(bytes);
        RegistryIndex index = IndexRegistry(image);
        for (int edit = 0; edit < 10; ++edit) {
            const int32_t node =
                static_cast<int32_t>(random() % std::max<size_t>(index.nodes().size(), 1));
            if (index.nodes().empty() || !index.nodes()[static_cast<size_t>(node)].entry) continue;
            const EntryDisplay shown =
                DescribeEntry(image, *index.nodes()[static_cast<size_t>(node)].entry);
            ModifyRequest request{shown.texts, shown.type, true};
            request.texts[kDataSizeField] = std::to_string(random() % 300);
            request.texts[kValueField] = std::string(random() % 300, 'q');
            const auto before = std::vector<uint8_t>(image.bytes().begin(), image.bytes().end());
            const auto result = ModifyEntry(image, index, node, request);
            if (result.kind == ModifyResult::Modified) {
                RegistryImage undone = image;
                RegistryIndex undoneIndex = index;
                RevertChange(undone, undoneIndex, result.change);
                ASSERT_TRUE(std::equal(before.begin(), before.end(), undone.bytes().begin()));
            } else {
                ASSERT_TRUE(std::equal(before.begin(), before.end(), image.bytes().begin()));
            }
        }
    }
}

}  // namespace
}  // namespace thornbeck

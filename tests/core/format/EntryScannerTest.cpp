#include "core/format/EntryScanner.h"

#include <gtest/gtest.h>

#include "RegistryBuilder.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {
namespace {

using sample::BigEndian;
using sample::RegistryBuilder;

std::vector<EntryRef> ScanAll(const RegistryImage& image) {
    std::vector<EntryRef> refs;
    EntryScanner scanner(image);
    while (const auto ref = scanner.next()) refs.push_back(*ref);
    return refs;
}

RegistryImage Build(RegistryBuilder& builder) {
    return RegistryImage(builder.build());
}

TEST(EntryScanner, RefusesFilesShorterThanTheKeyArea) {
    std::vector<uint8_t> bytes(format::kMinimumFileSize - 1, 0);
    const RegistryImage image(bytes);
    EntryScanner scanner(image);
    EXPECT_FALSE(scanner.isRegistryFile());
    EXPECT_FALSE(scanner.next());
}

TEST(EntryScanner, FilesWithoutBothMarkerBytesHaveNoEntries) {
    for (const size_t size : {0xFFF0u, 0xFFF1u, 0x10100u}) {
        std::vector<uint8_t> bytes(size, 0);
        if (size > 0xFFF0) bytes[0xFFF0] = 0x4D;  // only the first marker byte
        const RegistryImage image(bytes);
        EntryScanner scanner(image);
        EXPECT_TRUE(scanner.isRegistryFile()) << size;
        EXPECT_FALSE(scanner.hasDataAreaMarker()) << size;
        EXPECT_TRUE(ScanAll(image).empty()) << size;
    }
}

TEST(EntryScanner, EndMarkerRightAfterTheMarkerMeansNoEntries) {
    RegistryBuilder builder;
    builder.headerRecord = false;
    const auto image = Build(builder);
    EntryScanner scanner(image);
    EXPECT_FALSE(scanner.next());
    EXPECT_EQ(scanner.endMarkerOffset(), 0xFFF2);
}

TEST(EntryScanner, StepsOverTheHeaderRecordOfRealDumps) {
    RegistryBuilder builder;
    builder.addEntry("/setting/a", 1, BigEndian(7, 4));
    builder.addEntry("/setting/b", 2, {});
    const auto image = Build(builder);
    EntryScanner scanner(image);
    EXPECT_TRUE(scanner.hasHeaderRecord());
    const auto first = scanner.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->offset, 0x10000);
    EXPECT_EQ(first->size, 4);
    EXPECT_EQ(first->keyOffset, 0x10);  // the first key record, right after the file header
    const auto second = scanner.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->offset, 0x10000 + 14);
    EXPECT_EQ(second->size, 0);
    EXPECT_FALSE(scanner.next());
    EXPECT_EQ(scanner.endMarkerOffset(), 0x10000 + 14 + 10);
}

TEST(EntryScanner, AnyOtherFirstRecordIsAnOrdinaryEntry) {
    RegistryBuilder builder;
    builder.headerRecord = false;
    builder.addEntry("/setting/a", 1, BigEndian(7, 4));  // size 4, but no marker in its key offset
    builder.addEntry("/setting/b", 2, {'x'});
    const auto refs = ScanAll(Build(builder));
    ASSERT_EQ(refs.size(), 2u);
    EXPECT_EQ(refs[0].offset, 0xFFF2);
    EXPECT_EQ(refs[1].offset, 0xFFF2 + 14);
}

TEST(EntryScanner, WithoutEndMarkerTheWalkStopsFourBytesBeforeTheEnd) {
    RegistryBuilder builder;
    builder.endMarker = false;
    builder.fileSize = 0x10000 + 3 * 10 + 4;
    for (int i = 0; i < 3; ++i) builder.addEntry("/k", 0, {});
    const auto image = Build(builder);
    EntryScanner scanner(image);
    int count = 0;
    while (scanner.next()) ++count;
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(scanner.endMarkerOffset());
}

TEST(EntryScanner, KeyOffsetZeroPointsAtTheFirstByteOfTheKeyArea) {
    RegistryBuilder builder;
    RegistryBuilder::Entry entry;
    entry.keyOffset = 0;
    builder.addEntry(entry);
    const auto refs = ScanAll(Build(builder));
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(refs[0].keyOffset, 16);
}

TEST(EntryScanner, SizesReachingPastTheImageEndTheWalk) {
    RegistryBuilder builder;
    builder.fileSize = 0x10020;
    RegistryBuilder::Entry entry;
    entry.storedSize = 0xFFFF;
    builder.endMarker = false;
    builder.addEntry(entry);
    const auto refs = ScanAll(Build(builder));
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(refs[0].size, 0xFFFF);
}

}  // namespace
}  // namespace thornbeck

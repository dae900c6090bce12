// A copy to share, on the sample with random loose values in its tail and random entries chosen,
// against what must hold: the same rows but for the masked values, nothing of the tail's text,
// every other byte as it was. And the layout's regions cover the file in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "core/edit/EntryTexts.h"
#include "core/format/RegistryFormat.h"
#include "core/index/RegistryIndex.h"
#include "core/report/FileLayout.h"
#include "core/report/SharedCopy.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

// The sample with printable runs of 3 to 40 bytes written at random places of its tail.
std::vector<uint8_t> WithLooseValues(std::vector<uint8_t> bytes, std::mt19937& random) {
    const int64_t tail = TailStart(RegistryImage(bytes));
    for (int i = 0; i < 12; ++i) {
        const size_t length = 3 + random() % 38;
        const size_t at = static_cast<size_t>(tail) + random() % (bytes.size() - tail - length);
        for (size_t j = 0; j < length; ++j)
            bytes[at + j] = static_cast<uint8_t>(0x20 + random() % 0x5F);
    }
    return bytes;
}

bool HoldsRun(const std::vector<uint8_t>& bytes, const std::string& run) {
    return std::search(bytes.begin(), bytes.end(), run.begin(), run.end()) != bytes.end();
}

TEST(SharedCopy, KeepsEveryRowButTheMaskedValuesAndNothingOfTheTail) {
    std::mt19937 random(7);
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        const RegistryImage original(WithLooseValues(test::SampleBytes(), random));
        const RegistryIndex index = IndexRegistry(original);
        std::vector<int32_t> rows = ProposedMasks(index);
        for (int i = 0; i < 5; ++i)
            rows.push_back(static_cast<int32_t>(random() % index.rows().size()));
        const SharedCopy copy = MakeSharedCopy(original, index, rows);

        const RegistryImage shared(copy.bytes);
        const RegistryIndex sharedIndex = IndexRegistry(shared);
        ASSERT_EQ(sharedIndex.rows().size(), index.rows().size());
        std::vector<bool> maskedByte(copy.bytes.size(), false);
        std::set<std::string_view> maskedKeys;
        for (const int32_t row : rows) maskedKeys.insert(index.keyOf(index.rows()[row]));
        for (size_t row = 0; row < index.rows().size(); ++row) {
            const ListRow& before = index.rows()[row];
            const ListRow& after = sharedIndex.rows()[row];
            ASSERT_EQ(index.keyOf(before), sharedIndex.keyOf(after));
            const auto textsBefore = DescribeEntry(original, before.entry).texts;
            const auto textsAfter = DescribeEntry(shared, after.entry).texts;
            for (int field = 1; field < kDetailFieldCount; ++field)
                EXPECT_EQ(textsBefore[field], textsAfter[field]) << index.keyOf(before);
            if (!maskedKeys.count(index.keyOf(before))) {
                EXPECT_EQ(textsBefore[kValueField], textsAfter[kValueField]);
                continue;
            }
            EXPECT_EQ(textsAfter[kValueField].size(), textsBefore[kValueField].size());
        }
        // Which bytes may differ: the values of every entry of a masked key, and the tail.
        for (const TreeNode& node : index.nodes())
            if (node.entry && maskedKeys.count(node.key))
                for (int32_t i = 0; i < node.entry->size; ++i)
                    maskedByte[static_cast<size_t>(node.entry->offset + format::kValueAt + i)] =
                        true;
        for (const int32_t row : rows) {
            const EntryRef& entry = index.rows()[row].entry;
            for (int32_t i = 0; i < entry.size; ++i)
                maskedByte[static_cast<size_t>(entry.offset + format::kValueAt + i)] = true;
        }
        const int64_t tail = TailStart(original);
        for (size_t at = 0; at < static_cast<size_t>(tail); ++at)
            if (!maskedByte[at]) ASSERT_EQ(copy.bytes[at], original.bytes()[at]) << at;
        for (const LooseValue& value : DescribeLayout(original).looseValues)
            EXPECT_FALSE(HoldsRun(copy.bytes, value.bytes)) << value.bytes;
        EXPECT_TRUE(DescribeLayout(shared).looseValues.empty());
    }
}

TEST(SharedCopy, ProposesTheKeysThatNamePersonalDataByTheirWords) {
    EXPECT_TRUE(SuggestsPersonalData("/setting/system/nickName"));
    EXPECT_TRUE(SuggestsPersonalData("/setting/net/wlan/wlanSSID"));
    EXPECT_TRUE(SuggestsPersonalData("/setting/user/00000001/password"));
    EXPECT_TRUE(SuggestsPersonalData("/setting/net/ipAddress"));
    EXPECT_FALSE(SuggestsPersonalData("/setting/system/keyboard"));
    EXPECT_FALSE(SuggestsPersonalData("/setting/video/width"));
    EXPECT_FALSE(SuggestsPersonalData("/setting/user/comment"));
}

TEST(FileLayout, RegionsCoverTheFileInOrderWhateverItsShape) {
    auto sample = test::SampleBytes();
    auto noMarker = sample;
    noMarker[format::kMarkerOffset] = 0;
    std::vector<uint8_t> shortFile(sample.begin(), sample.begin() + 1000);
    for (const auto& bytes : {sample, noMarker, shortFile}) {
        const RegistryImage image(bytes);
        const FileLayout layout = DescribeLayout(image);
        int64_t at = 0;
        for (const FileRegion& region : layout.regions) {
            EXPECT_EQ(region.from, at) << region.name;
            at += region.length;
        }
        EXPECT_EQ(at, image.size());
    }
}

}  // namespace
}  // namespace thornbeck

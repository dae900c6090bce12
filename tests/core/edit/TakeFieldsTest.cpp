// The compare by key and taking the other file's fields, on the core alone.
#include <gtest/gtest.h>

#include "core/compare/EntryCompare.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/TakeFields.h"
#include "support/CompareFiles.h"

namespace thornbeck::test {
namespace {

struct Loaded {
    RegistryImage image;
    RegistryIndex index = IndexRegistry(image);
    explicit Loaded(std::vector<uint8_t> bytes) : image(std::move(bytes)) {}
};

// "kind key field field ..." per difference.
std::vector<std::string> Summary(const std::vector<KeyDifference>& differences) {
    std::vector<std::string> lines;
    for (const KeyDifference& difference : differences) {
        std::string line = difference.kind == KeyDifference::Changed   ? "changed "
                           : difference.kind == KeyDifference::OnlyInA ? "onlyA "
                                                                       : "onlyB ";
        line += difference.key;
        for (const FieldChange& change : difference.changes) line += " " + FieldName(change.field);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string_view> ChangedKeys(const std::vector<KeyDifference>& differences) {
    std::vector<std::string_view> keys;
    for (const KeyDifference& difference : differences)
        if (difference.kind == KeyDifference::Changed) keys.push_back(difference.key);
    return keys;
}

TEST(TakeFields, TakingEveryDifferenceLeavesOnlyOffsetsAndRevertsByteForByte) {
    const ComparePair pair = CompareImages();
    Loaded a(pair.a);
    const Loaded b(pair.b);
    const auto before = DiffEntries(a.image, a.index, b.image, b.index, false);
    EXPECT_EQ(Summary(before), (std::vector<std::string>{
                                   "changed /c/int Value Checksum",
                                   "changed /c/text Value Data Size",
                                   "changed /c/bin Value Data Size",
                                   "changed /c/flags Flags",
                                   "changed /c/hid Header ID",
                                   "onlyA /c/onlyA",
                                   "onlyB /c/onlyB",
                               }));

    const TakeOutcome outcome =
        TakeOtherFields(a.image, a.index, b.image, b.index, ChangedKeys(before), kTakeAll);
    EXPECT_TRUE(outcome.refused.empty());
    EXPECT_EQ(outcome.changes.size(), 5u);
    for (const KeyDifference& left : DiffEntries(a.image, a.index, b.image, b.index, true)) {
        if (left.kind != KeyDifference::Changed) continue;
        for (const FieldChange& change : left.changes)
            EXPECT_TRUE(change.field == kDataOffsetField || change.field == kKeyOffsetField)
                << left.key << " " << FieldName(change.field);
    }
    EXPECT_EQ(Summary(DiffEntries(a.image, a.index, b.image, b.index, false)),
              (std::vector<std::string>{"onlyA /c/onlyA", "onlyB /c/onlyB"}));
    // The index still equals a fresh load of the image.
    const RegistryIndex fresh = IndexRegistry(a.image);
    ASSERT_EQ(fresh.rows().size(), a.index.rows().size());
    for (size_t r = 0; r < fresh.rows().size(); ++r)
        EXPECT_EQ(DescribeEntry(a.image, fresh.rows()[r].entry).texts,
                  DescribeEntry(a.image, a.index.rows()[r].entry).texts)
            << fresh.keyOf(fresh.rows()[r]);

    for (auto change = outcome.changes.rbegin(); change != outcome.changes.rend(); ++change)
        RevertChange(a.image, a.index, *change);
    EXPECT_TRUE(
        std::equal(a.image.bytes().begin(), a.image.bytes().end(), pair.a.begin(), pair.a.end()));
}

TEST(TakeFields, ARefusedEntryIsReportedAndTheChosenFieldsOfTheOthersAreTaken) {
    const ComparePair pair = CompareImages(true);
    Loaded a(pair.a);
    const Loaded b(pair.b);
    const std::vector<std::string_view> keys = {"/c/int", "/c/clash", "/c/onlyB", "/c/same"};
    const TakeOutcome outcome =
        TakeOtherFields(a.image, a.index, b.image, b.index, keys, *TakenFieldsNamed("value"));
    ASSERT_EQ(outcome.refused.size(), 2u);
    EXPECT_EQ(outcome.refused[0].key, "/c/clash");
    EXPECT_EQ(outcome.refused[0].reason,
              "its Data Type differs: Integer here, String in the other file");
    EXPECT_EQ(outcome.refused[1].key, "/c/onlyB");
    EXPECT_EQ(outcome.refused[1].reason, "not in this file");
    // /c/same needed nothing; /c/int took its value but kept its checksum.
    EXPECT_EQ(outcome.taken, (std::vector<std::string_view>{"/c/int"}));
    const auto left = DiffEntries(a.image, a.index, b.image, b.index, false);
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(Summary({left[0]}), (std::vector<std::string>{"changed /c/int Checksum"}));

    // The other way round the other's Integer digits would become characters: refused too.
    Loaded stringSide(pair.b);
    const std::vector<std::string_view> clash = {"/c/clash"};
    const TakeOutcome reverse =
        TakeOtherFields(stringSide.image, stringSide.index, a.image, a.index, clash, kTakeAll);
    ASSERT_EQ(reverse.refused.size(), 1u);
    EXPECT_EQ(reverse.refused[0].reason,
              "its Data Type differs: String here, Integer in the other file");
    EXPECT_TRUE(reverse.changes.empty());

    EXPECT_EQ(TakenFieldsNamed("checksum,header-id"), kTakeChecksum | kTakeHeaderId);
    EXPECT_EQ(TakenFieldsNamed("value,flags,checksum,header-id"), kTakeAll);
    EXPECT_FALSE(TakenFieldsNamed("value,"));
    EXPECT_FALSE(TakenFieldsNamed("Value"));
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

// An Integer's size never changes: its differing Data Size is refused with the reason, and
// never counted as taken; its Value still is when asked for.
TEST(TakeFields, AnIntegersDifferingDataSizeIsRefusedAndNeverReportedTaken) {
    const ComparePair pair = IntegerSizeImages();
    Loaded a(pair.a), b(pair.b);
    const auto before = std::vector<uint8_t>(a.image.bytes().begin(), a.image.bytes().end());
    const std::string_view key = "/setting/bdvideo";
    const std::vector<TakeItem> sizeOnly = {{key, TakeFlagOf(kDataSizeField)}};
    const TakeOutcome refused = TakeOtherFields(a.image, a.index, b.image, b.index, sizeOnly);
    EXPECT_TRUE(refused.taken.empty());
    EXPECT_TRUE(refused.changes.empty());
    ASSERT_EQ(refused.refused.size(), 1u);
    EXPECT_EQ(refused.refused[0].reason, "Data Size: an Integer's size cannot change");
    EXPECT_EQ(std::vector<uint8_t>(a.image.bytes().begin(), a.image.bytes().end()), before);

    const std::vector<std::string_view> keys = {key};
    const TakeOutcome value =
        TakeOtherFields(a.image, a.index, b.image, b.index, keys, *TakenFieldsNamed("value"));
    ASSERT_EQ(value.taken.size(), 1u);
    EXPECT_EQ(value.takenFields, std::vector<unsigned>{kTakeValue});
    EXPECT_EQ(value.refused.size(), 1u);
    const EntryRef entry = *a.index.nodes()[static_cast<size_t>(*a.index.findNode(key))].entry;
    EXPECT_EQ(entry.size, 4);
    EXPECT_EQ(DescribeEntry(a.image, entry).texts[kValueField], "00000005");
}

}  // namespace
}  // namespace thornbeck::test

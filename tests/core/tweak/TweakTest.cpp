// Tweaks: made from two files' differences, written to a file, read back and applied, against
// Take Other's Fields as the model; and the files that are no tweak.
#include <gtest/gtest.h>

#include <random>

#include "core/compare/EntryCompare.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"
#include "core/edit/TakeFields.h"
#include "core/index/RegistryIndex.h"
#include "core/tweak/TweakApply.h"
#include "core/tweak/TweakParser.h"
#include "core/tweak/TweakWriter.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

// The sample with random fields of random entries changed as Modify changes them: values of
// any bytes (sizes too), numbers, checksums, flags and header IDs.
std::vector<uint8_t> Changed(const std::vector<uint8_t>& bytes, uint32_t seed) {
    RegistryImage image(bytes);
    RegistryIndex index = IndexRegistry(image);
    std::vector<int32_t> entries;
    for (size_t i = 0; i < index.nodes().size(); ++i)
        if (index.nodes()[i].entry) entries.push_back(static_cast<int32_t>(i));
    std::mt19937 random(seed);
    for (int step = 0; step < 60; ++step) {
        const int32_t node = entries[random() % entries.size()];
        const EntryRef entry = *index.nodes()[static_cast<size_t>(node)].entry;
        const EntryDisplay shown = DescribeEntry(image, entry);
        ModifyRequest request{shown.texts, shown.type, true};
        if (shown.type == format::DataType::Integer) {
            request.texts[kValueField] = HexDigits(random(), 8);
        } else {
            const size_t size = random() % 12;
            request.texts[kDataSizeField] = std::to_string(size);
            std::string value;
            for (size_t i = 0; i < size; ++i) value += static_cast<char>(random() % 256);
            request.texts[kValueField] = value;
        }
        if (random() % 3 == 0) request.texts[kChecksumField] = HexDigits(random() % 0x10000, 4);
        if (random() % 4 == 0) request.texts[kFlagsField] = HexDigits(random() % 0x10000, 4);
        if (random() % 4 == 0) request.texts[kHeaderIdField] = HexDigits(random() % 0x10000, 4);
        ModifyEntry(image, index, node, request);
    }
    const auto written = image.bytes();
    return {written.begin(), written.end()};
}

struct Opened {
    RegistryImage image;
    RegistryIndex index;
    explicit Opened(std::vector<uint8_t> bytes)
        : image(std::move(bytes)), index(IndexRegistry(image)) {}
    std::vector<uint8_t> bytes() const { return {image.bytes().begin(), image.bytes().end()}; }
};

// The tweak that turns A into B, through its file text.
Tweak TweakFromAToB(const Opened& a, const Opened& b) {
    const auto differences = DiffEntries(a.image, a.index, b.image, b.index, false);
    const auto typeInA = [&a](std::string_view key) {
        const auto node = EntryNodeOfKey(a.index, key);
        return FieldText(a.image, *a.index.nodes()[static_cast<size_t>(*node)].entry,
                         kDataTypeField);
    };
    auto parsed = ParseTweak(TweakFileText(TweakOfDifferences(differences, typeInA)));
    EXPECT_TRUE(std::holds_alternative<Tweak>(parsed));
    return std::get<Tweak>(std::move(parsed));
}

TEST(Tweak, AppliedLikeMergeAgainAlreadySoAndUndoneByteForByte) {
    const auto sample = test::SampleBytes();
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        Opened a(sample);
        const Opened b(Changed(sample, seed));
        const Tweak tweak = TweakFromAToB(a, b);
        ASSERT_FALSE(tweak.lines.empty());

        // The model: every key of A taken from B, as merge takes it.
        Opened merged(sample);
        std::vector<std::string> keys;
        for (const auto& d : DiffEntries(a.image, a.index, b.image, b.index, false))
            if (d.kind == KeyDifference::Changed) keys.emplace_back(d.key);
        const std::vector<std::string_view> views(keys.begin(), keys.end());
        TakeOtherFields(merged.image, merged.index, b.image, b.index, views, kTakeAll);

        const TweakOutcome checked = CheckTweak(a.image, a.index, tweak);
        EXPECT_EQ(a.bytes(), sample) << "a check changes nothing";
        for (const TweakLineCheck& line : checked.lines)
            EXPECT_FALSE(IsConflict(line.status)) << line.reason;

        const TweakOutcome applied = ApplyTweak(a.image, a.index, tweak);
        EXPECT_EQ(a.bytes(), merged.bytes());
        EXPECT_GT(applied.entriesChanged, 0);

        const TweakOutcome again = ApplyTweak(a.image, a.index, tweak);
        EXPECT_TRUE(again.changes.empty());
        for (const TweakLineCheck& line : again.lines)
            EXPECT_EQ(line.status, TweakStatus::AlreadySo);

        for (auto it = applied.changes.rbegin(); it != applied.changes.rend(); ++it)
            RevertChange(a.image, a.index, *it);
        EXPECT_EQ(a.bytes(), sample);
    }
}

TEST(Tweak, ALineChecksWhatItOverwritesAndEachKeyIsOneModify) {
    Opened file(test::SampleBytes());
    const std::string tweakText = std::string(kTweakHeader) +
                                  "\r\n# title: Time zone\r\n"
                                  "/setting/system/timeZone\tValue\t0000003C\t78\r\n"
                                  "/setting/system/timeZone\tChecksum\t*\t1234\r\n"
                                  "/setting/system/region\tValue\tJP\\x00\\x00\tUS\r\n"
                                  "/setting/none\tFlags\t*\t1\r\n"
                                  "/setting/system/region\tData Size\t*\t99999\r\n";
    auto parsed = ParseTweak(tweakText);
    ASSERT_TRUE(std::holds_alternative<TweakFileError>(parsed)) << "a six-digit size";
    EXPECT_EQ(std::get<TweakFileError>(parsed).line, 7);

    parsed = ParseTweak(tweakText.substr(0, tweakText.rfind("/setting/system/region")));
    ASSERT_TRUE(std::holds_alternative<Tweak>(parsed));
    const Tweak& tweak = std::get<Tweak>(parsed);
    EXPECT_EQ(tweak.title, "Time zone");
    const TweakOutcome outcome = ApplyTweak(file.image, file.index, tweak);
    ASSERT_EQ(outcome.lines.size(), 4u);
    EXPECT_EQ(outcome.lines[0].status, TweakStatus::WillChange);
    EXPECT_EQ(outcome.lines[1].status, TweakStatus::WillChange);
    EXPECT_EQ(outcome.lines[2].status, TweakStatus::Differs);  // the sample's region is EU
    EXPECT_EQ(outcome.lines[3].status, TweakStatus::NoSuchKey);
    ASSERT_EQ(outcome.changes.size(), 1u) << "Value and Checksum of one key are one Modify";
    EXPECT_EQ(outcome.fieldsChanged, 2);
    const auto node = EntryNodeOfKey(file.index, "/setting/system/timeZone");
    const EntryRef entry = *file.index.nodes()[static_cast<size_t>(*node)].entry;
    EXPECT_EQ(FieldText(file.image, entry, kValueField), "00000078");
    EXPECT_EQ(FieldText(file.image, entry, kChecksumField), "1234");
}

struct BadTweak {
    const char* name;
    std::string text;
    int line;
};

class BadTweakFile : public testing::TestWithParam<BadTweak> {};

TEST_P(BadTweakFile, IsRefusedWithItsLine) {
    const auto parsed = ParseTweak(GetParam().text);
    ASSERT_TRUE(std::holds_alternative<TweakFileError>(parsed));
    const auto& error = std::get<TweakFileError>(parsed);
    EXPECT_EQ(error.line, GetParam().line) << error.message;
    EXPECT_FALSE(error.message.empty());
}

std::string Header() {
    return std::string(kTweakHeader) + "\n";
}

std::string MillionLines() {
    std::string text = Header();
    for (int i = 0; i < 1'000'000; ++i) text += "#\n";
    return text + "/k\tFlags\t*\n";
}

INSTANTIATE_TEST_SUITE_P(
    Tweak, BadTweakFile,
    testing::Values(
        BadTweak{"Binary",
                 std::string("\x7F"
                             "ELF\0\1\2",
                             7),
                 1},
        BadTweak{"NotUtf8", Header() + "/k\tValue\t*\t\xFC\n", 1},
        BadTweak{"NoVersionLine", "/k\tValue\t*\tx\n", 1},
        BadTweak{"UnknownVersion", "# Thornbeck tweak 2\n/k\tValue\t*\tx\n", 1},
        BadTweak{"UnknownField", Header() + "/k\tValue\t*\tx\n/k\tKey Offset\t*\t10\n", 3},
        BadTweak{"ThreeColumns", Header() + "/k\tValue\tx\n", 2},
        BadTweak{"FiveColumns", Header() + "/k\tValue\t*\tx\ty\n", 2},
        BadTweak{"BadEscape", Header() + "/k\tValue\t*\ta\\qb\n", 2},
        BadTweak{"ShortHexEscape", Header() + "/k\tValue\t*\t\\x4\n", 2},
        BadTweak{"NoByteHoldsIt", Header() + "/k\tValue\t*\t\xE2\x82\xAC\n", 2},
        BadTweak{"TooManyDigits", Header() + "/k\tChecksum\t*\t12345\n", 2},
        BadTweak{"NotHex", Header() + "/k\tFlags\tG1\t1\n", 2},
        BadTweak{"SixDigitSize", Header() + "/k\tData Size\t*\t100000\n", 2},
        BadTweak{"TypeChanged", Header() + "/k\tData Type\tString\tBinary\n", 2},
        BadTweak{"HugeKey", Header() + std::string(100'000, 'k') + "\tValue\t*\tx\n", 2},
        BadTweak{"MillionLines", MillionLines(), 1'000'002}),
    [](const testing::TestParamInfo<BadTweak>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace thornbeck

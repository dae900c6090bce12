#include "core/edit/EntryTexts.h"

#include <gtest/gtest.h>

#include "RegistryBuilder.h"
#include "core/format/EntryScanner.h"

namespace thornbeck {
namespace {

using sample::BigEndian;
using sample::Bytes;
using sample::RegistryBuilder;

// Builds a file holding one entry and describes that entry.
EntryDisplay DescribeOnly(uint8_t type, std::vector<uint8_t> value, uint16_t headerId = 0x0102) {
    RegistryBuilder builder;
    builder.addKey("/k", headerId);
    RegistryBuilder::Entry entry;
    entry.type = type;
    entry.value = std::move(value);
    entry.flags = 0x00AB;
    entry.checksum = 0x1234;
    builder.addEntry(entry);
    const RegistryImage image(builder.build());
    EntryScanner scanner(image);
    return DescribeEntry(image, *scanner.next());
}

TEST(EntryTexts, HeaderNumbersAndOffsetsAreZeroPaddedHex) {
    const auto shown = DescribeOnly(2, Bytes("abc"));
    EXPECT_EQ(shown.texts[kChecksumField], "1234");
    EXPECT_EQ(shown.texts[kFlagsField], "00AB");
    EXPECT_EQ(shown.texts[kHeaderIdField], "0102");
    EXPECT_EQ(shown.texts[kDataOffsetField], "010000");
    EXPECT_EQ(shown.texts[kKeyOffsetField], "000010");
    EXPECT_EQ(shown.numbers[kChecksumField], 0x1234u);
    EXPECT_EQ(shown.numbers[kDataOffsetField], 65536u);
    EXPECT_EQ(shown.texts[kDataSizeField], "3");
    EXPECT_EQ(shown.texts[kDataTypeField], "String");
    EXPECT_EQ(shown.texts[kValueField], "abc");
}

TEST(EntryTexts, IntegersShowEightHexDigits) {
    EXPECT_EQ(DescribeOnly(1, BigEndian(0xFFFFFFFF, 4)).texts[kValueField], "FFFFFFFF");
    EXPECT_EQ(DescribeOnly(1, BigEndian(0xFFFFFFFF, 4)).numbers[kValueField], 4294967295u);
    EXPECT_EQ(DescribeOnly(1, BigEndian(1, 2)).texts[kValueField], "00000001");
    EXPECT_EQ(DescribeOnly(1, {}).texts[kValueField], "00000000");
    // Five bytes or more are characters; their leading decimal number is shown.
    EXPECT_EQ(DescribeOnly(1, Bytes("12abc")).texts[kValueField], "0000000C");
    EXPECT_EQ(DescribeOnly(1, {0, 0, 0, 0, 7}).texts[kValueField], "00000000");
}

TEST(EntryTexts, BinaryValuesKeepEveryByte) {
    const auto shown = DescribeOnly(0, {0x01, 0x00, 0x02, 0xFF});
    EXPECT_EQ(shown.texts[kValueField], std::string("\x01\x00\x02\xFF", 4));
    EXPECT_EQ(shown.texts[kDataTypeField], "Binary");
}

TEST(EntryTexts, AnUnknownTypeShowsCharactersAndNoTypeName) {
    const auto shown = DescribeOnly(3, Bytes("AB"));
    EXPECT_FALSE(shown.type);
    EXPECT_EQ(shown.texts[kDataTypeField], "");
    EXPECT_EQ(shown.texts[kValueField], "AB");
}

TEST(EntryTexts, LongValuesAreShownWhole) {
    std::vector<uint8_t> value(12345, 'v');
    value.back() = 'z';
    const auto shown = DescribeOnly(0, value);
    EXPECT_EQ(shown.texts[kDataSizeField], "12345");
    EXPECT_EQ(shown.texts[kValueField].size(), 12345u);
    EXPECT_EQ(shown.texts[kValueField].back(), 'z');
}

TEST(EntryTexts, HexDigitsPadAndKeepTheLastDigits) {
    EXPECT_EQ(HexDigits(0xABC, 4), "0ABC");
    EXPECT_EQ(HexDigits(0x123456, 4), "3456");
    EXPECT_EQ(HexDigits(0, 6), "000000");
}

}  // namespace
}  // namespace thornbeck

#include "core/format/ReadField.h"

#include <gtest/gtest.h>

namespace thornbeck {
namespace {

RegistryImage ImageOf(std::vector<uint8_t> bytes) {
    return RegistryImage(std::move(bytes));
}

TEST(ReadField, OffsetOrLengthZeroGivesEmptyText) {
    const auto image = ImageOf({1, 2, 3, 4});
    EXPECT_EQ(ReadField(image, 0, 2, true), "");
    EXPECT_EQ(ReadField(image, 1, 0, false), "");
    EXPECT_EQ(ReadField(image, 1, -3, false), "");
}

TEST(ReadField, NumbersAreBigEndianDecimal) {
    const auto image = ImageOf({0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x00});
    EXPECT_EQ(ReadField(image, 1, 4, true), "4294967295");
    EXPECT_EQ(ReadField(image, 5, 2, true), "1");
    EXPECT_EQ(ReadField(image, 7, 1, true), "0");
    // Five bytes are always characters, even with the number flag.
    EXPECT_EQ(ReadField(image, 1, 5, true), std::string("\xFF\xFF\xFF\xFF\x00", 5));
}

TEST(ReadField, TextKeepsEveryByteIncludingNul) {
    const auto image = ImageOf({0, 'a', 0, 0x80, 0xFF});
    EXPECT_EQ(ReadField(image, 1, 4, false), std::string("a\0\x80\xFF", 4));
}

TEST(ReadField, BytesOutsideTheImageAreSpacesOrAddNothing) {
    const auto image = ImageOf({0, 'x', 0x12});
    EXPECT_EQ(ReadField(image, 1, 4, false), "x\x12  ");
    EXPECT_EQ(ReadField(image, 10, 3, false), "   ");
    EXPECT_EQ(ReadField(image, -2, 4, false), std::string("  \0x", 4));
    // Positions keep their weight: 12 followed by two missing bytes is 0x120000.
    EXPECT_EQ(ReadField(image, 2, 3, true), std::to_string(0x120000));
    EXPECT_EQ(ReadField(image, 100, 4, true), "0");
}

}  // namespace
}  // namespace thornbeck

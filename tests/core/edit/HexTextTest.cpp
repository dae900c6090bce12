#include "core/edit/HexText.h"

#include <gtest/gtest.h>

namespace thornbeck {
namespace {

TEST(HexText, IsHexTextAcceptsOnlyDigitsOfBothCases) {
    EXPECT_TRUE(IsHexText(""));
    EXPECT_TRUE(IsHexText("aBc9"));
    EXPECT_FALSE(IsHexText("12 "));
    EXPECT_FALSE(IsHexText("&H1F"));
    EXPECT_FALSE(IsHexText("0x1F"));
    EXPECT_FALSE(IsHexText("-1"));
}

TEST(HexText, HexToByteReadsTheFirstTwoCharacters) {
    EXPECT_EQ(HexToByte("ff"), 255);
    EXPECT_EQ(HexToByte("FF"), 255);
    EXPECT_EQ(HexToByte("F"), 15);
    EXPECT_EQ(HexToByte(""), 0);
    EXPECT_EQ(HexToByte("1G"), 0);
    EXPECT_EQ(HexToByte("G1"), 0);
    EXPECT_EQ(HexToByte("1F99"), 31);
}

TEST(HexText, HexFieldBytesAreBigEndianPaddedOrNothing) {
    EXPECT_EQ(HexFieldBytes("ff00", 2), (std::vector<uint8_t>{0xFF, 0x00}));
    EXPECT_EQ(HexFieldBytes("A1F", 2), (std::vector<uint8_t>{0x0A, 0x1F}));
    EXPECT_EQ(HexFieldBytes("12345", 4), (std::vector<uint8_t>{0x00, 0x01, 0x23, 0x45}));
    EXPECT_EQ(HexFieldBytes("FFFFFFFF", 4), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(HexFieldBytes("12345", 2).empty());
    EXPECT_TRUE(HexFieldBytes("", 2).empty());
    EXPECT_TRUE(HexFieldBytes("123456789", 4).empty());
    EXPECT_TRUE(HexFieldBytes("1 2", 2).empty());
}

}  // namespace
}  // namespace thornbeck

#include "editing/HexText.h"

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

TEST(HexText, WriteHexFieldStoresBigEndianOrNothing) {
    RegistryImage image(std::vector<uint8_t>(8, 0xEE));
    EXPECT_TRUE(WriteHexField(image, 0, 2, "ff00"));
    EXPECT_TRUE(WriteHexField(image, 2, 2, "A1F"));
    EXPECT_TRUE(WriteHexField(image, 4, 4, "12345"));
    EXPECT_EQ(std::vector<uint8_t>(image.bytes().begin(), image.bytes().end()),
              (std::vector<uint8_t>{0xFF, 0x00, 0x0A, 0x1F, 0x00, 0x01, 0x23, 0x45}));
    EXPECT_FALSE(WriteHexField(image, 0, 2, "12345"));
    EXPECT_FALSE(WriteHexField(image, 0, 2, ""));
    EXPECT_FALSE(WriteHexField(image, 0, 4, "123456789"));
    EXPECT_FALSE(WriteHexField(image, 0, 2, "1 2"));
    EXPECT_EQ(image.bytes()[0], 0xFF);
    EXPECT_TRUE(WriteHexField(image, 4, 4, "FFFFFFFF"));
    EXPECT_EQ(image.readNumber(4, 4), 0xFFFFFFFFu);
}

TEST(HexText, WriteHexFieldSkipsBytesOutsideTheImage) {
    RegistryImage image(std::vector<uint8_t>(3, 0));
    EXPECT_TRUE(WriteHexField(image, 2, 2, "ABCD"));
    EXPECT_EQ(image.size(), 3);
    EXPECT_EQ(image.bytes()[2], 0xAB);
}

}  // namespace
}  // namespace thornbeck

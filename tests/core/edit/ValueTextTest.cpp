// The list's cells and the command line escape control characters by one routine with two rule
// sets: a cell keeps a backslash and escapes the C1 controls, the command line escapes both.
#include "core/edit/ValueText.h"

#include <gtest/gtest.h>

#include <vector>

#include "cli/EscapedText.h"

namespace thornbeck {
namespace {

const std::string kMixed("a\\b\t\n\r\x01\x7F\x80\x9F\xA0\xFF", 12);

TEST(ValueText, ACellEscapesControlsAndC1ButKeepsTheBackslash) {
    EXPECT_EQ(ReadableValue(kMixed, "Integer"), "a\\b\\t\\n\\r\\x01\\x7F\\x80\\x9F\xA0\xFF");
    EXPECT_EQ(ReadableValue(std::string("x\x85y\0z", 5), "String"), "x\\x85y");
}

TEST(ValueText, TheCommandLineEscapesControlsC1AndTheBackslashAndWritesLatin1AsUtf8) {
    EXPECT_EQ(cli::VisibleText(kMixed), "a\\\\b\\t\\n\\r\\x01\\x7F\\x80\\x9F\xC2\xA0\xC3\xBF");
    EXPECT_EQ(cli::VisibleText(std::string("x\0y", 3)), "x\\x00y");
}

TEST(ValueText, HexPairsReadBackToTheirBytes) {
    std::string every;
    for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
    EXPECT_EQ(BytesOfHexPairs(HexPairs(every)), every);
    const std::vector<uint8_t> bytes = {0x00, 0x1F, 0xA7};
    EXPECT_EQ(HexPairs(std::span<const uint8_t>(bytes)), "00 1F A7");
    EXPECT_EQ(BytesOfHexPairs("001fa7"), std::string("\x00\x1F\xA7", 3));
    EXPECT_EQ(BytesOfHexPairs(""), "");
    for (const char* wrong : {"0", "0 0", " 00", "00 ", "00  11", "0G", "00-11", "001"})
        EXPECT_FALSE(BytesOfHexPairs(wrong).has_value()) << wrong;
}

}  // namespace
}  // namespace thornbeck

#include <gtest/gtest.h>

#include <random>

#include "core/find/KeySearch.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {
namespace {

TEST(SplitText, GivesOneMorePartThanDelimiters) {
    using Parts = std::vector<std::string>;
    EXPECT_EQ(SplitText("a\tb\tc", "\t"), Parts({"a", "b", "c"}));
    EXPECT_EQ(SplitText("abc", "\t"), Parts({"abc"}));
    EXPECT_EQ(SplitText("", "\t"), Parts({""}));
    EXPECT_EQ(SplitText("a\t\tb\t", "\t"), Parts({"a", "", "b", ""}));
    EXPECT_EQ(SplitText("\t", "\t"), Parts({"", ""}));
    EXPECT_EQ(SplitText("a::b", "::"), Parts({"a", "b"}));
    EXPECT_EQ(SplitText("a\tb", ""), Parts({"a\tb"}));
    // Long texts split as short ones do, across any window the search may use.
    std::string longText(200000, 'x');
    longText[63999] = '\t';
    longText[64000] = '\t';
    longText[150000] = '\t';
    const auto parts = SplitText(longText, "\t");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].size(), 63999u);
    EXPECT_EQ(parts[1], "");
    EXPECT_EQ(parts[3].size(), 49999u);
}

TEST(TextFunctions, DigitsAndHexDigits) {
    for (char32_t c = 0; c < 0x200; ++c) {
        const bool decimal = c >= '0' && c <= '9';
        const bool hex = decimal || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        EXPECT_EQ(IsDecimalDigit(c), decimal) << static_cast<int>(c);
        EXPECT_EQ(IsHexDigit(c), hex) << static_cast<int>(c);
    }
    EXPECT_EQ(HexDigitValue('7'), 7);
    EXPECT_EQ(HexDigitValue('b'), 11);
    EXPECT_EQ(HexDigitValue('F'), 15);
    EXPECT_EQ(HexDigitValue('g'), -1);
}

TEST(TextFunctions, TrimmedOfAndFnv1a) {
    EXPECT_EQ(TrimmedOf("  a b  "), "a b");
    EXPECT_EQ(TrimmedOf("\t a\r\n"), "\t a\r\n");
    EXPECT_EQ(TrimmedOf("\t a\r\n", " \t\r\n"), "a");
    EXPECT_EQ(TrimmedOf("   "), "");
    // FNV-1a of "a", the published test vector.
    EXPECT_EQ(Fnv1aStep(kFnv1aStart, 'a'), 0xaf63dc4c8601ec8cULL);
}

}  // namespace
}  // namespace thornbeck

#include "core/text/Latin1Utf8.h"

#include <gtest/gtest.h>

#include "core/edit/ValueText.h"

namespace thornbeck {
namespace {

std::string EveryByte() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes;
}

TEST(Latin1Utf8, EveryByteRoundTripsAloneAndInARun) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string text = Utf8OfLatin1(byte);
        EXPECT_EQ(text.size(), b < 0x80 ? 1u : 2u) << b;
        EXPECT_EQ(Latin1OfUtf8(text), byte) << b;
        // What the command line shows reads back to the same byte, escapes and all.
        EXPECT_TRUE(Latin1OfUtf8(VisibleUtf8(byte)).has_value()) << b;
    }
    EXPECT_EQ(Latin1OfUtf8(Utf8OfLatin1(EveryByte())), EveryByte());
}

TEST(Latin1Utf8, TheWindowsBytesOfATerminalsText) {
    EXPECT_EQ(Latin1OfUtf8("Gr\xC3\xBC\xC3\x9F"
                           "e"),
              std::string("Gr\xFC\xDF"
                          "e"));
    EXPECT_EQ(Utf8OfLatin1("Gr\xFC\xDF"
                           "e"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    // No byte holds the euro sign or Cyrillic; broken or overlong UTF-8 is no text at all.
    for (const char* refused : {"\xE2\x82\xAC", "\xD0\xB6\xD0\xB6", "\xFC", "\xC3", "a\xC3z",
                                "\xC1\xBC", "\xC0\x80", "\x80"})
        EXPECT_FALSE(Latin1OfUtf8(refused).has_value()) << refused;
}

TEST(Latin1Utf8, VisibleTextEscapesC0AndC1AndShowsLatin1) {
    EXPECT_EQ(VisibleUtf8(std::string("a\t\\\x00\x7F\x80\x9F\xA0\xFF", 9)),
              "a\\t\\\\\\x00\\x7F\\x80\\x9F\xC2\xA0\xC3\xBF");
}

}  // namespace
}  // namespace thornbeck

// The list's cells and the command line escape control characters by one routine with two rule
// sets: a cell keeps a backslash and escapes the C1 controls, the command line the other way.
#include "core/edit/ValueText.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace thornbeck

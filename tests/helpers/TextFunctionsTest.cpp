#include <gtest/gtest.h>

#include <random>

#include "helpers/TextFunctions.h"
#include "window/KeySearch.h"

namespace thornbeck {
namespace {

TEST(ReplaceText, ReplacesLeftToRightWithoutOverlapOrRescanning) {
    EXPECT_EQ(ReplaceText("abc", "x", "y"), "abc");
    EXPECT_EQ(ReplaceText("abc", "", "y"), "abc");
    EXPECT_EQ(ReplaceText("a[b[", "[", "[["), "a[[b[[");
    EXPECT_EQ(ReplaceText("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceText("xyx", "x", ""), "y");
    EXPECT_EQ(ReplaceText(std::string(3, '\0'), std::string(1, '\0'), "0"), "000");
}

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

TEST(WildcardMatch, FollowsTheElementTable) {
    struct Case {
        const char* subject;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"", "**", true},
        {"", "*", true},
        {"abc", "*", true},
        {"abc", "abc", true},
        {"abc", "abd", false},
        {"abc", "ab", false},
        {"ABC", "abc", false},
        {"", "", true},
        {"a", "", false},
        {"abc", "a*", true},
        {"xabc", "a*", false},
        {"xyzc", "*c", true},
        {"abcx", "*c", false},
        {"abc", "a*c", true},
        {"ac", "a*c", true},
        {"a", "a*a", false},
        {"aXbYc", "a*b*c", true},
        {"acb", "a*b*c", false},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"a7c", "a#c", true},
        {"abc", "a#c", false},
        {"abc", "a[xbz]c", true},
        {"ayc", "a[xbz]c", false},
        {"ac", "a[]c", true},
        {"", "[]", true},
        {"x", "[]", false},
        {"[", "[[]", true},
        {"]", "[]]", true},
        {"a]", "a]", true},
        {"!", "!", true},
        {"a[b", "a[b", false},
        {"abc", "*[", false},
        {"xa", "[]*a", true},
        {"abc", "a*[]", true},
        {"a", "?*", true},
        {"", "?*", false},
        {"abab", "*ab", true},
        {"aab", "*a?", true},
        {"[x]", "*[[]x[]]*", true},
        {"[]", "*[[][]]*", true},
        {"[]", "*[[[]]]*", false},
        {"mississippi", "*sip*", true},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*iss*iss*", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.subject, c.pattern), c.match)
            << '"' << c.subject << "\" against \"" << c.pattern << '"';
}

TEST(WildcardMatch, ManyStarsAgainstALongValueStayLinear) {
    const std::string subject(65535, 'a');
    std::string pattern;
    for (int i = 0; i < 200; ++i) pattern += "*a";
    pattern += "*b";  // fails only at the very end
    // A backtracking matcher takes exponential time here; this one makes one pass per segment.
    EXPECT_FALSE(WildcardMatch(subject, pattern));
    EXPECT_TRUE(WildcardMatch(subject, pattern.substr(0, pattern.size() - 2) + "*"));
    std::string questions;
    for (int i = 0; i < 100; ++i) questions += "*?";
    EXPECT_TRUE(WildcardMatch(subject, questions + "*"));
    EXPECT_FALSE(WildcardMatch(subject, questions + "#"));
}

TEST(FindPattern, WrapsLowersAndEscapesBrackets) {
    EXPECT_EQ(FindPattern(""), "**");
    EXPECT_EQ(FindPattern("Net"), "*net*");
    EXPECT_EQ(FindPattern("NET*"), "net*");
    EXPECT_EQ(FindPattern("?#"), "*?#*");
    EXPECT_EQ(FindPattern("[a]"), "*[[]a[]]*");
    // "[]" must stay findable: the text "[]" becomes a pattern that matches "[]".
    EXPECT_EQ(FindPattern("[]"), "*[[][]]*");
    EXPECT_TRUE(WildcardMatch("x[]y", FindPattern("[]")));
}

// The escaping of four replace-all passes, which the one-pass escaping replaces.
std::string FourPassEscape(std::string_view text) {
    std::string escaped = ReplaceText(text, "[", "[[");
    escaped = ReplaceText(escaped, "]", "]]");
    escaped = ReplaceText(escaped, "[[", "[[]");
    return ReplaceText(escaped, "]]", "[]]");
}

TEST(FindPattern, OnePassEscapingAgreesWithFourPassesUnlessABracketPairTouches) {
    std::mt19937 random(7);
    const std::string alphabet = "[]a*";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 9);
        for (int j = 0; j < length; ++j) text += alphabet[random() % alphabet.size()];
        if (text.find("[]") != std::string::npos) {
            // Here the four passes lose the text; the one pass still finds it literally.
            EXPECT_TRUE(WildcardMatch(text, EscapeBrackets(text))) << text;
            continue;
        }
        EXPECT_EQ(EscapeBrackets(text), FourPassEscape(text)) << text;
    }
    EXPECT_EQ(FourPassEscape("[]"), "[[[]]]");
    EXPECT_FALSE(WildcardMatch("[]", FourPassEscape("[]")));
}

}  // namespace
}  // namespace thornbeck

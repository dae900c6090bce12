#include "core/find/WildcardPattern.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/find/KeySearch.h"

namespace thornbeck {
namespace {

bool Matches(std::string_view subject, std::string_view pattern) {
    return WildcardPattern(pattern).matches(subject);
}

TEST(WildcardPattern, FollowsTheElementTable) {
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
        EXPECT_EQ(Matches(c.subject, c.pattern), c.match)
            << '"' << c.subject << "\" against \"" << c.pattern << '"';
}

TEST(WildcardPattern, ManyStarsAgainstALongValueStayLinear) {
    const std::string subject(65535, 'a');
    std::string pattern;
    for (int i = 0; i < 200; ++i) pattern += "*a";
    pattern += "*b";  // fails only at the very end
    // A backtracking matcher takes exponential time here; this one makes one pass per segment.
    EXPECT_FALSE(Matches(subject, pattern));
    EXPECT_TRUE(Matches(subject, pattern.substr(0, pattern.size() - 2) + "*"));
    std::string questions;
    for (int i = 0; i < 100; ++i) questions += "*?";
    EXPECT_TRUE(Matches(subject, questions + "*"));
    EXPECT_FALSE(Matches(subject, questions + "#"));
}

TEST(FindPattern, WrapsLowersAndEscapesBrackets) {
    EXPECT_EQ(FindPattern(""), "**");
    EXPECT_EQ(FindPattern("Net"), "*net*");
    EXPECT_EQ(FindPattern("NET*"), "net*");
    EXPECT_EQ(FindPattern("?#"), "*?#*");
    EXPECT_EQ(FindPattern("[a]"), "*[[]a[]]*");
    // "[]" must stay findable: the text "[]" becomes a pattern that matches "[]".
    EXPECT_EQ(FindPattern("[]"), "*[[][]]*");
    EXPECT_TRUE(Matches("x[]y", FindPattern("[]")));
}

TEST(FindPattern, EveryTextIsFoundLiterallyByItsEscapedPattern) {
    std::mt19937 random(7);
    const std::string alphabet = "[]a*?";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 9);
        for (int j = 0; j < length; ++j) text += alphabet[random() % alphabet.size()];
        ASSERT_TRUE(Matches(text, EscapeBrackets(text))) << text;
    }
}

}  // namespace
}  // namespace thornbeck

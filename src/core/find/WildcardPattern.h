#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace thornbeck {

// A wildcard pattern, parsed once and matched against many subjects. "*" matches any run, "?"
// one character, "#" one digit, "[list]" one character of the list, "[]" the empty run; every
// other character stands for itself. A "[" without a closing "]" makes the pattern match nothing.
// Characters compare by their codes.
//
// Every element but "*" takes a fixed number of characters, so the segments between stars can be
// placed greedily at their leftmost fit: matching costs at most subject length x pattern length.
class WildcardPattern {
public:
    explicit WildcardPattern(std::string_view pattern);

    bool matches(std::string_view subject) const;
    // The fewest characters a matching subject has; a shorter one need not be looked at.
    size_t minimumLength() const { return valid ? fixedLength : SIZE_MAX; }

private:
    enum class Kind : uint8_t { Literal, AnyOne, Digit, OneOf };
    struct Element {
        Kind kind;
        char literal = 0;
        std::string list;  // for OneOf
        bool accepts(char c) const;
    };
    struct Segment {
        std::vector<Element> elements;
        std::string literalText;  // the whole segment when it holds only literals
        bool allLiteral = true;
        size_t length() const { return elements.size(); }
        bool matchesAt(std::string_view subject, size_t at) const;
        // The first position from `from` where the segment fits, or npos.
        size_t findIn(std::string_view subject, size_t from) const;
    };

    void addElement(Element element);

    bool valid = true;
    size_t fixedLength = 0;     // characters taken by all elements together
    bool anchoredStart = true;  // no "*" before the first segment
    bool anchoredEnd = true;    // no "*" after the last segment
    std::vector<Segment> segments;
};

}  // namespace thornbeck

#include "core/find/WildcardPattern.h"

namespace thornbeck {

bool WildcardPattern::Element::accepts(char c) const {
    switch (kind) {
        case Kind::Literal:
            return c == literal;
        case Kind::AnyOne:
            return true;
        case Kind::Digit:
            return c >= '0' && c <= '9';
        case Kind::OneOf:
            return list.find(c) != std::string::npos;
    }
    return false;
}

bool WildcardPattern::Segment::matchesAt(std::string_view subject, size_t at) const {
    if (at + elements.size() > subject.size()) return false;
    for (size_t i = 0; i < elements.size(); ++i)
        if (!elements[i].accepts(subject[at + i])) return false;
    return true;
}

size_t WildcardPattern::Segment::findIn(std::string_view subject, size_t from) const {
    if (from > subject.size()) return std::string_view::npos;
    if (allLiteral) return subject.find(literalText, from);
    for (size_t at = from; at + elements.size() <= subject.size(); ++at)
        if (matchesAt(subject, at)) return at;
    return std::string_view::npos;
}

WildcardPattern::WildcardPattern(std::string_view pattern) {
    segments.emplace_back();
    bool anyStar = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '*') {
            // A star before any element frees the start; "[]" adds no element.
            if (segments.size() == 1 && segments[0].elements.empty()) anchoredStart = false;
            if (!segments.back().elements.empty()) segments.emplace_back();
            anyStar = true;
            continue;
        }
        if (c == '?') {
            addElement({Kind::AnyOne, 0, {}});
        } else if (c == '#') {
            addElement({Kind::Digit, 0, {}});
        } else if (c == '[') {
            const size_t close = pattern.find(']', i + 1);
            if (close == std::string_view::npos) {
                valid = false;
                return;
            }
            // "[]" takes no character and so adds no element.
            if (close > i + 1)
                addElement({Kind::OneOf, 0, std::string(pattern.substr(i + 1, close - i - 1))});
            i = close;
        } else {
            addElement({Kind::Literal, c, {}});
        }
    }
    // An empty last segment after a star means the pattern ends in a star.
    if (anyStar && segments.back().elements.empty()) {
        anchoredEnd = false;
        if (segments.size() > 1) segments.pop_back();
    }
}

void WildcardPattern::addElement(Element element) {
    Segment& segment = segments.back();
    ++fixedLength;
    if (element.kind == Kind::Literal) {
        segment.literalText += element.literal;
    } else {
        segment.allLiteral = false;
    }
    segment.elements.push_back(std::move(element));
}

bool WildcardPattern::matches(std::string_view subject) const {
    if (!valid) return false;
    if (segments.size() == 1 && anchoredStart && anchoredEnd)
        return segments[0].length() == subject.size() && segments[0].matchesAt(subject, 0);

    size_t first = 0;
    size_t last = segments.size();
    size_t from = 0;
    size_t until = subject.size();
    if (anchoredStart) {
        if (!segments[0].matchesAt(subject, 0)) return false;
        from = segments[0].length();
        first = 1;
    }
    if (anchoredEnd && last > first) {
        const Segment& tail = segments[last - 1];
        if (tail.length() > until - from) return false;
        if (!tail.matchesAt(subject, until - tail.length())) return false;
        until -= tail.length();
        --last;
    }
    // The middle segments, each at its leftmost place after the one before.
    const std::string_view window = subject.substr(0, until);
    for (size_t s = first; s < last; ++s) {
        const size_t at = segments[s].findIn(window, from);
        if (at == std::string_view::npos) return false;
        from = at + segments[s].length();
    }
    return true;
}

}  // namespace thornbeck

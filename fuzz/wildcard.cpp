// The wildcard matcher against a small matcher of the same rules that is obviously right: it
// tries every way the pattern's elements can take the subject's characters, remembering what it
// has tried. Input: the pattern, a 0 byte, the subject.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "core/find/WildcardPattern.h"

namespace {

// One element: "*" any run, "?" one character, "#" one digit, "[list]" one character of the
// list, "[]" nothing at all, any other character itself.
struct Element {
    enum Kind { Star, Any, Digit, List, Literal } kind;
    std::string chars;
};

// Nothing when a "[" has no "]" after it.
std::optional<std::vector<Element>> Parse(std::string_view pattern) {
    std::vector<Element> elements;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '[') {
            const size_t close = pattern.find(']', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            if (close > i + 1)
                elements.push_back(
                    {Element::List, std::string(pattern.substr(i + 1, close - i - 1))});
            i = close;
        } else if (c == '*') {
            elements.push_back({Element::Star, {}});
        } else if (c == '?') {
            elements.push_back({Element::Any, {}});
        } else if (c == '#') {
            elements.push_back({Element::Digit, {}});
        } else {
            elements.push_back({Element::Literal, std::string(1, c)});
        }
    }
    return elements;
}

bool Takes(const Element& e, char c) {
    switch (e.kind) {
        case Element::Any:
            return true;
        case Element::Digit:
            return c >= '0' && c <= '9';
        case Element::List:
        case Element::Literal:
            return e.chars.find(c) != std::string::npos;
        case Element::Star:
            break;
    }
    return false;
}

// Whether elements[e..] match subject[s..]; `known` remembers the answers (0 unknown, 1 no,
// 2 yes).
bool Match(const std::vector<Element>& elements, std::string_view subject, size_t e, size_t s,
           std::vector<uint8_t>& known) {
    uint8_t& answer = known[e * (subject.size() + 1) + s];
    if (answer) return answer == 2;
    bool matched;
    if (e == elements.size()) {
        matched = s == subject.size();
    } else if (elements[e].kind == Element::Star) {
        matched = Match(elements, subject, e + 1, s, known) ||
                  (s < subject.size() && Match(elements, subject, e, s + 1, known));
    } else {
        matched = s < subject.size() && Takes(elements[e], subject[s]) &&
                  Match(elements, subject, e + 1, s + 1, known);
    }
    answer = matched ? 2 : 1;
    return matched;
}

bool ReferenceMatch(std::string_view pattern, std::string_view subject) {
    const auto elements = Parse(pattern);
    if (!elements) return false;
    std::vector<uint8_t> known((elements->size() + 1) * (subject.size() + 1), 0);
    return Match(*elements, subject, 0, 0, known);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reference recurses once per element and character; keep it shallow.
    if (size > 600) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view pattern = input.substr(0, split);
    const std::string_view subject =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const thornbeck::WildcardPattern compiled(pattern);
    const bool matched = compiled.matches(subject);
    FUZZ_CHECK(matched == ReferenceMatch(pattern, subject));
    if (matched) FUZZ_CHECK(subject.size() >= compiled.minimumLength());
    return 0;
}

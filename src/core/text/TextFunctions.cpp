#include "core/text/TextFunctions.h"

#include <algorithm>

namespace thornbeck {

std::string_view TrimmedOf(std::string_view text, std::string_view characters) {
    const auto first = text.find_first_not_of(characters);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

bool IsDecimalDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char32_t c) {
    return HexDigitValue(c) >= 0;
}

int HexDigitValue(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    return -1;
}

char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ToLowerAscii(std::string_view text) {
    std::string lower;
    ToLowerAsciiInto(text, lower);
    return lower;
}

void ToLowerAsciiInto(std::string_view text, std::string& out) {
    out.resize(text.size());
    std::transform(text.begin(), text.end(), out.begin(), [](char c) { return ToLowerAscii(c); });
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return ToLowerAscii(x) == ToLowerAscii(y);
           });
}

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter) {
    if (text.empty() || delimiter.empty()) return {std::string(text)};
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = text.find(delimiter); at != std::string_view::npos;
         at = text.find(delimiter, start)) {
        parts.emplace_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

}  // namespace thornbeck

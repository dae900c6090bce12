#include "core/keyinfo/TypicalValue.h"

#include "core/text/TextFunctions.h"

namespace thornbeck {
namespace {

// Advances over digits; returns how many there were.
size_t SkipDigits(std::string_view text, size_t& at) {
    const size_t start = at;
    while (at < text.size() && IsDecimalDigit(static_cast<unsigned char>(text[at]))) ++at;
    return at - start;
}

}  // namespace

bool IsNumericText(std::string_view text) {
    text = TrimmedOf(text);
    if (text.empty()) return false;
    size_t at = 0;
    if (text[at] == '+' || text[at] == '-') ++at;
    size_t digits = SkipDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        digits += SkipDigits(text, at);
    }
    if (digits == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (SkipDigits(text, at) == 0) return false;
    }
    return at == text.size();
}

std::string TypicalValueText(std::string_view typical) {
    return IsNumericText(typical) ? "Typical Value: " + std::string(typical) : std::string(typical);
}

}  // namespace thornbeck

#include "core/tweak/TweakText.h"

#include <cstdint>

#include "core/edit/ValueText.h"
#include "core/text/Latin1Utf8.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {
namespace {

int HexValue(char c) {
    return HexDigitValue(static_cast<unsigned char>(c));
}

}  // namespace

std::string TweakTextOf(std::string_view bytes) {
    if (bytes == "*") return "\\x2A";
    return VisibleUtf8(bytes);
}

std::optional<std::string> BytesOfTweakText(std::string_view text, std::string& problem) {
    const auto latin1 = Latin1OfUtf8(text);
    if (!latin1) {
        problem = "a character that no byte holds (only U+0000 to U+00FF are bytes)";
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(latin1->size());
    for (size_t at = 0; at < latin1->size(); ++at) {
        const char c = (*latin1)[at];
        if (c != '\\') {
            bytes += c;
            continue;
        }
        const char next = at + 1 < latin1->size() ? (*latin1)[at + 1] : '\0';
        switch (next) {
            case 't':
                bytes += '\t';
                break;
            case 'n':
                bytes += '\n';
                break;
            case 'r':
                bytes += '\r';
                break;
            case '\\':
                bytes += '\\';
                break;
            case 'x': {
                const int high = at + 2 < latin1->size() ? HexValue((*latin1)[at + 2]) : -1;
                const int low = at + 3 < latin1->size() ? HexValue((*latin1)[at + 3]) : -1;
                if (high < 0 || low < 0) {
                    problem = "a bad escape: \\x takes two hex digits";
                    return std::nullopt;
                }
                bytes += static_cast<char>(high * 16 + low);
                at += 2;
                break;
            }
            default:
                problem = "a bad escape: a backslash starts \\t, \\n, \\r, \\\\ or \\xNN";
                return std::nullopt;
        }
        ++at;
    }
    return bytes;
}

}  // namespace thornbeck

#include "cli/EscapedText.h"

#include "core/edit/EntryTexts.h"
#include "core/edit/ValueText.h"
#include "core/text/Latin1Utf8.h"

namespace thornbeck::cli {
namespace {

bool IsControl(uint8_t byte) {
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::string VisibleText(std::string_view bytes) {
    return VisibleUtf8(bytes);
}

std::string ArgumentText(std::string_view argument) {
    if (const auto bytes = BytesOfArgument(argument)) return VisibleText(*bytes);
    std::string shown;
    for (const char c : EscapedControls(argument, {.backslash = true, .c1 = false})) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x80) {
            shown += c;
        } else {
            shown += "\\x" + HexDigits(byte, 2);
        }
    }
    return shown;
}

std::optional<std::string> BytesOfArgument(std::string_view argument) {
    return Latin1OfUtf8(argument);
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (IsControl(byte) || byte >= 0x80) {
            out += "\\u00" + HexDigits(byte, 2);
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

}  // namespace thornbeck::cli

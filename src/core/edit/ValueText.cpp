#include "core/edit/ValueText.h"

#include "core/text/Latin1Utf8.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";

void AppendHex(std::string& out, uint8_t byte) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}
}  // namespace

std::string HexPairs(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (!out.empty()) out += ' ';
        AppendHex(out, static_cast<uint8_t>(c));
    }
    return out;
}

std::string HexPairs(std::span<const uint8_t> bytes) {
    return HexPairs(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<std::string> BytesOfHexPairs(std::string_view text) {
    std::string bytes;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == ' ' && !bytes.empty() && at + 1 < text.size()) ++at;
        if (at + 1 >= text.size()) return std::nullopt;
        const int high = HexDigitValue(static_cast<unsigned char>(text[at]));
        const int low = HexDigitValue(static_cast<unsigned char>(text[at + 1]));
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        at += 2;
    }
    return bytes;
}

char PrintableOrDot(uint8_t byte) {
    const bool printable = (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
    return printable ? static_cast<char>(byte) : '.';
}

std::string EscapedControls(std::string_view text, EscapeRules rules) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        const bool control =
            byte < 0x20 || byte == 0x7F || (rules.c1 && byte >= 0x80 && byte < 0xA0);
        if (c == '\\' && rules.backslash) {
            out += "\\\\";
        } else if (!control) {
            out += c;
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += "\\x";
            AppendHex(out, byte);
        }
    }
    return out;
}

std::string VisibleUtf8(std::string_view bytes) {
    return Utf8OfLatin1(EscapedControls(bytes, {.backslash = true, .c1 = true}));
}

std::string ReadableValue(std::string_view value, std::string_view type) {
    if (type == "Binary") return HexPairs(value);
    if (type == "String") value = value.substr(0, value.find('\0'));
    // A cell keeps a backslash as it is: only the command line needs its texts to read back.
    return EscapedControls(value, {.backslash = false, .c1 = true});
}

}  // namespace thornbeck

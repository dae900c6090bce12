#include "cli/EscapedText.h"

namespace thornbeck::cli {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, uint8_t byte) {
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}

bool IsControl(uint8_t byte) {
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::string VisibleText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (IsControl(byte)) {
            out += "\\x";
            AppendHexByte(out, byte);
        } else {
            out += c;
        }
    }
    return out;
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
            out += "\\u00";
            AppendHexByte(out, byte);
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string OffsetText(int64_t offset) {
    std::string digits;
    for (auto value = static_cast<uint64_t>(offset); value != 0 || digits.size() < 6; value >>= 4)
        digits.insert(digits.begin(), kHex[value & 15]);
    return "0x" + digits;
}

std::string PlainCaption(std::string_view caption) {
    std::string plain;
    for (const char c : caption)
        if (c != '&') plain += c;
    return plain;
}

}  // namespace thornbeck::cli

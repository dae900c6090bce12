#include "core/text/Latin1Utf8.h"

#include <cstdint>

namespace thornbeck {

std::string Utf8OfLatin1(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | byte >> 6);
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::optional<std::string> Latin1OfUtf8(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        const auto lead = static_cast<uint8_t>(text[at]);
        if (lead < 0x80) {
            bytes += text[at];
            continue;
        }
        // U+0080 to U+00FF are the two-byte sequences C2 80 to C3 BF; anything else is either
        // no UTF-8 or a character above U+00FF.
        if ((lead != 0xC2 && lead != 0xC3) || at + 1 >= text.size()) return std::nullopt;
        const auto trail = static_cast<uint8_t>(text[at + 1]);
        if ((trail & 0xC0) != 0x80) return std::nullopt;
        bytes += static_cast<char>((lead & 0x03) << 6 | (trail & 0x3F));
        ++at;
    }
    return bytes;
}

}  // namespace thornbeck

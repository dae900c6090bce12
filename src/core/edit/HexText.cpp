#include "core/edit/HexText.h"

#include <algorithm>
#include <string>

#include "core/text/TextFunctions.h"

namespace thornbeck {
namespace {

int HexValue(char c) {
    return HexDigitValue(static_cast<unsigned char>(c));
}

}  // namespace

bool IsHexText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return HexValue(c) >= 0; });
}

uint16_t HexToByte(std::string_view text) {
    const std::string_view digits = text.substr(0, 2);
    if (!IsHexText(digits)) return 0;
    uint16_t value = 0;
    for (char c : digits) value = static_cast<uint16_t>(value * 16 + HexValue(c));
    return value;
}

bool IsHexFieldText(std::string_view text, int width) {
    return !text.empty() && text.size() <= static_cast<size_t>(2 * width) && IsHexText(text);
}

std::string_view IntegerDigits(std::string_view text, int32_t size) {
    const size_t width = static_cast<size_t>(2 * size);
    if (text.size() > width &&
        std::all_of(text.begin(), text.end() - static_cast<std::ptrdiff_t>(width),
                    [](char c) { return c == '0'; }))
        return text.substr(text.size() - width);
    return text;
}

std::vector<uint8_t> HexFieldBytes(std::string_view text, int width) {
    if (!IsHexFieldText(text, width)) return {};
    const std::string digits =
        std::string(static_cast<size_t>(2 * width) - text.size(), '0') + std::string(text);
    std::vector<uint8_t> bytes(static_cast<size_t>(width));
    for (size_t j = 0; j < bytes.size(); ++j)
        bytes[j] = static_cast<uint8_t>(HexToByte(std::string_view(digits).substr(2 * j)));
    return bytes;
}

}  // namespace thornbeck

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/format/RegistryImage.h"

// Hexadecimal texts of header numbers and "Integer" values: digits 0-9, A-F, a-f only (no sign,
// no space, no "0x" or "&H" prefix), stored as unsigned big-endian numbers.
namespace thornbeck {

// True when every character is a hex digit; true for "".
bool IsHexText(std::string_view text);
// The first two characters (or fewer) read as hex, 0 to 255; 0 when they are not all hex digits.
uint16_t HexToByte(std::string_view text);
// True when the text is 1 to 2 x width hex digits.
bool IsHexFieldText(std::string_view text, int width);
// The digits of an Integer value of `size` bytes: a 2-byte value is shown with eight digits, and
// leading zeros beyond its four digits are no error.
std::string_view IntegerDigits(std::string_view text, int32_t size);
// The `width` bytes a valid field text stores, most significant first; empty when it is invalid.
std::vector<uint8_t> HexFieldBytes(std::string_view text, int width);

}  // namespace thornbeck

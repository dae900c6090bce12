#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace thornbeck {

// "0" to "9".
bool IsDecimalDigit(char32_t c);
// "0" to "9", "A" to "F", "a" to "f".
bool IsHexDigit(char32_t c);
// The value of a hex digit, 0 to 15; -1 for any other character.
int HexDigitValue(char32_t c);

// Only A-Z and a-z are folded; every other byte compares by its code.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
// Lower-cases `text` into `out`, reusing its storage.
void ToLowerAsciiInto(std::string_view text, std::string& out);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The parts between delimiters: n delimiters give n + 1 parts, empty ones included. An empty
// text or delimiter gives the text alone.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter);

}  // namespace thornbeck

#pragma once

#include <cstdint>
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

// The text without the `characters` at either end: by default spaces only, as paths and typical
// values are trimmed; a system file's text is trimmed of line ends too.
std::string_view TrimmedOf(std::string_view text, std::string_view characters = " ");

// FNV-1a, 64 bits: the hash starts at kFnv1aStart and takes one byte at a time.
inline constexpr uint64_t kFnv1aStart = 0xcbf29ce484222325ULL;
constexpr uint64_t Fnv1aStep(uint64_t hash, uint8_t byte) {
    return (hash ^ byte) * 0x100000001b3ULL;
}

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

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Readable forms of a value's bytes, for the hex view, the list's cells, tooltips and the command
// line. The texts of the rows, the CSV and Find stay the raw bytes; only what is drawn changes.
namespace thornbeck {

// The bytes as upper-case hex pairs separated by spaces: "00 1F A7".
std::string HexPairs(std::string_view bytes);
std::string HexPairs(std::span<const uint8_t> bytes);
// The bytes of hex pairs, as HexPairs writes them or without the spaces ("00 1F A7", "001FA7"):
// a space may stand only between two pairs. Nothing for any other text.
std::optional<std::string> BytesOfHexPairs(std::string_view text);
// The character a hex view shows for a byte: the byte itself when it is printable Latin-1,
// else ".".
char PrintableOrDot(uint8_t byte);
// Which bytes EscapedControls escapes besides the C0 controls and DEL, which it always escapes.
struct EscapeRules {
    bool backslash = false;  // "\" as "\\", so that an escape in the text reads back unambiguously
    bool c1 = false;         // the C1 controls 0x80-0x9F as \xNN
};
// The text with control characters as visible escapes (\t, \n, \r, else \xNN in upper-case
// hex); every other byte as it is.
std::string EscapedControls(std::string_view text, EscapeRules rules);
// The bytes as a UTF-8 terminal shows them, each on one line: EscapedControls with the backslash
// and the C1 controls escaped, then every byte from 0xA0 up as the UTF-8 of its Latin-1
// character (0xFC is "ü"). Reads back to the same bytes, byte for byte.
std::string VisibleUtf8(std::string_view bytes);

// How the list draws a value cell: a Binary value as hex pairs, a String up to its first NUL,
// and any other control character as a visible escape (\t, \n, \r, \xNN). `type` is the Data
// Type text ("Binary", "Integer", "String"); an Integer's text is drawn as it is.
std::string ReadableValue(std::string_view value, std::string_view type);

}  // namespace thornbeck

#pragma once

#include <optional>
#include <string_view>

#include "core/edit/DetailField.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {

// The input rules of the detail fields: how many characters each takes and which characters
// may be typed into it. The details panel applies them as the user types, and thornbeck-cli set
// refuses as wrong usage any text the panel could never hold.
namespace field_rules {
constexpr int kDataSizeDigits = 5;  // sizes go up to 65535
constexpr int kHeaderDigits = 4;    // checksum, flags and header ID are 16-bit
constexpr int kIntegerDigits = 8;   // an "Integer" value, in hex
constexpr int kOtherLimit = 8;      // the read-only fields
}  // namespace field_rules

enum class FieldCharacters {
    HexDigits,      // 0-9, A-F, a-f
    DecimalDigits,  // 0-9
    Bytes,          // any printable character that is one byte (U+0020 to U+007E, U+00A0 to U+00FF)
};

// Which characters may be typed into `field` of an entry of `type`.
FieldCharacters CharactersOf(int field, std::optional<format::DataType> type);
// True when a character of code `code` may be typed into a field that takes `characters`.
// Control characters (below U+0020) are editing keys and always pass.
bool AcceptsTyped(FieldCharacters characters, char32_t code);
// How many characters `field` takes; the Value field takes `valueLimit`.
int LengthLimitOf(int field, int valueLimit);
// True when `text` could stand in a field that takes `characters` and `limit` characters.
bool FieldCouldHold(std::string_view text, FieldCharacters characters, int limit);

}  // namespace thornbeck

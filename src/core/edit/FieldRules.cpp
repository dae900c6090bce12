#include "core/edit/FieldRules.h"

#include "core/text/TextFunctions.h"

namespace thornbeck {

FieldCharacters CharactersOf(int field, std::optional<format::DataType> type) {
    if (field == kValueField && type && *type != format::DataType::Integer)
        return FieldCharacters::Bytes;
    if (field == kDataSizeField) return FieldCharacters::DecimalDigits;
    return FieldCharacters::HexDigits;
}

bool AcceptsTyped(FieldCharacters characters, char32_t code) {
    if (code < 32) return true;
    if (characters == FieldCharacters::DecimalDigits) return IsDecimalDigit(code);
    if (characters == FieldCharacters::HexDigits) return IsHexDigit(code);
    return code <= 0xFF && !(code >= 0x7F && code < 0xA0);
}

int LengthLimitOf(int field, int valueLimit) {
    switch (field) {
        case kValueField:
            return valueLimit;
        case kDataSizeField:
            return field_rules::kDataSizeDigits;
        case kChecksumField:
        case kFlagsField:
        case kHeaderIdField:
            return field_rules::kHeaderDigits;
        default:
            return field_rules::kOtherLimit;
    }
}

bool FieldCouldHold(std::string_view text, FieldCharacters characters, int limit) {
    if (text.size() > static_cast<size_t>(limit)) return false;
    for (const char c : text)
        if (!AcceptsTyped(characters, static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace thornbeck

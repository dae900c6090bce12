#include "core/edit/RefusalReason.h"

#include "core/edit/FieldRules.h"
#include "core/edit/HexText.h"
#include "core/edit/ModifyEntry.h"

namespace thornbeck {

namespace {
std::string HexProblem(std::string_view digits, int most) {
    if (digits.empty()) return "is empty: give 1 to " + std::to_string(most) + " hex digits";
    if (!IsHexText(digits)) return "takes hex digits only (0-9, A-F)";
    if (digits.size() > static_cast<size_t>(most))
        return "takes at most " + std::to_string(most) + " hex digits";
    return {};
}
}  // namespace

std::string RefusalReason(DetailField field, std::string_view text,
                          std::optional<format::DataType> type, int32_t size, bool valueIsLatin1) {
    const bool integer = type == format::DataType::Integer;
    switch (field) {
        case kDataSizeField:
            if (integer) return "cannot be changed for an Integer";
            if (text.empty()) return "is empty: give the size in decimal digits";
            for (const char c : text)
                if (c < '0' || c > '9') return "takes decimal digits only";
            if (!DataSizeOfText(text)) return "is more than 65535";
            return {};
        case kValueField:
            if (!integer)
                return valueIsLatin1 ? std::string()
                                     : "holds a character that is no single byte (Latin-1)";
            if (size != 2 && size != 4)
                return "is an Integer of " + std::to_string(size) +
                       " bytes, which Modify cannot write (only 2 or 4 bytes)";
            {
                const std::string_view digits = IntegerDigits(text, size);
                std::string problem = HexProblem(digits, 2 * size);
                if (!problem.empty() && IsHexText(digits) && !digits.empty())
                    problem += " for an Integer of " + std::to_string(size) + " bytes";
                return problem;
            }
        case kChecksumField:
        case kFlagsField:
        case kHeaderIdField:
            return HexProblem(text, field_rules::kHeaderDigits);
        default:
            return {};
    }
}

}  // namespace thornbeck

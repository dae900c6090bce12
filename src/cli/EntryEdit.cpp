#include "cli/EntryEdit.h"

#include <algorithm>
#include <tuple>

#include "cli/EscapedText.h"
#include "core/edit/FieldRules.h"
#include "core/edit/HexText.h"
#include "core/edit/ValueText.h"

namespace thornbeck::cli {
namespace {

using namespace field_rules;

std::string HexFieldProblem(const char* option, const std::string& text, int digits) {
    if (FieldCouldHold(text, FieldCharacters::HexDigits, digits)) return {};
    const std::string given = std::string(option) + " \"" + ArgumentText(text) + "\": ";
    if (!IsHexText(text)) return given + "not hex digits (0-9, A-F)";
    return given + "the field takes at most " + std::to_string(digits) + " hex digits";
}

}  // namespace

PreparedEdit PrepareEdit(const EntryDisplay& shown, const FieldEdits& edits) {
    PreparedEdit prepared;
    prepared.request = {shown.texts, shown.type, true};
    FieldTexts& texts = prepared.request.texts;
    std::string& problem = prepared.usageProblem;
    const bool integer = shown.type == format::DataType::Integer;

    if (edits.value && edits.valueHex) {
        problem = "--value and --value-hex both give the value";
        return prepared;
    }
    // --value is terminal text, one byte per character through Latin-1. A character no byte
    // holds is what the panel's Value field refuses: Modify says "Invalid value" for it.
    std::optional<std::string> value;
    if (edits.value) {
        value = BytesOfArgument(*edits.value);
        if (!value) prepared.request.valueIsLatin1 = false;
    }
    if (edits.size) {
        if (integer) {
            problem = "--size: the size of an \"Integer\" entry cannot be changed";
            return prepared;
        }
        if (edits.size->empty() ||
            !FieldCouldHold(*edits.size, FieldCharacters::DecimalDigits, kDataSizeDigits)) {
            problem = "--size \"" + ArgumentText(*edits.size) + "\": give 1 to " +
                      std::to_string(kDataSizeDigits) + " decimal digits";
            return prepared;
        }
        texts[kDataSizeField] = *edits.size;
    }
    for (const auto& [option, text, field] :
         {std::tuple{"--checksum", &edits.checksum, kChecksumField},
          std::tuple{"--flags", &edits.flags, kFlagsField},
          std::tuple{"--header-id", &edits.headerId, kHeaderIdField}}) {
        if (!*text) continue;
        if (!(problem = HexFieldProblem(option, **text, kHeaderDigits)).empty()) return prepared;
        texts[field] = **text;
    }

    if (integer) {
        if (edits.valueHex) {
            problem =
                "--value-hex is for \"Binary\" and \"String\" values; give an \"Integer\" "
                "value in hex with --value";
            return prepared;
        }
        if (value) {
            if (!(problem = HexFieldProblem("--value", *value, kIntegerDigits)).empty())
                return prepared;
            texts[kValueField] = *value;
        }
        return prepared;
    }

    if (edits.valueHex) {
        value = BytesOfHexPairs(*edits.valueHex);
        if (!value) {
            problem = "--value-hex \"" + ArgumentText(*edits.valueHex) +
                      "\": give whole bytes as hex digits";
            return prepared;
        }
    }
    if (!value) return prepared;
    // The Value field takes as many characters as the size Modify will write. When the size text
    // does not give one, Modify rejects the size before it looks at the value.
    const auto limit = DataSizeOfText(texts[kDataSizeField]);
    if (limit && value->size() > static_cast<size_t>(*limit)) {
        problem = "the value has " + std::to_string(value->size()) + " bytes, the entry holds " +
                  std::to_string(*limit) + " (give a larger --size)";
        return prepared;
    }
    texts[kValueField] = std::move(*value);
    return prepared;
}

std::vector<ByteRange> ChangedRanges(std::span<const uint8_t> before,
                                     std::span<const uint8_t> after) {
    std::vector<ByteRange> ranges;
    const size_t size = std::min(before.size(), after.size());
    for (size_t at = 0; at < size; ++at) {
        if (before[at] == after[at]) continue;
        const size_t first = at;
        while (at < size && before[at] != after[at]) ++at;
        ranges.push_back({static_cast<int64_t>(first), static_cast<int64_t>(at - first)});
    }
    return ranges;
}

}  // namespace thornbeck::cli

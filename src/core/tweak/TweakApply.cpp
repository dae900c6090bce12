#include "core/tweak/TweakApply.h"

#include <functional>
#include <unordered_map>

#include "core/compare/EntryCompare.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/HexText.h"
#include "core/edit/ModifyEntry.h"

namespace thornbeck {
namespace {

uint32_t HexNumber(std::string_view digits) {
    uint32_t value = 0;
    for (const char c : digits)
        value = value << 4 | static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    return value;
}

// True when writing `text` into the field leaves the bytes that `current` shows: numbers by
// their value, a Binary or String value with the NUL bytes Modify pads it with.
bool WritesTheSame(DetailField field, std::optional<format::DataType> type,
                   std::string_view current, std::string_view text) {
    switch (field) {
        case kValueField:
            if (type == format::DataType::Integer)
                return IsHexFieldText(text, 4) && HexNumber(text) == HexNumber(current);
            return text.size() <= current.size() && current.starts_with(text) &&
                   current.find_first_not_of('\0', text.size()) == std::string_view::npos;
        case kDataSizeField:
            return LeadingDecimalNumber(text) == LeadingDecimalNumber(current);
        case kChecksumField:
        case kFlagsField:
        case kHeaderIdField:
            return HexNumber(text) == HexNumber(current);
        default:
            return text == current;
    }
}

// The keys in the order they first appear, each with its lines.
std::vector<std::pair<std::string_view, std::vector<size_t>>> LinesByKey(const Tweak& tweak) {
    std::vector<std::pair<std::string_view, std::vector<size_t>>> groups;
    std::unordered_map<std::string_view, size_t> groupOf;
    for (size_t i = 0; i < tweak.lines.size(); ++i) {
        const auto [it, added] = groupOf.try_emplace(tweak.lines[i].key, groups.size());
        if (added) groups.push_back({tweak.lines[i].key, {}});
        groups[it->second].second.push_back(i);
    }
    return groups;
}

// Whether a line of the given status is written.
using LineChoice = std::function<bool(size_t line, TweakStatus status)>;

// Checks and, when any line of it is chosen, writes one key's lines.
void ApplyKey(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
              const std::vector<size_t>& lines, const LineChoice& chosen, TweakOutcome& outcome) {
    const auto node = EntryNodeOfKey(index, tweak.lines[lines.front()].key);
    if (!node) {
        for (const size_t i : lines) outcome.lines[i].status = TweakStatus::NoSuchKey;
        return;
    }
    const EntryRef entry = *index.nodes()[static_cast<size_t>(*node)].entry;
    const EntryDisplay shown = DescribeEntry(image, entry);
    bool typeDiffers = false;
    for (const size_t i : lines) {
        const TweakLine& line = tweak.lines[i];
        TweakLineCheck& check = outcome.lines[i];
        check.current = shown.texts[line.field];
        if (line.field == kDataTypeField && line.text != check.current) typeDiffers = true;
        if (WritesTheSame(line.field, shown.type, check.current, line.text))
            check.status = TweakStatus::AlreadySo;
        else if (line.expected &&
                 !WritesTheSame(line.field, shown.type, check.current, *line.expected))
            check.status = TweakStatus::Differs;
    }
    if (typeDiffers) {
        for (const size_t i : lines) outcome.lines[i].status = TweakStatus::TypeDiffers;
        return;
    }
    ModifyRequest request{shown.texts, shown.type, true};
    std::vector<size_t> written;
    for (const size_t i : lines)
        if (tweak.lines[i].field != kDataTypeField && chosen(i, outcome.lines[i].status)) {
            request.texts[tweak.lines[i].field] = tweak.lines[i].text;
            written.push_back(i);
        }
    if (written.empty()) return;
    // A text longer than the value it goes into would be cut, which no line asks for.
    const auto size = DataSizeOfText(request.texts[kDataSizeField]);
    std::string refusal;
    if (shown.type != format::DataType::Integer && size &&
        request.texts[kValueField].size() > static_cast<size_t>(*size))
        refusal = FieldName(kValueField) + ": longer than the Data Size";
    ModifyResult result;
    if (refusal.empty()) result = ModifyEntry(image, index, *node, request);
    if (refusal.empty() && result.kind == ModifyResult::Rejected)
        refusal = FieldName(result.field) + ": " + result.message;
    else if (refusal.empty() && result.kind != ModifyResult::Modified)
        refusal = "the entry has no Data Type its fields can be written for";
    if (!refusal.empty()) {
        for (const size_t i : written) {
            outcome.lines[i].status = TweakStatus::Refused;
            outcome.lines[i].reason = refusal;
        }
        return;
    }
    outcome.changes.push_back(std::move(result.change));
    outcome.fieldsChanged += static_cast<int>(written.size());
    ++outcome.entriesChanged;
}

}  // namespace

bool IsConflict(TweakStatus status) {
    return status != TweakStatus::WillChange && status != TweakStatus::AlreadySo;
}

std::vector<bool> ChosenLines(const TweakOutcome& checked, TweakChoice choice) {
    std::vector<bool> chosen;
    chosen.reserve(checked.lines.size());
    for (const TweakLineCheck& check : checked.lines)
        chosen.push_back(
            check.status == TweakStatus::WillChange ||
            (choice == TweakChoice::Overwriting && check.status == TweakStatus::Differs));
    return chosen;
}

static TweakOutcome ApplyChosen(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
                                const LineChoice& chosen) {
    TweakOutcome outcome;
    outcome.lines.resize(tweak.lines.size());
    for (const auto& [key, lines] : LinesByKey(tweak))
        ApplyKey(image, index, tweak, lines, chosen, outcome);
    return outcome;
}

TweakOutcome ApplyTweak(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
                        const std::vector<bool>& chosen) {
    if (chosen.empty()) return ApplyTweak(image, index, tweak, TweakChoice::Changing);
    return ApplyChosen(image, index, tweak, [&chosen](size_t line, TweakStatus status) {
        return line < chosen.size() && chosen[line] &&
               (status == TweakStatus::WillChange || status == TweakStatus::Differs);
    });
}

TweakOutcome ApplyTweak(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
                        TweakChoice choice) {
    return ApplyChosen(image, index, tweak, [choice](size_t, TweakStatus status) {
        return status == TweakStatus::WillChange ||
               (choice == TweakChoice::Overwriting && status == TweakStatus::Differs);
    });
}

TweakOutcome CheckTweak(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
                        const std::vector<bool>& chosen) {
    TweakOutcome outcome = ApplyTweak(image, index, tweak, chosen);
    for (auto it = outcome.changes.rbegin(); it != outcome.changes.rend(); ++it)
        RevertChange(image, index, *it);
    outcome.changes.clear();
    return outcome;
}

}  // namespace thornbeck

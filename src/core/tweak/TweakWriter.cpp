#include "core/tweak/TweakWriter.h"

#include <sstream>

#include "core/tweak/TweakText.h"

namespace thornbeck {
namespace {

bool Written(DetailField field, std::string_view type) {
    switch (field) {
        case kValueField:
        case kChecksumField:
        case kFlagsField:
        case kHeaderIdField:
            return true;
        case kDataSizeField:
            return type != kDataTypeNames[1];  // an Integer's size is never written
        default:
            return false;
    }
}

// A comment's text on one line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

Tweak TweakOfDifferences(const std::vector<KeyDifference>& differences,
                         const std::function<std::string(std::string_view key)>& typeOfA) {
    Tweak tweak;
    for (const KeyDifference& difference : differences) {
        if (difference.kind != KeyDifference::Changed) continue;
        bool typeDiffers = false;
        for (const FieldChange& change : difference.changes)
            typeDiffers |= change.field == kDataTypeField;
        if (typeDiffers) continue;  // A's texts would mean other bytes in B's type
        const std::string type = typeOfA(difference.key);
        std::vector<TweakLine> lines;
        for (const FieldChange& change : difference.changes)
            if (Written(change.field, type))
                lines.push_back(
                    {0, std::string(difference.key), change.field, change.before, change.after});
        if (lines.empty()) continue;
        tweak.lines.push_back({0, std::string(difference.key), kDataTypeField, type, type});
        for (TweakLine& line : lines) tweak.lines.push_back(std::move(line));
    }
    return tweak;
}

void WriteTweak(const Tweak& tweak, std::ostream& out) {
    out << kTweakHeader << '\n';
    if (!tweak.title.empty()) out << "# title: " << OneLine(tweak.title) << '\n';
    if (!tweak.description.empty()) out << "# description: " << OneLine(tweak.description) << '\n';
    for (const TweakLine& line : tweak.lines)
        out << TweakTextOf(line.key) << '\t' << FieldName(line.field) << '\t'
            << (line.expected ? TweakTextOf(*line.expected) : std::string("*")) << '\t'
            << TweakTextOf(line.text) << '\n';
}

std::string TweakFileText(const Tweak& tweak) {
    std::ostringstream out;
    WriteTweak(tweak, out);
    return out.str();
}

}  // namespace thornbeck

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/edit/DetailField.h"

namespace thornbeck {

// One line of a tweak: a field of the entry of a key, the text expected there now and the text
// to write. Texts are bytes, one per character, as the details panel holds them.
struct TweakLine {
    int lineNumber = 0;  // in the tweak file, from 1
    std::string key;
    DetailField field = kValueField;
    std::optional<std::string> expected;  // nothing for "*": whatever is there
    std::string text;
};

// Changes that travel between consoles' files, keyed by key path (docs/tweaks.md).
struct Tweak {
    std::string title;        // UTF-8, as the file gives it; "" when it gives none
    std::string description;  // UTF-8
    std::vector<TweakLine> lines;
};

// The first line of every tweak file.
inline constexpr std::string_view kTweakHeader = "# Thornbeck tweak 1";

// The fields a tweak line may name, by the name it gives them ("Value", "Data Size",
// "Data Type", "Checksum", "Flags", "Header ID"). Data Type is only a check: its expected text
// and its text must be the same type name, and an entry of another type takes none of the
// key's lines.
std::optional<DetailField> TweakFieldNamed(std::string_view name);
bool IsTweakField(DetailField field);

}  // namespace thornbeck

#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/edit/EntryChange.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"
#include "core/tweak/Tweak.h"

namespace thornbeck {

// What a tweak line finds in a file.
enum class TweakStatus {
    WillChange,   // the field holds the expected text (or any, for "*") and will take the text
    AlreadySo,    // the field already holds what the line writes
    Differs,      // the field holds neither the expected text nor the text
    NoSuchKey,    // the file has no entry of that key
    TypeDiffers,  // the key's Data Type line names another type
    Refused,      // Modify's checks refuse the key's lines; `reason` says why
};

struct TweakLineCheck {
    TweakStatus status = TweakStatus::WillChange;
    std::string current;  // the field's text in the file; "" with no such key
    std::string reason;   // for Refused: "Data Size: Invalid size", ...
};

struct TweakOutcome {
    std::vector<TweakLineCheck> lines;  // one per line of the tweak, in its order
    std::vector<EntryChange> changes;   // in the order made; revert them in reverse
    int fieldsChanged = 0;
    int entriesChanged = 0;
};

// Which lines a user or an option lets a tweak write.
enum class TweakChoice {
    Changing,     // the lines that will change
    Overwriting,  // those and the lines whose field differs from the expected text
};
// For each line, true when `choice` lets it be written, given its check.
std::vector<bool> ChosenLines(const TweakOutcome& checked, TweakChoice choice);

// Writes the chosen lines of `tweak` into the image, key by key: the lines of one key are one
// Modify (the entry's other fields keep their texts), all of them or none, in the order the
// keys first appear. A key's entry is the one its tree node shows. Lines not chosen, or that
// find no entry, another Data Type or their text already there, are not written; every line
// gets its check as it stood before its key was written, or Refused with Modify's reason.
// `chosen` may be empty for "every line that will change".
TweakOutcome ApplyTweak(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
                        const std::vector<bool>& chosen = {});
// ApplyTweak of the lines `choice` lets be written, as each key's lines are checked: one pass,
// for a caller that keeps the result only when nothing conflicts.
TweakOutcome ApplyTweak(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
                        TweakChoice choice);

// Each line's check as ApplyTweak would find it, including Modify's refusals, without changing
// a byte: the chosen lines are written and then taken back.
TweakOutcome CheckTweak(RegistryImage& image, RegistryIndex& index, const Tweak& tweak,
                        const std::vector<bool>& chosen = {});

// True when the check stops a tweak that must apply whole (its field differs, its key or type
// is not there, or Modify refuses it).
bool IsConflict(TweakStatus status);

}  // namespace thornbeck

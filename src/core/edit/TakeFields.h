#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/edit/DetailField.h"
#include "core/edit/EntryChange.h"
#include "core/edit/ModifyEntry.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// Which fields a take copies across. For Binary and String entries Value and Data Size go
// together (either brings the other); an Integer's size never changes, so its Data Size is
// refused when the sizes differ.
enum TakenFields : unsigned {
    kTakeValue = 1,
    kTakeChecksum = 2,
    kTakeFlags = 4,
    kTakeHeaderId = 8,
    kTakeDataSize = 16,
    kTakeAll = 31,
};

// The flag that takes a differing field; 0 for the fields that are never written (the type and
// the offsets).
unsigned TakeFlagOf(DetailField field);

// The fields named in a comma-separated list of "value", "checksum", "flags", "header-id";
// nothing for an unknown or empty name.
std::optional<unsigned> TakenFieldsNamed(std::string_view names);

// The details panel of this file's entry with the other entry's texts typed into the taken
// fields: Value (and Data Size when a Binary or String entry's size differs), Checksum, Flags,
// Header ID. The type stays this entry's. Nothing when this entry has no type the panel selects.
std::optional<ModifyRequest> TakeRequest(const RegistryImage& image, const EntryRef& entry,
                                         const RegistryImage& other, const EntryRef& otherEntry,
                                         unsigned fields);

struct TakeRefusal {
    std::string key;
    std::string reason;  // "Data Size: Invalid size", "not in the other file", ...
};

struct TakeOutcome {
    std::vector<EntryChange> changes;     // in the order made; revert them in reverse
    std::vector<std::string_view> taken;  // the keys written, in that order
    std::vector<unsigned> takenFields;    // for each of them, the TakenFields it was given
    std::vector<TakeRefusal> refused;
};

// One entry to take, and which of its fields (TakenFields flags).
struct TakeItem {
    std::string_view key;
    unsigned fields = kTakeAll;
};

// For each item, in the given order, Modify of this file's entry with TakeRequest: every rule of
// Modify holds per entry (all of its fields or none), a refused entry is reported and the others
// are still taken. An Integer's Data Size that differs is refused with its reason (its other
// fields are still taken), and never reported as taken. An entry whose Data Type differs between
// the files is refused: the other's texts mean other bytes here. An entry whose taken fields
// already match is left alone. The keys must stay valid for the call; `taken` views this index's
// keys.
TakeOutcome TakeOtherFields(RegistryImage& image, RegistryIndex& index, const RegistryImage& other,
                            const RegistryIndex& otherIndex, std::span<const TakeItem> items);
// The same fields of every key.
TakeOutcome TakeOtherFields(RegistryImage& image, RegistryIndex& index, const RegistryImage& other,
                            const RegistryIndex& otherIndex, std::span<const std::string_view> keys,
                            unsigned fields);

}  // namespace thornbeck

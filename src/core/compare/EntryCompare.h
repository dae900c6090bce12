#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/edit/DetailField.h"
#include "core/edit/EntryTexts.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

struct FieldChange {
    DetailField field;
    std::string before;  // the text in A
    std::string after;   // the text in B
};

struct KeyDifference {
    enum Kind { OnlyInA, OnlyInB, Changed };
    Kind kind = Changed;
    std::string_view key;              // views the index's key; valid while that index lives
    std::vector<FieldChange> changes;  // for Changed, in field order
};

// Compares the entries of two files by key, each key's entry being the one its tree node holds.
// Keys of A come in A's load order (only in A, or in both and different), then the keys only in
// B in B's load order. Data Offset and Key Offset count only when `offsets` is set. The window's
// differences pane and `thornbeck-cli diff` both show this list.
std::vector<KeyDifference> DiffEntries(const RegistryImage& a, const RegistryIndex& indexA,
                                       const RegistryImage& b, const RegistryIndex& indexB,
                                       bool offsets);

}  // namespace thornbeck

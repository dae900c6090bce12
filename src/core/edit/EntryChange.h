#pragma once

#include <cstdint>
#include <vector>

#include "core/format/EntryRef.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// Bytes at one place of the image before and after a change (both of the same length).
struct BytePatch {
    int64_t offset = 0;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
};

// What one Modify changed, enough to take it back and to make it again byte for byte. Its size
// grows with the bytes it changed (the fields and |delta| bytes), never with the image's.
struct EntryChange {
    int32_t node = -1;  // the edited entry's tree node
    EntryRef entryBefore;
    EntryRef entryAfter;
    int32_t row = -1;         // the node's list row, -1 when it has none
    EntryRef rowEntryBefore;  // the entry that row showed; it shows entryAfter afterwards
    // The size change: every byte from entry offset + 9 on moved by delta. A growth drops the
    // image's last delta bytes, a shrink overwrites the delta bytes at the move's start; those
    // bytes are kept here.
    int32_t delta = 0;
    std::vector<uint8_t> displacedBytes;
    std::vector<BytePatch> patches;  // written after the move, in this order
    RegistryIndex::DataAreaEnd endBefore;
    RegistryIndex::DataAreaEnd endAfter;

    int64_t moveStart() const { return int64_t{entryBefore.offset} + 9; }
};

// Makes the change on an image and index that are as they were before it, or takes it back from
// an image and index that are as they were after it.
void ApplyChange(RegistryImage& image, RegistryIndex& index, const EntryChange& change);
void RevertChange(RegistryImage& image, RegistryIndex& index, const EntryChange& change);

// The list rows whose texts the change touched, for the views to draw again: the edited row,
// every row whose entry moved, and any row whose entry bytes a patch overlaps. Sorted, without
// repeats.
std::vector<int32_t> RowsTouchedBy(const RegistryIndex& index, const EntryChange& change);

}  // namespace thornbeck

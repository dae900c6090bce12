#include "core/edit/EntryChange.h"

#include <algorithm>

#include "core/format/RegistryFormat.h"

namespace thornbeck {

namespace {

void WritePatches(RegistryImage& image, const EntryChange& change, bool after) {
    if (after) {
        for (const BytePatch& patch : change.patches) image.write(patch.offset, patch.after);
    } else {
        for (auto it = change.patches.rbegin(); it != change.patches.rend(); ++it)
            image.write(it->offset, it->before);
    }
}

void SetEntries(RegistryIndex& index, const EntryChange& change, bool after) {
    index.setEntry(change.node, after ? change.entryAfter : change.entryBefore);
    if (change.row >= 0)
        index.setRowEntry(change.row, after ? change.entryAfter : change.rowEntryBefore);
    index.setDataAreaEnd(after ? change.endAfter : change.endBefore);
}

bool Overlaps(int64_t start, int64_t length, const BytePatch& patch) {
    return start < patch.offset + static_cast<int64_t>(patch.after.size()) &&
           patch.offset < start + length;
}

}  // namespace

void ApplyChange(RegistryImage& image, RegistryIndex& index, const EntryChange& change) {
    if (change.delta != 0) {
        image.shiftTail(change.moveStart(), change.delta);
        index.moveEntriesAfter(change.entryBefore.offset, change.delta);
    }
    WritePatches(image, change, true);
    SetEntries(index, change, true);
}

void RevertChange(RegistryImage& image, RegistryIndex& index, const EntryChange& change) {
    WritePatches(image, change, false);
    if (change.delta != 0) {
        // Moving back drops the bytes the move left behind at the end (a growth) or at the
        // start (a shrink); the kept bytes go where they were.
        image.shiftTail(change.moveStart(), -change.delta);
        const int64_t restoreAt =
            change.delta > 0 ? image.size() - change.delta : change.moveStart();
        image.write(restoreAt, change.displacedBytes);
        index.moveEntriesAfter(change.entryBefore.offset, -change.delta);
    }
    SetEntries(index, change, false);
}

std::vector<int32_t> RowsTouchedBy(const RegistryIndex& index, const EntryChange& change) {
    std::vector<int32_t> rows;
    if (change.row >= 0) rows.push_back(change.row);
    const auto& all = index.rows();
    for (size_t r = 0; r < all.size(); ++r) {
        const EntryRef& entry = all[r].entry;
        bool touched = change.delta != 0 && entry.offset > change.entryBefore.offset;
        // A Header ID is shared by every entry of its key record, and in a damaged file it can
        // even lie in another entry's bytes.
        for (const BytePatch& patch : change.patches)
            touched = touched ||
                      Overlaps(entry.offset, format::kEntryOverhead + int64_t{entry.size}, patch) ||
                      Overlaps(entry.keyOffset, 2, patch);
        if (touched) rows.push_back(static_cast<int32_t>(r));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace thornbeck

#include "cli/EntryDiff.h"

#include "cli/LoadedRegistry.h"
#include "editing/EntryTexts.h"

namespace thornbeck::cli {

std::vector<KeyDifference> DiffEntries(const RegistryImage& a, const RegistryIndex& indexA,
                                       const RegistryImage& b, const RegistryIndex& indexB,
                                       bool offsets) {
    std::vector<KeyDifference> differences;
    // Every entry node has a list row, so the rows give each key once, in load order.
    for (const ListRow& row : indexA.rows()) {
        const auto inA = EntryOfKey(indexA, row.key);
        const auto inB = EntryOfKey(indexB, row.key);
        if (!inA) continue;
        if (!inB) {
            differences.push_back({KeyDifference::OnlyInA, row.key, {}});
            continue;
        }
        const FieldTexts textsA = DescribeEntry(a, inA->entry).texts;
        const FieldTexts textsB = DescribeEntry(b, inB->entry).texts;
        KeyDifference difference{KeyDifference::Changed, row.key, {}};
        for (int i = 0; i < kDetailFieldCount; ++i) {
            const auto field = static_cast<DetailField>(i);
            if (!offsets && (field == kDataOffsetField || field == kKeyOffsetField)) continue;
            if (textsA[field] != textsB[field])
                difference.changes.push_back({field, textsA[field], textsB[field]});
        }
        if (!difference.changes.empty()) differences.push_back(std::move(difference));
    }
    for (const ListRow& row : indexB.rows())
        if (EntryOfKey(indexB, row.key) && !EntryOfKey(indexA, row.key))
            differences.push_back({KeyDifference::OnlyInB, row.key, {}});
    return differences;
}

}  // namespace thornbeck::cli

#include "editing/EntryCompare.h"

#include "editing/EntryTexts.h"

namespace thornbeck {

std::optional<int32_t> EntryNodeOfKey(const RegistryIndex& index, std::string_view key) {
    const auto node = index.findNode(key);
    if (!node || !index.nodes()[static_cast<size_t>(*node)].entry) return std::nullopt;
    return node;
}

std::string FieldName(DetailField field) {
    std::string name;
    for (const char* c = kFieldCaptions[static_cast<size_t>(field)]; *c; ++c)
        if (*c != '&' && *c != ':') name += *c;
    return name;
}

std::vector<KeyDifference> DiffEntries(const RegistryImage& a, const RegistryIndex& indexA,
                                       const RegistryImage& b, const RegistryIndex& indexB,
                                       bool offsets) {
    std::vector<KeyDifference> differences;
    // Every entry node has a list row, so the rows give each key once, in load order.
    for (const ListRow& row : indexA.rows()) {
        const auto inA = EntryNodeOfKey(indexA, row.key);
        const auto inB = EntryNodeOfKey(indexB, row.key);
        if (!inA) continue;
        if (!inB) {
            differences.push_back({KeyDifference::OnlyInA, row.key, {}});
            continue;
        }
        const FieldTexts textsA =
            DescribeEntry(a, *indexA.nodes()[static_cast<size_t>(*inA)].entry).texts;
        const FieldTexts textsB =
            DescribeEntry(b, *indexB.nodes()[static_cast<size_t>(*inB)].entry).texts;
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
        if (EntryNodeOfKey(indexB, row.key) && !EntryNodeOfKey(indexA, row.key))
            differences.push_back({KeyDifference::OnlyInB, row.key, {}});
    return differences;
}

}  // namespace thornbeck

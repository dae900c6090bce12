#include "core/compare/EntryCompare.h"

#include <algorithm>

#include "core/edit/EntryTexts.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {
namespace {

// Whether the bytes behind some texts lie in both images and are alike, so those texts are alike
// too: quick tests that spare building the texts of equal values, which for a value of 65535
// bytes costs far more than comparing its bytes. The offsets are left to the caller.
struct Alike {
    const RegistryImage& a;
    const RegistryImage& b;

    bool bytes(int64_t inA, int64_t inB, int64_t length) const {
        if (inA <= 0 || inB <= 0 || inA + length > a.size() || inB + length > b.size())
            return false;
        const auto left = a.bytes().subspan(static_cast<size_t>(inA), static_cast<size_t>(length));
        const auto right = b.bytes().subspan(static_cast<size_t>(inB), static_cast<size_t>(length));
        return std::equal(left.begin(), left.end(), right.begin(), right.end());
    }
    // Data Size, Data Type and Value.
    bool value(const EntryRef& x, const EntryRef& y) const {
        return x.size == y.size &&
               bytes(x.offset + format::kTypeAt, y.offset + format::kTypeAt, int64_t{1} + x.size);
    }
    // Flags, Checksum and Header ID.
    bool header(const EntryRef& x, const EntryRef& y) const {
        using namespace format;
        return bytes(x.offset + kFlagsAt, y.offset + kFlagsAt, 2) &&
               bytes(x.offset + kChecksumAt, y.offset + kChecksumAt, 2) &&
               bytes(x.keyOffset + kHeaderIdAt, y.keyOffset + kHeaderIdAt, 2);
    }
};

}  // namespace

std::vector<KeyDifference> DiffEntries(const RegistryImage& a, const RegistryIndex& indexA,
                                       const RegistryImage& b, const RegistryIndex& indexB,
                                       bool offsets) {
    std::vector<KeyDifference> differences;
    // Every entry node has a list row, so the rows give each key once, in load order.
    for (const ListRow& row : indexA.rows()) {
        const std::string_view key = indexA.keyOf(row);
        const auto inA = EntryNodeOfKey(indexA, key);
        const auto inB = EntryNodeOfKey(indexB, key);
        if (!inA) continue;
        if (!inB) {
            differences.push_back({KeyDifference::OnlyInA, key, {}});
            continue;
        }
        const EntryRef entryA = *indexA.nodes()[static_cast<size_t>(*inA)].entry;
        const EntryRef entryB = *indexB.nodes()[static_cast<size_t>(*inB)].entry;
        const Alike alike{a, b};
        const bool sameValue = alike.value(entryA, entryB);
        if (sameValue && alike.header(entryA, entryB) &&
            (!offsets || (entryA.offset == entryB.offset && entryA.keyOffset == entryB.keyOffset)))
            continue;
        // Alike values are described as empty ones, which are alike too.
        const auto described = [&](EntryRef entry) {
            if (sameValue) entry.size = 0;
            return entry;
        };
        const FieldTexts textsA = DescribeEntry(a, described(entryA)).texts;
        const FieldTexts textsB = DescribeEntry(b, described(entryB)).texts;
        KeyDifference difference{KeyDifference::Changed, key, {}};
        for (int i = 0; i < kDetailFieldCount; ++i) {
            const auto field = static_cast<DetailField>(i);
            if (!offsets && (field == kDataOffsetField || field == kKeyOffsetField)) continue;
            if (textsA[field] != textsB[field])
                difference.changes.push_back({field, textsA[field], textsB[field]});
        }
        if (!difference.changes.empty()) differences.push_back(std::move(difference));
    }
    for (const ListRow& row : indexB.rows()) {
        const std::string_view key = indexB.keyOf(row);
        if (EntryNodeOfKey(indexB, key) && !EntryNodeOfKey(indexA, key))
            differences.push_back({KeyDifference::OnlyInB, key, {}});
    }
    return differences;
}

}  // namespace thornbeck

#include "core/index/RecordNodes.h"

#include <algorithm>
#include <bit>

#include "core/format/EntryScanner.h"
#include "core/format/RegistryFormat.h"
#include "core/index/KeyNameStore.h"

namespace thornbeck {

uint32_t RecordNodes::RecordOf(int32_t keyOffset) {
    return static_cast<uint32_t>(keyOffset - format::kKeyOffsetBias) & 0xFFFF;
}

RecordNodes RecordNodes::Of(const RegistryImage& image) {
    RecordNodes table;
    table.crossing = image.size();
    for (EntryScanner scanner(image); const auto entry = scanner.next();) {
        const uint32_t record = RecordOf(entry->keyOffset);
        uint64_t& word = table.used[record >> 6];
        const uint64_t bit = uint64_t{1} << (record & 63);
        // A record's name is measured once, when the first entry that uses it is walked.
        if (word & bit) continue;
        word |= bit;
        const int64_t start = int64_t{entry->keyOffset} + format::kNameAt;
        const int64_t end = start + image.readNumber(entry->keyOffset + format::kNameLengthAt, 2);
        table.reach = std::max(table.reach, end);
        if (end > image.size()) table.crossing = std::min(table.crossing, start);
    }
    table.padded = KeyNameStore::PaddedBytes(image.size(), table.reach, table.crossing);
    uint32_t below = 0;
    for (size_t word = 0; word < kWords; ++word) {
        table.ranks[word] = below;
        below += static_cast<uint32_t>(std::popcount(table.used[word]));
    }
    table.nodes.assign(below, -1);
    return table;
}

int32_t& RecordNodes::at(int32_t keyOffset) {
    const uint32_t record = RecordOf(keyOffset);
    const size_t word = record >> 6;
    const uint64_t below = used[word] & ((uint64_t{1} << (record & 63)) - 1);
    return nodes[ranks[word] + static_cast<size_t>(std::popcount(below))];
}

}  // namespace thornbeck

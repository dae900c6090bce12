#pragma once

#include <cstdint>
#include <vector>

#include "core/format/RegistryImage.h"

namespace thornbeck {

// The key records a file's entries use, found by one walk of its entries, and then the tree
// node of each. Each record gets a place by its rank among the records used (a count of those
// below it), so that the table holds one number per record used: a few kilobytes where a table
// of every possible record would take 256 KiB, and a lookup is still one count of bits.
class RecordNodes {
public:
    // Walks the entries of `image` and marks the records they use.
    static RecordNodes Of(const RegistryImage& image);

    // Distinct key records the entries use.
    int64_t records() const { return static_cast<int64_t>(nodes.size()); }
    // One past the last byte of any of their names and name lengths.
    int64_t namesEnd() const { return reach; }
    // Where the first of their names that runs past the image's end starts (the image's size
    // when none does), and the bytes the load's names must copy for them (KeyNameStore).
    int64_t firstCrossing() const { return crossing; }
    int64_t paddedBytes() const { return padded; }

    // The node of the record at K (a record the walk marked), -1 (to be set through the
    // reference) when it has none yet.
    int32_t& at(int32_t keyOffset);

private:
    static constexpr size_t kWords = 0x10000 / 64;
    // A stored key offset of 16 bits: the record's number.
    static uint32_t RecordOf(int32_t keyOffset);

    std::vector<uint64_t> used = std::vector<uint64_t>(kWords);
    std::vector<uint32_t> ranks = std::vector<uint32_t>(kWords);
    std::vector<int32_t> nodes;
    int64_t reach = 0;
    int64_t crossing = 0;
    int64_t padded = 0;
};

}  // namespace thornbeck

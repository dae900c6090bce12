#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace thornbeck {

// Node numbers by the hash of their keys, in one open-addressed array: 8 bytes a slot and at most
// three quarters of the slots used, where a node-based hash map spends about 40 bytes on each
// node. Keys themselves live in the nodes; a lookup compares a key only when the stored part of
// its hash matches.
class NodeTable {
public:
    // Calls `matches(node)` for every node stored under a hash whose stored part equals this
    // one's, until it returns true; returns that node, or -1.
    template <typename Matches>
    int32_t find(uint64_t hash, Matches&& matches) const {
        if (entries.empty()) return -1;
        const uint32_t tag = TagOf(hash);
        for (size_t at = tag & mask();; at = (at + 1) & mask()) {
            const Slot& slot = entries[at];
            if (slot.node < 0) return -1;
            if (slot.tag == tag && matches(slot.node)) return slot.node;
        }
    }

    // Room for `nodes` nodes without growing, so that a load that knows its count does not hold
    // two tables at once while one is copied into the other.
    void reserve(size_t nodes) {
        size_t size = 64;
        while (size * 3 < nodes * 4) size *= 2;
        if (size > entries.size()) resize(size);
    }

    void insert(uint64_t hash, int32_t node) {
        if ((used + 1) * 4 > entries.size() * 3) grow();
        place({TagOf(hash), node});
        ++used;
    }

private:
    // The tag is the part of the hash kept: it picks the first slot tried and tells keys apart
    // there, and a grown table places every node again by it alone.
    struct Slot {
        uint32_t tag = 0;
        int32_t node = -1;
    };
    static uint32_t TagOf(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }
    size_t mask() const { return entries.size() - 1; }
    void place(Slot slot) {
        size_t at = slot.tag & mask();
        while (entries[at].node >= 0) at = (at + 1) & mask();
        entries[at] = slot;
    }
    void grow() { resize(std::max<size_t>(64, entries.size() * 2)); }
    void resize(size_t size) {
        std::vector<Slot> old = std::exchange(entries, std::vector<Slot>(size));
        for (const Slot& slot : old)
            if (slot.node >= 0) place(slot);
    }

    std::vector<Slot> entries;
    size_t used = 0;
};

}  // namespace thornbeck

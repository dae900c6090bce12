#pragma once

#include <cstdint>
#include <string_view>

namespace thornbeck {

// The hash the index keys its nodes by. Bytes go in eight at a time, so a whole name of 64 KiB
// hashes quickly, and the hash of every prefix of a text comes out of one pass over it, so that
// finding the levels of a deep path stays linear in its length. add() then value() after the
// first n bytes equals HashOfKey() of those n bytes.
class KeyHasher {
public:
    void add(char c) {
        pending |= uint64_t{static_cast<uint8_t>(c)} << (8 * (count % 8));
        if (++count % 8 == 0) flush();
    }
    void add(std::string_view text) {
        size_t i = 0;
        for (; i < text.size() && count % 8 != 0; ++i) add(text[i]);
        for (; i + 8 <= text.size(); i += 8) {
            uint64_t word = 0;
            for (int b = 7; b >= 0; --b) word = word << 8 | static_cast<uint8_t>(text[i + b]);
            pending = word;
            count += 8;
            flush();
        }
        for (; i < text.size(); ++i) add(text[i]);
    }
    size_t size() const { return count; }
    uint64_t value() const { return Mix(state ^ Mix(pending ^ (uint64_t{count} << 3 | 1))); }

private:
    static uint64_t Mix(uint64_t x) {
        x ^= x >> 32;
        x *= 0xD6E8FEB86659FD93ull;
        x ^= x >> 32;
        x *= 0xD6E8FEB86659FD93ull;
        return x ^ (x >> 32);
    }
    void flush() {
        state = Mix(state ^ pending) + 0x9E3779B97F4A7C15ull;
        pending = 0;
    }

    uint64_t state = 0x2545F4914F6CDD1Dull;
    uint64_t pending = 0;
    size_t count = 0;
};

inline uint64_t HashOfKey(std::string_view text) {
    KeyHasher hasher;
    hasher.add(text);
    return hasher.value();
}

}  // namespace thornbeck

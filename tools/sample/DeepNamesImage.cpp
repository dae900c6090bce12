#include "DeepNamesImage.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <stdexcept>

namespace thornbeck::sample {

std::vector<uint8_t> DeepNamesImage(int entries, size_t fileSize, uint32_t seed) {
    constexpr size_t kKeyAreaStart = 0x10;
    constexpr size_t kMarker = 0xFFF0;
    constexpr size_t kFirstEntry = 0xFFF2;
    // Even record offsets whose name-length field (at K + 2) and name (from K + 5) lie in the
    // "/x" pattern.
    constexpr uint32_t kFirstRecord = kKeyAreaStart;
    constexpr uint32_t kLastRecord = kMarker - 8;
    const size_t records = (kLastRecord - kFirstRecord) / 2;
    if (entries < 0 || static_cast<size_t>(entries) > records ||
        kFirstEntry + static_cast<size_t>(entries) * 10 + 4 > fileSize)
        throw std::length_error("entries do not fit");

    std::mt19937 random(seed);
    std::vector<uint8_t> image(fileSize, 0);
    for (size_t at = kKeyAreaStart; at < kMarker; at += 2) {
        image[at] = '/';
        image[at + 1] = static_cast<uint8_t>('a' + random() % 26);
    }
    image[kMarker] = 0x4D;
    image[kMarker + 1] = 0x26;

    std::vector<uint32_t> offsets(records);
    std::iota(offsets.begin(), offsets.end(), 0u);
    std::shuffle(offsets.begin(), offsets.end(), random);
    size_t e = kFirstEntry;
    for (int n = 0; n < entries; ++n, e += 10) {
        const uint32_t stored = kFirstRecord + 2 * offsets[static_cast<size_t>(n)] - 16;
        image[e + 2] = static_cast<uint8_t>(stored >> 8);
        image[e + 3] = static_cast<uint8_t>(stored);
        image[e + 8] = 0;  // Binary, no value bytes
    }
    const uint8_t end[] = {0xAA, 0xBB, 0xCC, 0xDD};
    std::copy(std::begin(end), std::end(end), image.begin() + static_cast<std::ptrdiff_t>(e));
    return image;
}

}  // namespace thornbeck::sample

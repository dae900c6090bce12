#include "WorstCaseImage.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "RegistryBuilder.h"

namespace thornbeck::bench {

namespace {
void Put16(std::vector<uint8_t>& image, size_t at, uint32_t value) {
    image[at] = static_cast<uint8_t>(value >> 8);
    image[at + 1] = static_cast<uint8_t>(value);
}
}  // namespace

std::vector<uint8_t> EveryKeyRecordImage() {
    constexpr size_t kFileSize = 1u << 20;
    constexpr size_t kMarker = 0xFFF0;
    constexpr size_t kFirstEntry = 0xFFF2;
    constexpr uint32_t kRecords = 65536;
    std::vector<uint8_t> image(kFileSize, 0);
    uint32_t random = 1;
    for (size_t at = 0x10; at < kMarker; at += 2) {
        random = random * 1103515245 + 12345;
        image[at] = '/';
        image[at + 1] = static_cast<uint8_t>('a' + (random >> 16) % 26);
    }
    image[kMarker] = 0x4D;
    image[kMarker + 1] = 0x26;
    size_t e = kFirstEntry;
    for (uint32_t stored = 0; stored < kRecords; ++stored, e += 10) {
        Put16(image, e + 2, stored);
        image[e + 8] = 0;  // Binary, no value bytes
    }
    const uint8_t end[] = {0xAA, 0xBB, 0xCC, 0xDD};
    std::copy(std::begin(end), std::end(end), image.begin() + static_cast<std::ptrdiff_t>(e));
    return image;
}

std::vector<uint8_t> WorstCaseImage() {
    constexpr size_t kDataSize = 64u << 20;
    std::vector<uint8_t> image(0x10000 + kDataSize + 16, 0);
    // Key records of two-character names: 8 bytes each.
    std::vector<uint16_t> keyOffsets;
    size_t at = 0x10;
    for (int a = 0x21; a < 0x7F && at + 8 + 5 <= 0xFFF0; ++a) {
        for (int b = 0x21; b < 0x7F && at + 8 + 5 <= 0xFFF0; ++b) {
            Put16(image, at + 2, 2);
            image[at + 5] = static_cast<uint8_t>(a);
            image[at + 6] = static_cast<uint8_t>(b);
            keyOffsets.push_back(static_cast<uint16_t>(at - 16));
            at += 8;
        }
    }
    const uint8_t end[] = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE};
    std::copy(std::begin(end), std::end(end), image.begin() + static_cast<std::ptrdiff_t>(at));
    image[0xFFF0] = 0x4D;
    image[0xFFF1] = 0x26;

    size_t e = 0xFFF2;
    uint32_t n = 0;
    const size_t limit = image.size() - 16;
    while (true) {
        // Every 65,536th entry carries a value of 65535 bytes; the others 4 or 8 bytes.
        const uint32_t size = (n % 65536 == 65535) ? 0xFFFF : (n % 2 ? 4 : 8);
        if (e + 10 + size + 4 > limit) break;
        Put16(image, e + 2, keyOffsets[(n * 2654435761u) % keyOffsets.size()]);
        Put16(image, e + 4, n & 0xFFFF);
        Put16(image, e + 6, size);
        image[e + 8] = size == 4 ? 1 : 0;
        image[e + 9] = static_cast<uint8_t>(n);
        e += 10 + size;
        ++n;
    }
    std::copy(std::begin(end), std::end(end) - 1, image.begin() + static_cast<std::ptrdiff_t>(e));
    return image;
}

std::vector<uint8_t> ManyKeysImage(int keys) {
    sample::RegistryBuilder builder;
    builder.fileSize = 4u << 20;
    for (int i = 0; i < keys; ++i) {
        std::string name = "/s/a" + std::to_string(i % 7) + "/b" + std::to_string(i % 53);
        if (i % 3 == 0) name += "/c" + std::to_string(i % 11);
        name += "/k" + std::to_string(i);
        builder.addEntry(name, 1, sample::BigEndian(static_cast<uint32_t>(i), 4));
    }
    return builder.build();
}

}  // namespace thornbeck::bench

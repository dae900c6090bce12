// Writes the sample registry that the editor opens and the tests use: a 256 KiB file laid out as a
// console dump, with several hundred keys under /setting and values of every kind the editor has
// to show.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "DeepNamesImage.h"
#include "RegistryBuilder.h"

using thornbeck::sample::BigEndian;
using thornbeck::sample::Bytes;
using thornbeck::sample::RegistryBuilder;

namespace {

constexpr uint8_t kBinary = 0, kInteger = 1, kString = 2;

// A small fixed generator, so the file is the same on every build.
struct Random {
    uint32_t state = 0x7E6B2C1Du;
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    uint32_t below(uint32_t n) { return next() % n; }
};

std::vector<uint8_t> Padded(std::string_view text, size_t size) {
    std::vector<uint8_t> bytes = Bytes(text);
    bytes.resize(size, 0);
    return bytes;
}

void AddFixedEntries(RegistryBuilder& b) {
    b.addEntry("/setting/system/language", kInteger, BigEndian(1, 4), 0x1A2B);
    b.addEntry("/setting/system/timeZone", kInteger, BigEndian(60, 4), 0x0C41);
    b.addEntry("/setting/system/summerTime", kInteger, BigEndian(0, 4), 0x0C42);
    b.addEntry("/setting/system/dateFormat", kInteger, BigEndian(2, 2), 0x0017);
    b.addEntry("/setting/system/hourFormat", kInteger, BigEndian(1, 2), 0x0018, 0x01);
    b.addEntry("/setting/system/nickName", kString, Padded("PS3-CONSOLE", 0x80), 0x5D00);
    b.addEntry("/setting/system/region", kString, Padded("EU", 4), 0x0101);
    b.addEntry("/setting/system/emptyText", kString, {}, 0x0000);
    b.addEntry("/setting/system/shortText", kString, Padded("ten chars!", 10), 0x0202);
    b.addEntry("/setting/system/elevenText", kString, Padded("eleven char", 11), 0x0303);
    b.addEntry("/setting/system/maxInteger", kInteger, BigEndian(0xFFFFFFFF, 4), 0xFFFF);
    b.addEntry("/setting/system/macAddress", kBinary,
               {0x00, 0x1F, 0xA7, 0x00, 0x00, 0x42, 0xFF, 0x00}, 0x7777, 0xAA);
    b.addEntry("/setting/system/binaryMixed", kBinary, {0x01, 0x00, 0x02, 0xFF}, 0x1234);
    b.addEntry("/setting/user/comment", kString, Padded("He said \"hi\", then left", 32), 0x4242);
    b.addEntry("/setting/user/csvLike", kString, Padded("a,b,,c\r\nd", 16), 0x4343);
    b.addEntry("/setting/user/withNul", kString, Padded(std::string("ab\0cd", 5), 12), 0x4444);
    // An entry whose name is the parent path of later entries.
    b.addEntry("/setting/net/proxy", kInteger, BigEndian(1, 4), 0x5001);
    b.addEntry("/setting/net/proxy/server", kString, Padded("proxy.local", 0x40), 0x5002);
    b.addEntry("/setting/net/proxy/port", kInteger, BigEndian(8080, 4), 0x5003);
    // A one-level key.
    b.addEntry("/version", kString, Padded("4.90", 8), 0x0490, 0x0D);
}

void AddGeneratedEntries(RegistryBuilder& b, Random& random) {
    const std::vector<std::string> areas = {"system",  "video",    "audio",     "net",     "user",
                                            "browser", "parental", "bluetooth", "camera",  "music",
                                            "photo",   "printer",  "premo",     "dlna",    "np",
                                            "game",    "bgdl",     "debug",     "display", "input"};
    const std::vector<std::string> groups = {"general", "config",  "profile", "device",
                                             "option",  "history", "cache",   "account"};
    const std::vector<std::string> leaves = {"enable", "mode", "level",   "count",  "name",
                                             "type",   "port", "timeout", "volume", "color",
                                             "format", "size", "index",   "flag",   "value"};
    for (int i = 0; i < 420; ++i) {
        std::string name = "/setting/" + areas[random.below(areas.size())];
        const uint32_t depth = random.below(4);  // with the area: one to five levels under /setting
        for (uint32_t level = 0; level < depth; ++level)
            name += "/" + groups[random.below(groups.size())] + std::to_string(random.below(4));
        name += "/" + leaves[random.below(leaves.size())] + std::to_string(i);
        const auto checksum = static_cast<uint16_t>(random.next());
        const auto endByte = static_cast<uint8_t>(random.below(5) == 0 ? random.next() : 0);
        switch (random.below(5)) {
            case 0:
            case 1:
                b.addEntry(name, kInteger, BigEndian(random.below(1000), 4), checksum, endByte);
                break;
            case 2:
                b.addEntry(name, kInteger, BigEndian(random.below(0x10000), 2), checksum, endByte);
                break;
            case 3: {
                const size_t size = std::vector<size_t>{0, 8, 10, 11, 16, 32, 64}[random.below(7)];
                b.addEntry(name, kString, Padded("text" + std::to_string(i), size), checksum,
                           endByte);
                break;
            }
            default: {
                std::vector<uint8_t> value(1 + random.below(24));
                for (auto& byte : value)
                    byte = static_cast<uint8_t>(random.below(3) ? random.next() : 0);
                b.addEntry(name, kBinary, value, checksum, endByte);
            }
        }
    }
}

// The sample as the generator writes it: 256 KiB, with loose texts in the padding.
std::vector<uint8_t> SampleImage(bool headerRecord) {
    RegistryBuilder builder;
    builder.headerRecord = headerRecord;
    Random random;
    AddFixedEntries(builder);
    AddGeneratedEntries(builder, random);
    // A key written again by a later entry: the tree shows the later one, the list the first.
    builder.addEntry("/setting/system/language", kInteger, BigEndian(2, 4), 0x1A2C);

    std::vector<uint8_t> image = builder.build();
    // Loose texts in the padding after the data area, as real dumps have.
    size_t at = builder.dataEnd() + 5 + 0x200;
    for (const char* text : {"/setting/old/unused", "backup", "\x01\x02 stale"}) {
        const std::string_view loose(text);
        std::copy(loose.begin(), loose.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
        at += 0x100;
    }
    return image;
}

// The sample cut to `size` bytes, the data area ended by an end marker after the last whole entry
// that fits, or cut inside an entry without one.
std::vector<uint8_t> Shortened(std::vector<uint8_t> image, size_t size, bool endMarker) {
    size_t e = image[0xFFF2 + 2] == 0x4D && image[0xFFF2 + 3] == 0x26 ? 0x10000 : 0xFFF2;
    while (true) {
        const size_t next = e + 10 + (size_t{image[e + 6]} << 8 | image[e + 7]);
        if (next + 4 > size) break;
        e = next;
    }
    if (endMarker) {
        const uint8_t end[] = {0xAA, 0xBB, 0xCC, 0xDD};
        std::copy(std::begin(end), std::end(end), image.begin() + static_cast<std::ptrdiff_t>(e));
        std::fill(image.begin() + static_cast<std::ptrdiff_t>(e + 4), image.end(), 0);
    }
    image.resize(size);
    return image;
}

bool Write(const std::string& path, const std::vector<uint8_t>& image) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) std::fprintf(stderr, "make_sample_registry: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

// Short registry files for the fuzz targets: 65,600 to 70,000 bytes, so that a load is quick.
bool WriteSeeds(const std::string& folder) {
    std::filesystem::create_directories(folder);
    return Write(folder + "/sample-short.sys", Shortened(SampleImage(true), 68000, true)) &&
           Write(folder + "/sample-cut.sys", Shortened(SampleImage(true), 66001, false)) &&
           Write(folder + "/sample-no-header.sys", Shortened(SampleImage(false), 69000, true)) &&
           Write(folder + "/deep-names.sys", thornbeck::sample::DeepNamesImage(200, 68000));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--seeds") return WriteSeeds(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_registry OUT | --seeds FOLDER\n");
        return 2;
    }
    return Write(argv[1], SampleImage(true)) ? 0 : 1;
}

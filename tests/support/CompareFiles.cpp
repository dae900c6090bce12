#include "support/CompareFiles.h"

#include "RegistryBuilder.h"

namespace thornbeck::test {
namespace {

using sample::BigEndian;
using sample::Bytes;

std::vector<uint8_t> Build(bool other, bool typeClash) {
    sample::RegistryBuilder builder;
    builder.fileSize = 0x20000;
    builder.addKey("/c/hid", other ? 0x0022 : 0x0000);
    builder.addEntry("/c/int", 1, BigEndian(other ? 0x20 : 0x10, 4), other ? 0x0009 : 0x0001);
    builder.addEntry("/c/text", 2, Bytes(other ? "a longer text" : "abc"), 0x0002);
    builder.addEntry("/c/bin", 0,
                     other ? std::vector<uint8_t>{7, 7} : std::vector<uint8_t>{1, 2, 3, 4, 5, 6},
                     0x0003);
    builder.addEntry(
        {builder.keyFor("/c/flags"), 1, BigEndian(5, 4), static_cast<uint16_t>(other ? 0xA5 : 0)});
    builder.addEntry("/c/hid", 1, BigEndian(6, 4), 0x0006);
    builder.addEntry("/c/same", 2, Bytes("same"), 0x0007);
    if (other && typeClash) {
        builder.addEntry("/c/clash", 2, Bytes("zz"), 0x0008);
    } else {
        builder.addEntry("/c/clash", 1, BigEndian(8, 4), 0x0008);
    }
    builder.addEntry(other ? "/c/onlyB" : "/c/onlyA", 1, BigEndian(1, 4));
    return builder.build();
}

}  // namespace

ComparePair CompareImages(bool typeClash) {
    return {Build(false, false), Build(true, typeClash)};
}

ComparePair IntegerSizeImages() {
    ComparePair pair;
    for (const bool other : {false, true}) {
        sample::RegistryBuilder builder;
        builder.fileSize = 0x20000;
        builder.addEntry("/setting/bdvideo", 1, BigEndian(other ? 5 : 1, other ? 2 : 4), 0x0001);
        builder.addEntry("/setting/after", 2, Bytes("after"), 0x0002);
        (other ? pair.b : pair.a) = builder.build();
    }
    return pair;
}

}  // namespace thornbeck::test

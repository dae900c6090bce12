#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/format/RegistryImage.h"

namespace thornbeck {

// One region of the file, in file order.
struct FileRegion {
    std::string name;  // "file header", "key area", ...
    int64_t from = 0;  // its first offset
    int64_t length = 0;
    std::string state;  // a word on what it holds
};

// A run of at least four printable bytes (0x20 to 0x7E) in the tail after the end marker, where
// dumps keep values of their own (user and system names, network logins, addresses, serials).
// Only read: nothing tells what they mean.
struct LooseValue {
    int64_t offset = 0;
    std::string bytes;
};

struct FileLayout {
    std::vector<FileRegion> regions;
    std::vector<LooseValue> looseValues;
};

// The bytes of the file header that dumps hold.
inline constexpr uint8_t kDumpHeader[16] = {0xBC, 0xAD, 0xAD, 0xBC, 0x00, 0x00, 0x00, 0x90,
                                            0x00, 0x00, 0x00, 0x02, 0xBC, 0xAD, 0xAD, 0xBC};
// The shortest run of printable bytes counted as a loose value.
inline constexpr size_t kShortestLooseValue = 4;

// The regions of the image: the file header, the key area (the key records the entries use and
// the bytes they cover), the data-area marker with the header record, the entries, the free room
// before the end marker, the end marker, the tail after it; then the loose values of the tail.
// A file too short to be a registry file, or without the marker, has the regions it does have.
// Reads only inside the image, walking it once as a load does.
FileLayout DescribeLayout(const RegistryImage& image);

// Where the tail after the end marker starts; the image's size when there is no end marker.
int64_t TailStart(const RegistryImage& image);

}  // namespace thornbeck

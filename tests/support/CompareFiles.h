#pragma once

#include <cstdint>
#include <vector>

namespace thornbeck::test {

// Two small registries to compare. Both hold /c/same alike. In B, /c/int has another value and
// checksum, /c/text a longer string, /c/bin a shorter binary, /c/flags other flags and /c/hid
// another header ID; /c/onlyA is only in A, /c/onlyB only in B. With `typeClash`, B's /c/clash
// is a String where A's is an Integer, so taking its value is refused.
struct ComparePair {
    std::vector<uint8_t> a;
    std::vector<uint8_t> b;
};
ComparePair CompareImages(bool typeClash = false);

// Two registries whose /setting/bdvideo is an Integer of 4 bytes (00000001) in A and of 2 (0005)
// in B, as on two consoles of another firmware: its Value can be taken, its Data Size cannot.
ComparePair IntegerSizeImages();

}  // namespace thornbeck::test

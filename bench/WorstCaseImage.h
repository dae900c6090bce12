#pragma once

#include <cstdint>
#include <vector>

namespace thornbeck::bench {

// The largest file the editor is built for: the key area full of the shortest names (about 8,000
// distinct keys) and a 64 MiB data area of about 4 million entries, most of them repeating those
// keys, some with values of 65535 bytes.
std::vector<uint8_t> WorstCaseImage();

// A file of `keys` distinct keys of three to five levels, each with one entry.
std::vector<uint8_t> ManyKeysImage(int keys);

}  // namespace thornbeck::bench

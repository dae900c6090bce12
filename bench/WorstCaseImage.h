#pragma once

#include <cstdint>
#include <vector>

namespace thornbeck::bench {

// The largest file the editor is built for: the key area full of the shortest names (about 8,000
// distinct keys) and a 64 MiB data area of about 4 million entries, most of them repeating those
// keys, some with values of 65535 bytes.
std::vector<uint8_t> WorstCaseImage();

// A 1 MiB file whose 65,536 entries use every key record a 16-bit key offset can name, the
// most the format allows: the key area is "/x/y/z/..." of random letters, so that most names
// are thousands of levels deep, and the records past the key area read the data area's bytes.
std::vector<uint8_t> EveryKeyRecordImage();

// A file of `keys` distinct keys of three to five levels, each with one entry.
std::vector<uint8_t> ManyKeysImage(int keys);

}  // namespace thornbeck::bench

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace thornbeck::sample {

// A hostile file of `fileSize` bytes: the key area from 0x10 is "/x/y/z/..." of random lower-case
// letters, so that every name-length field at an even offset reads as 0x2F?? (about 12,000), and
// `entries` data entries of no value point at as many different even key records. Every name is
// then about 6,000 levels deep, and names part after their first few levels. `entries` must fit:
// at most (fileSize - 0x10000) / 10 and at most 32,000.
std::vector<uint8_t> DeepNamesImage(int entries, size_t fileSize = 256 * 1024, uint32_t seed = 1);

}  // namespace thornbeck::sample

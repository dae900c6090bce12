#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace thornbeck::sample {

// A realistic file whose key area is full: as many distinct keys of `nameLength` characters
// ("/ab/12/xyz..."), in folders of ten below folders of a hundred, as the key area holds, each
// with one 4-byte Integer entry. `nameLength` is at least 8. The count is `*keys` when given.
std::vector<uint8_t> ShortNamesImage(size_t nameLength, size_t fileSize = 256 * 1024,
                                     size_t* keys = nullptr);

}  // namespace thornbeck::sample

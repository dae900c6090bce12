#pragma once

#include <cstdint>

namespace thornbeck {

// Where one data entry lives in the image: entry offset E, data size S and the absolute offset K of
// its key record. Every operation on an entry reads the entry's bytes through these three numbers.
struct EntryRef {
    int32_t offset = 0;
    int32_t size = 0;
    int32_t keyOffset = 0;

    friend bool operator==(const EntryRef&, const EntryRef&) = default;
};

}  // namespace thornbeck

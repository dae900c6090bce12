#pragma once

#include <cstdint>
#include <string>

#include "core/format/RegistryImage.h"

namespace thornbeck {

// Turns `length` bytes of the image from `offset` into text:
// - "" when offset or length is 0 (or length is negative);
// - with asNumber and a length of 1 to 4: the unsigned big-endian number in decimal ("0" for zero);
// - otherwise exactly `length` characters, one per byte (Latin-1), NUL bytes included.
// A byte outside the image gives a space in a text and adds nothing to a number.
std::string ReadField(const RegistryImage& image, int64_t offset, int64_t length, bool asNumber);

}  // namespace thornbeck

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "registry/RegistryFormat.h"
#include "registry/RegistryImage.h"

namespace thornbeck {

// The key names of one load. A stored key offset is 16 bits wide, so every name lies in the first
// kKeyRegionEnd bytes of the image; this keeps a copy of the part of that region that the load's
// names reach (`namesEnd`), as it was when the file was loaded, with spaces for whatever lay
// beyond the image's end, so that tree and list keys stay fixed while Modify changes the image,
// and a name is a view instead of an allocation.
class KeyNameStore {
public:
    KeyNameStore() = default;
    // `namesEnd`: one past the last byte of any name that will be asked for; a name reaching
    // further is cut there.
    KeyNameStore(const RegistryImage& image, int64_t namesEnd);

    // The name of the key record at K: its length from K + 2, its bytes from K + 5. A record
    // that does not lie in the key region gives an empty name.
    std::string_view nameAt(int32_t keyOffset) const;

private:
    std::vector<char> region;
    int64_t imageSize = 0;
};

}  // namespace thornbeck

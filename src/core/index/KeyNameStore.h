#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/format/RegistryFormat.h"
#include "core/format/RegistryImage.h"

namespace thornbeck {

// The key names of one load, as views of the image's own bytes: a stored key offset is 16 bits
// wide, so every name lies in the first kKeyRegionEnd bytes. The store keeps the image's buffer
// alive, and Modify refuses any change that would alter a name a load reads, so tree and list
// keys stay fixed while the image is edited, and a name costs no copy.
//
// A name that runs past the image's end reads a space for each byte beyond it, as any text read
// from the image does. Those names alone need bytes of their own: the store copies the image
// from where the first of them starts (`paddedFrom`) and pads the copy with spaces.
class KeyNameStore {
public:
    KeyNameStore() = default;
    // Every name a key record can hold.
    explicit KeyNameStore(const RegistryImage& image);
    // `namesEnd`: one past the last byte of any name that will be asked for; a name reaching
    // further is cut there. `paddedFrom`: where the first name that runs past the image's end
    // starts; a name that runs past the end but starts before it is cut at the image's end.
    KeyNameStore(const RegistryImage& image, int64_t namesEnd, int64_t paddedFrom);

    // The name of the key record at K: its length from K + 2, its bytes from K + 5. A record
    // that does not lie in the key region gives an empty name.
    std::string_view nameAt(int32_t keyOffset) const;

    // The length of the padded copy for names reaching `namesEnd` in an image of `imageSize`
    // bytes, when the first name that runs past its end starts at `firstCrossing`.
    static int64_t PaddedBytes(int64_t imageSize, int64_t namesEnd, int64_t firstCrossing);

private:
    std::shared_ptr<const std::vector<uint8_t>> owner;  // the image's buffer
    std::string_view inImage;                           // the image's bytes up to namesEnd
    std::vector<char> padded;  // from paddedFrom to namesEnd, spaces beyond the image
    int64_t paddedFrom = 0;
    int64_t namesEnd = 0;
};

}  // namespace thornbeck

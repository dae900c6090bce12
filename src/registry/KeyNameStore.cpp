#include "registry/KeyNameStore.h"

#include <algorithm>

#include "registry/RegistryFormat.h"

namespace thornbeck {

KeyNameStore::KeyNameStore(const RegistryImage& image, int64_t namesEnd)
    : region(static_cast<size_t>(std::clamp<int64_t>(namesEnd, 0, format::kKeyRegionEnd)), ' '),
      imageSize(image.size()) {
    const auto bytes = image.bytes();
    const size_t copied = std::min(bytes.size(), region.size());
    std::copy_n(bytes.begin(), copied, region.begin());
}

std::string_view KeyNameStore::nameAt(int32_t keyOffset) const {
    const int64_t lengthAt = int64_t{keyOffset} + format::kNameLengthAt;
    const int64_t nameAt = int64_t{keyOffset} + format::kNameAt;
    if (keyOffset < 0 || nameAt > static_cast<int64_t>(region.size())) return {};
    // Length bytes beyond the image's end count as 0, as in any number read from the image.
    const auto byte = [&](int64_t at) -> size_t {
        return at < imageSize ? static_cast<uint8_t>(region[static_cast<size_t>(at)]) : 0;
    };
    const size_t length = byte(lengthAt) << 8 | byte(lengthAt + 1);
    const auto start = static_cast<size_t>(nameAt);
    return {region.data() + start, std::min(length, region.size() - start)};
}

}  // namespace thornbeck

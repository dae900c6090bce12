#include "core/format/ReadField.h"

#include <algorithm>

namespace thornbeck {

std::string ReadField(const RegistryImage& image, int64_t offset, int64_t length, bool asNumber) {
    if (offset == 0 || length <= 0) return {};
    if (asNumber && length <= 4)
        return std::to_string(image.readNumber(offset, static_cast<int>(length)));
    std::string text(static_cast<size_t>(length), ' ');
    const auto bytes = image.bytes();
    // Copy the part that lies inside the image; the rest stays spaces.
    const int64_t first = std::max<int64_t>(offset, 0);
    const int64_t last = std::min<int64_t>(offset + length, image.size());
    for (int64_t at = first; at < last; ++at)
        text[static_cast<size_t>(at - offset)] = static_cast<char>(bytes[static_cast<size_t>(at)]);
    return text;
}

}  // namespace thornbeck

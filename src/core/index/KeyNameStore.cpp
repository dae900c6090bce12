#include "core/index/KeyNameStore.h"

#include <algorithm>

#include "core/format/RegistryFormat.h"

namespace thornbeck {

namespace {
// A name holds at most this many bytes, so one that runs past the end of an image of S bytes
// starts after S - kLongestName.
constexpr int64_t kLongestName = 0xFFFF;
}  // namespace

KeyNameStore::KeyNameStore(const RegistryImage& image)
    : KeyNameStore(image, format::kKeyRegionEnd, image.size() - kLongestName) {}

KeyNameStore::KeyNameStore(const RegistryImage& image, int64_t namesEnd, int64_t paddedFrom)
    : owner(image.sharedBytes()),
      namesEnd(std::clamp<int64_t>(namesEnd, 0, format::kKeyRegionEnd)) {
    const auto bytes = image.bytes();
    const int64_t size = static_cast<int64_t>(bytes.size());
    inImage = {reinterpret_cast<const char*>(bytes.data()),
               static_cast<size_t>(std::min(size, this->namesEnd))};
    this->paddedFrom = std::clamp<int64_t>(paddedFrom, 0, size);
    // Sized as the load's budget counted it.
    const int64_t copied = PaddedBytes(size, namesEnd, paddedFrom);
    if (copied == 0) return;
    padded.assign(static_cast<size_t>(copied), ' ');
    std::copy(bytes.begin() + this->paddedFrom, bytes.end(), padded.begin());
}

int64_t KeyNameStore::PaddedBytes(int64_t imageSize, int64_t namesEnd, int64_t firstCrossing) {
    const int64_t end = std::clamp<int64_t>(namesEnd, 0, format::kKeyRegionEnd);
    if (end <= imageSize) return 0;
    return end - std::clamp<int64_t>(firstCrossing, 0, imageSize);
}

std::string_view KeyNameStore::nameAt(int32_t keyOffset) const {
    const int64_t lengthAt = int64_t{keyOffset} + format::kNameLengthAt;
    const int64_t start = int64_t{keyOffset} + format::kNameAt;
    if (keyOffset < 0 || start > namesEnd) return {};
    const auto size = static_cast<int64_t>(inImage.size());
    // Length bytes beyond the image's end count as 0, as in any number read from the image.
    const auto byte = [&](int64_t at) -> int64_t {
        return at < size ? static_cast<uint8_t>(inImage[static_cast<size_t>(at)]) : 0;
    };
    const int64_t end = std::min(start + (byte(lengthAt) << 8 | byte(lengthAt + 1)), namesEnd);
    if (end <= size)
        return inImage.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    if (start < paddedFrom)  // not a name the store was made for: cut at the image's end
        return inImage.substr(static_cast<size_t>(start), static_cast<size_t>(size - start));
    return {padded.data() + (start - paddedFrom), static_cast<size_t>(end - start)};
}

}  // namespace thornbeck

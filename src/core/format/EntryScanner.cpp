#include "core/format/EntryScanner.h"

#include "core/format/RegistryFormat.h"

namespace thornbeck {

using namespace format;

bool IsHeaderRecord(const RegistryImage& image) {
    return image.matches(kDataAreaStart + kKeyOffsetAt, kDataAreaMarker) &&
           image.readNumber(kDataAreaStart + kSizeAt, 2) == kHeaderRecordSize;
}

EntryScanner::EntryScanner(const RegistryImage& image) : image(image) {
    longEnough = image.size() >= kMinimumFileSize;
    hasMarker = longEnough && image.matches(kMarkerOffset, kDataAreaMarker);
    done = !hasMarker;
    position = kDataAreaStart;
    if (hasMarker && IsHeaderRecord(image)) {
        headerRecord = true;
        position += kEntryOverhead + kHeaderRecordSize;
    }
}

std::optional<EntryRef> EntryScanner::next() {
    if (done || position >= int64_t{image.size()} - 4) {
        done = true;
        return std::nullopt;
    }
    if (image.matches(position, kEndMarker)) {
        done = true;
        endMarker = static_cast<int32_t>(position);
        return std::nullopt;
    }
    EntryRef ref;
    ref.offset = static_cast<int32_t>(position);
    ref.size = static_cast<int32_t>(image.readNumber(position + kSizeAt, 2));
    ref.keyOffset =
        static_cast<int32_t>(image.readNumber(position + kKeyOffsetAt, 2)) + kKeyOffsetBias;
    position += kEntryOverhead + ref.size;
    return ref;
}

}  // namespace thornbeck

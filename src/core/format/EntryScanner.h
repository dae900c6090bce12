#pragma once

#include <cstdint>
#include <optional>

#include "core/format/EntryRef.h"
#include "core/format/RegistryImage.h"

namespace thornbeck {

// Walks the data area entry by entry. It needs at least kMinimumFileSize bytes and the data-area
// marker; it starts at 0xFFF2, steps over the header record of real dumps, and stops at the end
// marker or when the entry offset reaches size - 4. Each step advances by at least 10 bytes, so
// the walk ends on any input. The image must not change while a scanner walks it.
class EntryScanner {
public:
    explicit EntryScanner(const RegistryImage& image);

    bool isRegistryFile() const { return longEnough; }
    bool hasDataAreaMarker() const { return hasMarker; }
    bool hasHeaderRecord() const { return headerRecord; }

    // The next entry, or nothing once the walk has ended.
    std::optional<EntryRef> next();
    // Once next() has given nothing: where the end marker lies, if the walk stopped at one.
    std::optional<int32_t> endMarkerOffset() const { return endMarker; }

private:
    const RegistryImage& image;
    bool longEnough = false;
    bool hasMarker = false;
    bool headerRecord = false;
    bool done = false;
    int64_t position = 0;
    std::optional<int32_t> endMarker;
};

// True when the record at 0xFFF2 is the data area's header record rather than a first entry.
bool IsHeaderRecord(const RegistryImage& image);

}  // namespace thornbeck

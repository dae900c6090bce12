#include "core/report/FileLayout.h"

#include <algorithm>
#include <vector>

#include "core/format/EntryScanner.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {

using namespace format;

namespace {

bool IsPrintable(uint8_t byte) {
    return byte >= 0x20 && byte <= 0x7E;
}

std::string Count(int64_t number, const char* one, const char* many) {
    return std::to_string(number) + " " + (number == 1 ? one : many);
}

// The runs of printable bytes of [from, image end).
std::vector<LooseValue> LooseValuesFrom(const RegistryImage& image, int64_t from) {
    std::vector<LooseValue> values;
    const auto bytes = image.bytes();
    const auto end = static_cast<int64_t>(bytes.size());
    for (int64_t at = std::max<int64_t>(from, 0); at < end;) {
        if (!IsPrintable(bytes[static_cast<size_t>(at)])) {
            ++at;
            continue;
        }
        int64_t stop = at;
        while (stop < end && IsPrintable(bytes[static_cast<size_t>(stop)])) ++stop;
        if (stop - at >= static_cast<int64_t>(kShortestLooseValue))
            values.push_back({at, std::string(bytes.begin() + at, bytes.begin() + stop)});
        at = stop;
    }
    return values;
}

struct Walk {
    int64_t entries = 0;
    int64_t firstEntry = -1;
    int64_t entriesEnd = -1;  // just past the last entry
    int64_t keyRecords = 0;
    int64_t keyBytes = 0;  // the bytes of the key records the entries use, inside the image
    std::optional<int32_t> endMarker;
    bool headerRecord = false;
};

Walk WalkEntries(const RegistryImage& image) {
    Walk walk;
    EntryScanner scanner(image);
    walk.headerRecord = scanner.hasHeaderRecord();
    std::vector<bool> records(0x10000 + kKeyOffsetBias, false);  // by absolute key offset
    while (const auto entry = scanner.next()) {
        if (walk.firstEntry < 0) walk.firstEntry = entry->offset;
        ++walk.entries;
        walk.entriesEnd = int64_t{entry->offset} + kEntryOverhead + entry->size;
        const auto record = static_cast<size_t>(entry->keyOffset);
        if (record >= records.size() || records[record]) continue;
        records[record] = true;
        ++walk.keyRecords;
        const int64_t k = entry->keyOffset;
        const int64_t length =
            image.contains(k, kNameAt) ? image.readNumber(k + kNameLengthAt, 2) : 0;
        const int64_t end = std::min<int64_t>(k + kNameAt + length, image.size());
        walk.keyBytes += std::max<int64_t>(end - k, 0);
    }
    walk.endMarker = scanner.endMarkerOffset();
    return walk;
}

}  // namespace

int64_t TailStart(const RegistryImage& image) {
    EntryScanner scanner(image);
    while (scanner.next()) {
    }
    const auto marker = scanner.endMarkerOffset();
    return marker ? int64_t{*marker} + static_cast<int64_t>(kEndMarker.size()) : image.size();
}

FileLayout DescribeLayout(const RegistryImage& image) {
    FileLayout layout;
    auto& regions = layout.regions;
    const int64_t size = image.size();
    const int64_t headerLength = std::min<int64_t>(16, size);
    regions.push_back(
        {"file header", 0, headerLength,
         image.matches(0, kDumpHeader) ? "the bytes dumps hold" : "other bytes than dumps hold"});
    if (size < kMinimumFileSize) {
        regions.push_back({"rest of the file", headerLength, size - headerLength,
                           "too short to be a registry file"});
        return layout;
    }
    const Walk walk = WalkEntries(image);
    regions.push_back({"key area", 16, kMarkerOffset - 16,
                       Count(walk.keyRecords, "key record", "key records") + " used, " +
                           Count(walk.keyBytes, "byte", "bytes")});
    const bool marker = image.matches(kMarkerOffset, kDataAreaMarker);
    const int64_t markerLength = 2 + (walk.headerRecord ? kHeaderRecordSize : 0);
    regions.push_back({"data-area marker and header record", kMarkerOffset, markerLength,
                       !marker             ? "no marker: the file has no entries"
                       : walk.headerRecord ? "marker and header record"
                                           : "marker, no header record"});
    const int64_t dataStart = kMarkerOffset + markerLength;
    if (!marker) {
        regions.push_back({"rest of the file", dataStart, size - dataStart, "not read"});
        layout.looseValues = LooseValuesFrom(image, dataStart);
        return layout;
    }
    const int64_t firstEntry = walk.firstEntry >= 0 ? walk.firstEntry : dataStart;
    const int64_t entriesEnd = walk.entriesEnd >= 0 ? std::min(walk.entriesEnd, size) : firstEntry;
    if (firstEntry > dataStart)
        regions.push_back({"before the first entry", dataStart, firstEntry - dataStart, ""});
    regions.push_back(
        {"entries", firstEntry, entriesEnd - firstEntry, Count(walk.entries, "entry", "entries")});
    if (!walk.endMarker) {
        regions.push_back({"end marker", entriesEnd, 0, "none: the entries run to the end"});
        return layout;
    }
    const int64_t end = *walk.endMarker;
    regions.push_back({"free room", entriesEnd, std::max<int64_t>(end - entriesEnd, 0),
                       Count(std::max<int64_t>(end - entriesEnd, 0), "byte", "bytes") +
                           " before the end marker"});
    regions.push_back({"end marker", end, 4, "AA BB CC DD"});
    const int64_t tail = end + 4;
    layout.looseValues = LooseValuesFrom(image, tail);
    regions.push_back(
        {"tail", tail, size - tail,
         Count(static_cast<int64_t>(layout.looseValues.size()), "loose value", "loose values")});
    return layout;
}

}  // namespace thornbeck

#include "core/fileio/DiskStamp.h"

#include "core/fileio/RegularFile.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {

uint64_t ContentHash(std::span<const uint8_t> bytes) {
    uint64_t hash = kFnv1aStart;
    for (const uint8_t byte : bytes) hash = Fnv1aStep(hash, byte);
    return hash;
}

DiskChange CompareWithDisk(const std::filesystem::path& path, const DiskStamp& stamp) {
    const FileRead checked = CheckRegularFile(path);
    if (checked.missing) return DiskChange::Removed;
    if (!checked.failure.empty() || checked.stamp.size != stamp.size ||
        checked.stamp.modified != stamp.modified)
        return DiskChange::Changed;
    const FileRead read = ReadRegularFile(path);
    if (read.missing) return DiskChange::Removed;
    return read.failure.empty() && read.stamp == stamp ? DiskChange::None : DiskChange::Changed;
}

}  // namespace thornbeck

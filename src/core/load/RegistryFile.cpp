#include "core/load/RegistryFile.h"

#include "core/fileio/RegularFile.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {

std::string TooShortReason(size_t size) {
    return std::to_string(size) + " bytes, shorter than the " +
           std::to_string(format::kMinimumFileSize) + " bytes of a registry file";
}

OpenOutcome OpenRegistryFile(const std::filesystem::path& path) {
    using Kind = OpenRefusal::Kind;
    FileRead read = ReadRegularFile(path);
    if (!read.failure.empty())
        return {{},
                OpenRefusal{read.missing ? Kind::Missing : Kind::Unreadable,
                            "cannot read: " + read.failure}};
    if (read.bytes.size() < static_cast<size_t>(format::kMinimumFileSize))
        return {{},
                OpenRefusal{Kind::TooShort,
                            "not a registry file: " + TooShortReason(read.bytes.size())}};
    RegistryFile file{RegistryImage(std::move(read.bytes)), {}, read.stamp};
    file.index = IndexRegistry(file.image);
    return {std::move(file), {}};
}

}  // namespace thornbeck

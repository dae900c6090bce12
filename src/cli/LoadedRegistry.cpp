#include "cli/LoadedRegistry.h"

#include "cli/EscapedText.h"
#include "core/fileio/SystemText.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck::cli {
namespace fs = std::filesystem;

fs::path PathOfArgument(std::string_view argument) {
    return PathFromText(argument);
}

FileRead ReadInputFile(const fs::path& path) {
    FileRead read = ReadRegularFile(path);
    if (!read.failure.empty()) read.failure = "cannot read: " + read.failure;
    return read;
}

std::string TooShortReason(size_t size) {
    return std::to_string(size) + " bytes, shorter than the " +
           std::to_string(format::kMinimumFileSize) + " bytes of a registry file";
}

void ReportFileProblem(std::string_view file, std::string_view reason, std::ostream& err) {
    err << "thornbeck-cli: " << file << ": " << reason << '\n';
}

std::optional<LoadedRegistry> LoadRegistry(std::string_view file, std::ostream& err) {
    FileRead read = ReadInputFile(PathOfArgument(file));
    if (!read.failure.empty()) {
        ReportFileProblem(file, read.failure, err);
        return std::nullopt;
    }
    if (read.bytes.size() < static_cast<size_t>(format::kMinimumFileSize)) {
        ReportFileProblem(file, "not a registry file: " + TooShortReason(read.bytes.size()), err);
        return std::nullopt;
    }
    LoadedRegistry loaded{std::string(file), RegistryImage(std::move(read.bytes)), {}, read.stamp};
    loaded.index = IndexRegistry(loaded.image);
    if (const auto& refused = loaded.index.tooManyKeys()) {
        ReportFileProblem(
            file, "refused: it " + refused->reason() + " (damaged, or made to break editors)", err);
        return std::nullopt;
    }
    return loaded;
}

std::optional<KeyedEntry> EntryOfKey(const RegistryIndex& index, std::string_view key) {
    const auto node = index.findNode(key);
    if (!node) return std::nullopt;
    const auto& entry = index.nodes()[static_cast<size_t>(*node)].entry;
    if (!entry) return std::nullopt;
    return KeyedEntry{*node, *entry};
}

std::optional<KeyedEntry> RequireEntry(const LoadedRegistry& file, std::string_view key,
                                       std::ostream& err) {
    if (auto found = EntryOfKey(file.index, key)) return found;
    const bool folder = file.index.findNode(key).has_value();
    ReportFileProblem(file.name,
                      folder ? VisibleText(key) + " is a key folder, not an entry"
                             : "no entry has the key " + VisibleText(key),
                      err);
    return std::nullopt;
}

}  // namespace thornbeck::cli

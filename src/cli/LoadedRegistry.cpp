#include "cli/LoadedRegistry.h"

#include "cli/EscapedText.h"
#include "core/fileio/SystemText.h"

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

void ReportFileProblem(std::string_view file, std::string_view reason, std::ostream& err) {
    err << "thornbeck-cli: " << file << ": " << reason << '\n';
}

std::optional<LoadedRegistry> LoadRegistry(std::string_view file, std::ostream& err) {
    OpenOutcome opened = OpenRegistryFile(PathOfArgument(file));
    if (!opened.file) {
        ReportFileProblem(file, opened.refusal->reason, err);
        return std::nullopt;
    }
    return LoadedRegistry{std::string(file), std::move(opened.file->image),
                          std::move(opened.file->index), opened.file->stamp};
}

std::optional<KeyedEntry> EntryOfKey(const RegistryIndex& index, std::string_view key) {
    const auto node = EntryNodeOfKey(index, key);
    if (!node) return std::nullopt;
    return KeyedEntry{*node, *index.nodes()[static_cast<size_t>(*node)].entry};
}

std::optional<KeyedEntry> RequireEntry(const LoadedRegistry& file, std::string_view key,
                                       std::ostream& err) {
    // A key holding a character no byte holds names no key of any file.
    const auto bytes = BytesOfArgument(key);
    if (bytes)
        if (auto found = EntryOfKey(file.index, *bytes)) return found;
    const bool folder = bytes && file.index.findNode(*bytes).has_value();
    ReportFileProblem(file.name,
                      folder ? ArgumentText(key) + " is a key folder, not an entry"
                             : "no entry has the key " + ArgumentText(key),
                      err);
    return std::nullopt;
}

}  // namespace thornbeck::cli

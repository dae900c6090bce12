#include "cli/LoadedRegistry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <system_error>

#include "cli/EscapedText.h"
#include "registry/RegistryFormat.h"

namespace thornbeck::cli {
namespace fs = std::filesystem;

namespace {

// The image's offsets are 32-bit.
constexpr uint64_t kLargestFile = std::numeric_limits<int32_t>::max();

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

fs::path PathOfArgument(std::string_view argument) {
    return fs::path(std::string(argument));
}

FileBytes ReadInputFile(const fs::path& path) {
    FileBytes read;
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error) {
        read.failure = "cannot read: " + error.message();
        return read;
    }
    if (fs::is_directory(status)) {
        read.failure = "cannot read: is a folder";
        return read;
    }
    errno = 0;
#ifdef _WIN32
    const std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
#else
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
#endif
    if (!file) {
        read.failure = std::string("cannot read: ") + std::strerror(errno);
        return read;
    }
    // Read in chunks rather than trusting the size first, so a pipe or a file that shrinks
    // while it is read still gives exactly the bytes that were there.
    std::vector<uint8_t> chunk(1 << 20);
    for (;;) {
        const size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        read.bytes.insert(read.bytes.end(), chunk.begin(),
                          chunk.begin() + static_cast<std::ptrdiff_t>(got));
        if (read.bytes.size() > kLargestFile) {
            read.bytes.clear();
            read.failure = "cannot read: larger than 2 GiB";
            return read;
        }
        if (got < chunk.size()) break;
    }
    if (std::ferror(file.get())) {
        read.bytes.clear();
        read.failure = std::string("cannot read: ") + std::strerror(errno);
    }
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
    FileBytes read = ReadInputFile(PathOfArgument(file));
    if (!read.failure.empty()) {
        ReportFileProblem(file, read.failure, err);
        return std::nullopt;
    }
    if (read.bytes.size() < static_cast<size_t>(format::kMinimumFileSize)) {
        ReportFileProblem(file, "not a registry file: " + TooShortReason(read.bytes.size()), err);
        return std::nullopt;
    }
    LoadedRegistry loaded{std::string(file), RegistryImage(std::move(read.bytes)), {}};
    loaded.index = IndexRegistry(loaded.image);
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

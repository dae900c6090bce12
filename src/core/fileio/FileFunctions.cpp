#include "core/fileio/FileFunctions.h"

#include <algorithm>
#include <system_error>

#include "core/fileio/RegularFile.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {

uint64_t FileSize(const std::filesystem::path& path) {
    const FileRead checked = CheckRegularFile(path);
    return checked.failure.empty() ? checked.stamp.size : 0;
}

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    return ReadRegularFile(path).bytes;
}

std::filesystem::path FindFileInFolder(const std::filesystem::path& folder, std::string_view name) {
    // The folder is listed even where the file system ignores case (Windows), so that the
    // name returned is the one on disk.
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    std::vector<std::filesystem::path> matches;
    for (; !error && it != end; it.increment(error)) {
        const auto candidate = it->path().filename().u8string();
        const std::string_view text(reinterpret_cast<const char*>(candidate.data()),
                                    candidate.size());
        if (text == name) return it->path();
        if (EqualsIgnoringAsciiCase(text, name)) matches.push_back(it->path());
    }
    // Directory order is arbitrary: take the smallest name so the choice is repeatable.
    if (!matches.empty()) return *std::min_element(matches.begin(), matches.end());
    // A folder that may not be listed can still hold the file.
    const auto exact = folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
    return std::filesystem::exists(exact, error) ? exact : std::filesystem::path();
}

}  // namespace thornbeck

#include "helpers/FileFunctions.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>

#include "helpers/TextFunctions.h"

namespace thornbeck {

bool FileExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

uint64_t FileSize(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) return 0;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    const uint64_t size = FileSize(path);
    if (size == 0 || size > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return {};
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (!file || file.gcount() != static_cast<std::streamsize>(size)) return {};
    return bytes;
}

std::filesystem::path FindFileInFolder(const std::filesystem::path& folder, std::string_view name) {
    std::error_code error;
    const auto exact = folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
    if (std::filesystem::exists(exact, error)) return exact;
    std::filesystem::directory_iterator it(folder, error), end;
    std::vector<std::filesystem::path> matches;
    for (; !error && it != end; it.increment(error)) {
        const auto candidate = it->path().filename().u8string();
        if (EqualsIgnoringAsciiCase(
                std::string_view(reinterpret_cast<const char*>(candidate.data()), candidate.size()),
                name))
            matches.push_back(it->path());
    }
    // Directory order is arbitrary: take the smallest name so the choice is repeatable.
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace thornbeck

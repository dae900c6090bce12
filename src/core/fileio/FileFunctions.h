#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

// File helpers that never report an error: each gives a neutral result instead.
namespace thornbeck {

// Size in bytes of the regular file at the path; 0 for a folder, a missing or unreadable file
// and anything else CheckRegularFile refuses.
uint64_t FileSize(const std::filesystem::path& path);
// ReadRegularFile's bytes: empty when the file is missing, empty, not a regular file,
// unreadable, larger than 2 GiB or cannot be read whole; nothing is ever returned in part.
// ReadRegularFile also says why.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);
// The entry of `folder` named `name` exactly, else one whose name differs only in ASCII letter
// case (dumps copied from FAT drives are often upper case); empty when there is none.
std::filesystem::path FindFileInFolder(const std::filesystem::path& folder, std::string_view name);

}  // namespace thornbeck

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace thornbeck::test {

// A fresh folder under the system's temporary folder, removed again with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::filesystem::path folder;
};

// Makes a folder refuse new files and renames, even for root (through the immutable flag);
// false when this system cannot do that.
bool MakeFolderUnwritable(const std::filesystem::path& folder);
void MakeFolderWritable(const std::filesystem::path& folder);
#ifndef _WIN32
// chattr +i / -i on a file or folder; false where the file system has no such flag or we may not
// set it.
bool SetImmutable(const std::filesystem::path& path, bool on);
#endif

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
// The names in a folder, sorted: what a save left beside a file.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);
std::filesystem::path SamplePath();
// A registry whose one entry is named by `depth` slashes, a key of `depth` levels.
std::vector<uint8_t> DeepKeyImage(size_t depth);
std::vector<uint8_t> SampleBytes();

}  // namespace thornbeck::test

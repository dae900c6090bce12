#include "support/TestFiles.h"

#include <algorithm>

#include "RegistryBuilder.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace thornbeck::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::random_device seed;
    folder = fs::temp_directory_path() /
             ("thornbeck-test-" + std::to_string(seed()) + std::to_string(seed()));
    fs::create_directories(folder);
}

TempFolder::~TempFolder() {
    MakeFolderWritable(folder);
    std::error_code error;
    // Folders a test made read-only must be writable again to be removed.
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(folder, error);
}

fs::path TempFolder::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const fs::path path = folder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path;
}

#ifdef _WIN32
// Windows has no flag that keeps even an administrator out of a folder; the tests that need
// one skip.
bool MakeFolderUnwritable(const fs::path&) {
    return false;
}

void MakeFolderWritable(const fs::path&) {}
#else
bool SetImmutable(const fs::path& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

bool MakeFolderUnwritable(const fs::path& folder) {
    if (::geteuid() == 0) return SetImmutable(folder, true);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    return true;
}

void MakeFolderWritable(const fs::path& folder) {
    if (::geteuid() == 0) SetImmutable(folder, false);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
}
#endif

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    // In one read: some tests read back outputs of hundreds of megabytes.
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

fs::path SamplePath() {
    // The build names it with '/'; Windows' separators are what programs there show.
    return fs::path(THORNBECK_SAMPLE_PATH).make_preferred();
}

std::vector<uint8_t> SampleBytes() {
    return ReadBytes(SamplePath());
}

std::vector<uint8_t> DeepKeyImage(size_t depth) {
    sample::RegistryBuilder builder;
    builder.fileSize = 0x30000;
    sample::RegistryBuilder::Entry entry;
    entry.keyOffset = 0xFFFF;  // the last key record a key offset reaches, in the padding
    builder.addEntry(entry);
    auto bytes = builder.build();
    const size_t record = 0xFFFF + 16;
    bytes[record + 2] = static_cast<uint8_t>(depth >> 8);
    bytes[record + 3] = static_cast<uint8_t>(depth);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(record + 5), depth, '/');
    return bytes;
}

}  // namespace thornbeck::test

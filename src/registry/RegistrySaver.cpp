#include "registry/RegistrySaver.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace thornbeck {
namespace fs = std::filesystem;

namespace {

std::string ErrnoReason() {
    return std::strerror(errno);
}

std::optional<std::string> FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return ErrnoReason();
#ifdef _WIN32
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))))
        return std::system_category().message(static_cast<int>(GetLastError()));
#else
    if (fsync(fileno(file)) != 0) return ErrnoReason();
#endif
    return std::nullopt;
}

void FlushFolder(const fs::path& folder) {
#ifndef _WIN32
    // Makes the rename itself durable; a file system that cannot do this loses nothing by it.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder;
#endif
}

std::optional<std::string> WriteWithFwrite(std::FILE* file, std::span<const uint8_t> bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return ErrnoReason();
    return std::nullopt;
}

// A new file beside `path` that no one else has: its name and the open file.
std::pair<fs::path, std::FILE*> CreateTemporaryBeside(const fs::path& path) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = path;
        candidate += ".tmp-" + std::to_string(random() % 1000000);
#ifdef _WIN32
        std::FILE* file = _wfopen(candidate.c_str(), L"wbx");
#else
        std::FILE* file = std::fopen(candidate.c_str(), "wbx");
#endif
        if (file) return {candidate, file};
        if (errno != EEXIST) break;
    }
    return {{}, nullptr};
}

std::optional<SaveError> WriteTemporary(const fs::path& path, std::span<const uint8_t> bytes,
                                        const ChunkWriter& writer, fs::path& temporary) {
    auto [name, file] = CreateTemporaryBeside(path);
    if (!file)
        return SaveError{path.parent_path().empty() ? fs::path(".") : path.parent_path(),
                         ErrnoReason()};
    temporary = name;
    constexpr size_t kChunk = 1 << 20;
    std::optional<std::string> failure;
    for (size_t at = 0; at < bytes.size() && !failure; at += kChunk)
        failure = writer(file, bytes.subspan(at, std::min(kChunk, bytes.size() - at)));
    if (!failure) failure = FlushToDisk(file);
    if (std::fclose(file) != 0 && !failure) failure = ErrnoReason();
    if (failure) return SaveError{path, *failure};
    return std::nullopt;
}

// Replaces the backup with the current file, keeping the old backup until the new one is whole.
std::optional<SaveError> ReplaceBackup(const fs::path& path) {
    const fs::path backup = BackupPathOf(path);
    fs::path staged = backup;
    staged += ".new";
    std::error_code error;
    fs::remove(staged, error);
    fs::create_hard_link(path, staged, error);
    if (error) {
        error.clear();
        fs::copy_file(path, staged, fs::copy_options::overwrite_existing, error);
        if (error) {
            fs::remove(staged, error);
            return SaveError{backup, error.message()};
        }
    }
    // An old read-only backup must not stop the rename on systems that honour the flag for it.
    fs::permissions(backup, fs::perms::owner_write, fs::perm_options::add, error);
    error.clear();
    fs::rename(staged, backup, error);
    if (error) {
        std::error_code ignored;
        fs::remove(staged, ignored);
        return SaveError{backup, error.message()};
    }
    return std::nullopt;
}

}  // namespace

fs::path BackupPathOf(const fs::path& path) {
    fs::path backup = path;
    backup += ".bak";
    return backup;
}

std::optional<SaveError> SaveWholeFile(const fs::path& path, std::span<const uint8_t> bytes,
                                       const SaveOptions& options) {
    fs::path temporary;
    const ChunkWriter& writer = options.writer ? options.writer : ChunkWriter(WriteWithFwrite);
    auto failure = WriteTemporary(path, bytes, writer, temporary);

    std::error_code error;
    const auto current = fs::status(path, error);
    const bool hasCurrent = !error && fs::is_regular_file(current);
    if (!failure && hasCurrent) {
        fs::permissions(temporary, current.permissions(), error);
        if (options.backup) failure = ReplaceBackup(path);
    }
    if (!failure) {
        fs::rename(temporary, path, error);
        if (error) failure = SaveError{path, error.message()};
    }
    if (failure) {
        if (!temporary.empty()) fs::remove(temporary, error);
        return failure;
    }
    FlushFolder(path.parent_path().empty() ? fs::path(".") : path.parent_path());
    return std::nullopt;
}

}  // namespace thornbeck

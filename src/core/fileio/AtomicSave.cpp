#include "core/fileio/AtomicSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>
#include <tuple>
#include <vector>

#include "core/fileio/RegularFile.h"
#include "core/fileio/SystemFiles.h"
#include "core/fileio/SystemText.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
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

fs::path FolderOf(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

std::optional<std::string> FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return ErrnoReason();
#ifdef _WIN32
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))))
        return SystemMessage(GetLastError());
#else
    if (fsync(fileno(file)) != 0) return ErrnoReason();
#endif
    return std::nullopt;
}

void FlushFolder(const fs::path& folder) {
#ifndef _WIN32
    // Makes the renames themselves durable; a file system that cannot do this loses nothing.
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

// Gives `from` the name `to`, replacing a file there in one step; the system's reason when it
// cannot. Windows writes the change through to the disk before it returns.
std::optional<std::string> Rename(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return SystemMessage(GetLastError());
#else
    std::error_code error;
    fs::rename(from, to, error);
    if (error) return error.message();
#endif
    return std::nullopt;
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

void RemoveQuietly(const fs::path& path) {
    std::error_code ignored;
    // A read-only file cannot be removed on systems that honour the flag for it.
    fs::permissions(path, fs::perms::owner_write,
                    fs::perm_options::add | fs::perm_options::nofollow, ignored);
    fs::remove(path, ignored);
}

// `path` with `infix` and eight random letters appended, as mkstemp names its files.
fs::path RandomNameBeside(const fs::path& path, const std::string& infix, std::mt19937_64& random) {
    static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix = infix;
    for (int i = 0; i < 8; ++i) suffix += kLetters[random() % (sizeof kLetters - 1)];
    fs::path name = path;
    name += suffix;
    return name;
}

std::mt19937_64 Seeded() {
    std::random_device seed;
    return std::mt19937_64((uint64_t{seed()} << 32) ^ seed());
}

// A new empty file beside `path` whose name no one else has: its name and the open file.
// Concurrent saves of one file never share a name this way.
std::pair<fs::path, std::FILE*> CreateUnique(const fs::path& path, const std::string& infix) {
    auto random = Seeded();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = RandomNameBeside(path, infix, random);
#ifdef _WIN32
        // The system's C library (msvcrt) knows no "x" mode: O_EXCL gives the same promise.
        const int fd = ::_wopen(candidate.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                                _S_IREAD | _S_IWRITE);
        std::FILE* file = fd < 0 ? nullptr : ::_fdopen(fd, "wb");
        if (fd >= 0 && !file) ::_close(fd);
#else
        std::FILE* file = std::fopen(candidate.c_str(), "wbx");
#endif
        if (file) return {candidate, file};
        if (errno != EEXIST) break;
    }
    return {{}, nullptr};
}

// A unique name reserved by an empty file, to be renamed over or linked to.
std::optional<fs::path> ReserveUnique(const fs::path& path, const std::string& infix) {
    auto [name, file] = CreateUnique(path, infix);
    if (!file) return std::nullopt;
    std::fclose(file);
    return name;
}

// The names a save stages before anything visible changes; whatever is still staged when the
// save ends is removed.
struct Staged {
    fs::path temporary;  // the new bytes
    fs::path backup;     // the current file, to become the backup
    fs::path oldBackup;  // the previous backup while the save can still fail

    ~Staged() {
        for (const fs::path* path : {&temporary, &backup})
            if (!path->empty()) RemoveQuietly(*path);
    }
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::optional<SaveError> WriteTemporary(const fs::path& target, const ChunkProducer& produce,
                                        const ChunkWriter& writer, Staged& staged) {
    auto [name, opened] = CreateUnique(target, ".tmp-");
    // Held while written, so that another save clearing what ended writers left passes it by.
    for (int attempt = 0; opened && !HoldWhileWriting(opened, name) && attempt < 100; ++attempt) {
        std::fclose(opened);
        std::tie(name, opened) = CreateUnique(target, ".tmp-");
    }
    if (!opened) return SaveError{FolderOf(target), ErrnoReason()};
    staged.temporary = name;
    // Closed on every way out, a producer that throws included.
    std::unique_ptr<std::FILE, FileCloser> file(opened);
    std::optional<std::string> failure;
    produce([&](std::span<const uint8_t> chunk) {
        if (!failure) failure = writer(file.get(), chunk);
        return !failure;
    });
    if (!failure) failure = FlushToDisk(file.get());
    if (std::fclose(file.release()) != 0 && !failure) failure = ErrnoReason();
    if (failure) return SaveError{target, *failure};
    return std::nullopt;
}

#ifndef _WIN32
// Copies the bytes and permission bits of `from` over `to`, flushed to disk. The system's own
// reason for a failed write comes through ("No space left on device"), where the library's
// copy reports a full disk as an input/output error.
std::optional<std::string> CopyContents(const fs::path& from, const fs::path& to) {
    std::unique_ptr<std::FILE, FileCloser> in(std::fopen(from.c_str(), "rb"));
    if (!in) return ErrnoReason();
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(to.c_str(), "wb"));
    if (!out) return ErrnoReason();
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const size_t read = std::fread(buffer.data(), 1, buffer.size(), in.get());
        if (read > 0 && std::fwrite(buffer.data(), 1, read, out.get()) != read)
            return ErrnoReason();
        if (read < buffer.size()) {
            if (std::ferror(in.get())) return ErrnoReason();
            break;
        }
    }
    if (auto failure = FlushToDisk(out.get())) return failure;
    if (std::fclose(out.release()) != 0) return ErrnoReason();
    std::error_code error;
    const fs::perms permissions = fs::status(from, error).permissions();
    if (!error) fs::permissions(to, permissions, error);
    if (error) return "cannot give the backup its permissions: " + error.message();
    return std::nullopt;
}
#endif

// The current file under a unique name: a second link to it where the file system allows (an
// immutable file allows none), else a copy. Windows always copies: there, another program that
// has the file open without delete sharing keeps every link of it from being renamed or
// removed, so a link would stay behind after a save that fails for that reason.
std::optional<SaveError> StageBackup(const fs::path& target, Staged& staged) {
    const fs::path backup = BackupPathOf(target);
#ifndef _WIN32
    std::error_code error;
    auto random = Seeded();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = RandomNameBeside(backup, ".new-", random);
        fs::create_hard_link(target, candidate, error);
        if (!error) {
            staged.backup = candidate;
            return std::nullopt;
        }
        if (error != std::errc::file_exists) break;
    }
#endif
    const auto reserved = ReserveUnique(backup, ".new-");
    if (!reserved) return SaveError{FolderOf(target), ErrnoReason()};
    staged.backup = *reserved;
#ifdef _WIN32
    // MinGW's std::filesystem::copy_file refuses to overwrite the reserved name ("File exists").
    if (!CopyFileW(target.c_str(), staged.backup.c_str(), FALSE))
        return SaveError{backup, SystemMessage(GetLastError())};
#else
    if (auto failure = CopyContents(target, staged.backup)) return SaveError{backup, *failure};
#endif
    return std::nullopt;
}

// Puts the previous backup back after a failed commit. Renaming one link of a file over
// another link of the same file does nothing, so a name left over is removed.
std::string RestoreBackup(const fs::path& backup, Staged& staged, bool backupReplaced) {
    if (!staged.oldBackup.empty()) {
        if (Rename(staged.oldBackup, backup))
            return "; the previous backup is kept as " + PathText(staged.oldBackup);
        if (Exists(staged.oldBackup)) RemoveQuietly(staged.oldBackup);
    } else if (backupReplaced) {
        RemoveQuietly(backup);
    }
    return {};
}

// Moves the old backup aside, puts the staged backup in its place and the new bytes over the
// target; undoes the first two when a later step fails.
std::optional<SaveError> Commit(const fs::path& target, bool withBackup, Staged& staged) {
    const fs::path backup = BackupPathOf(target);
    bool backupReplaced = false;
    std::optional<SaveError> failure;
    if (withBackup && Exists(backup)) {
        const auto aside = ReserveUnique(backup, ".old-");
        if (!aside) return SaveError{FolderOf(target), ErrnoReason()};
        if (auto reason = Rename(backup, *aside)) {
            RemoveQuietly(*aside);
            return SaveError{backup, *reason};
        }
        staged.oldBackup = *aside;
    }
    if (withBackup) {
        if (auto reason = Rename(staged.backup, backup)) {
            failure = SaveError{backup, *reason};
        } else {
            staged.backup.clear();
            backupReplaced = true;
        }
    }
    if (!failure) {
        if (auto reason = Rename(staged.temporary, target))
            failure = SaveError{target, *reason};
        else
            staged.temporary.clear();
    }
    if (failure) {
        failure->reason += RestoreBackup(backup, staged, backupReplaced);
        return failure;
    }
    if (!staged.oldBackup.empty()) RemoveQuietly(staged.oldBackup);
    return std::nullopt;
}

}  // namespace

namespace {

// Whether `name` is `prefix` and the eight letters RandomNameBeside adds.
bool IsStagingName(const fs::path::string_type& name, const fs::path::string_type& prefix) {
    return name.size() == prefix.size() + 8 && name.compare(0, prefix.size(), prefix) == 0;
}

// Calls `visit` with every name in the target's folder that matches `infix`'s staging names;
// a folder that cannot be listed has none.
template <typename Visit>
void ForEachStagingName(const fs::path& target, const fs::path& base, const char* infix,
                        Visit visit) {
    const auto prefix = base.filename().native() + fs::path(infix).native();
    std::error_code error;
    fs::directory_iterator entry(FolderOf(target), error), end;
    for (; !error && entry != end; entry.increment(error))
        if (IsStagingName(entry->path().filename().native(), prefix)) visit(entry->path());
}

// Temporary files of saves and exports that ended before they finished; one still being
// written is held by its writer and stays.
void ClearEndedTemporaries(const fs::path& target) {
    ForEachStagingName(target, target, ".tmp-",
                       [](const fs::path& path) { RemoveIfNobodyWrites(path); });
}

// With the file's lock held, no other save runs: its staged backups are left over too.
void ClearLeftovers(const fs::path& target) {
    const fs::path backup = BackupPathOf(target);
    ForEachStagingName(target, backup, ".new-", [](const fs::path& path) { RemoveQuietly(path); });
    std::vector<fs::path> aside;
    ForEachStagingName(target, backup, ".old-",
                       [&](const fs::path& path) { aside.push_back(path); });
    // A writer ended between putting its staged backup in place and its new file: the backup
    // is the file itself under a second name, no backup at all.
    std::error_code error;
    if (Exists(backup) && fs::equivalent(target, backup, error) && !error) RemoveQuietly(backup);
    for (const fs::path& old : aside) {
        const auto size = fs::file_size(old, error);
        if (!Exists(backup) && !error && size > 0 && !Rename(old, backup)) continue;
        RemoveQuietly(old);
    }
}

// Both saves: stages the produced bytes and the backup, then commits. `written`, when given,
// gets the size and time of the file now on disk (its hash is left to the caller).
std::optional<SaveError> SaveProduced(const fs::path& path, const ChunkProducer& produce,
                                      const SaveOptions& options, DiskStamp* written) {
    const fs::path target = SaveTargetOf(path);
    const TargetState current = InspectTarget(target);
    if (current.problem) return current.problem;
    const bool hasCurrent = current.exists;

    ClearEndedTemporaries(target);
    if (options.clearLeftovers && hasCurrent) ClearLeftovers(target);
    Staged staged;
    const ChunkWriter& writer = options.writer ? options.writer : ChunkWriter(WriteWithFwrite);
    if (auto failure = WriteTemporary(target, produce, writer, staged)) return failure;
    if (hasCurrent) {
        // A new file with other permissions would quietly open a private file to others.
        std::error_code error;
        fs::permissions(staged.temporary, current.permissions, error);
        if (error)
            return SaveError{target,
                             "cannot give the new file its permissions: " + error.message()};
    }
    const bool withBackup = options.backup && hasCurrent;
    if (withBackup)
        if (auto failure = StageBackup(target, staged)) return failure;
    const DiskStamp stamp = written ? CheckRegularFile(staged.temporary).stamp : DiskStamp{};

    if (auto failure = Commit(target, withBackup, staged)) return failure;
    FlushFolder(FolderOf(target));
    if (written) *written = stamp;
    return std::nullopt;
}

}  // namespace

std::optional<SaveError> SaveWholeFile(const fs::path& path, std::span<const uint8_t> bytes,
                                       const SaveOptions& options, DiskStamp* written) {
    const auto inChunks = [bytes](const ChunkSink& sink) {
        constexpr size_t kChunk = 1 << 20;
        for (size_t at = 0; at < bytes.size(); at += kChunk)
            if (!sink(bytes.subspan(at, std::min(kChunk, bytes.size() - at)))) return;
    };
    DiskStamp stamp;
    if (auto failure = SaveProduced(path, inChunks, options, written ? &stamp : nullptr))
        return failure;
    if (written) {
        stamp.hash = ContentHash(bytes);
        *written = stamp;
    }
    return std::nullopt;
}

std::optional<SaveError> SaveStreamedFile(const fs::path& path, const ChunkProducer& produce,
                                          const SaveOptions& options) {
    return SaveProduced(path, produce, options, nullptr);
}

}  // namespace thornbeck

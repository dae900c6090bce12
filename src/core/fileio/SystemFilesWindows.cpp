// Windows' side of SystemFiles.h; POSIX has its own file.
#ifdef _WIN32
#include "core/fileio/SystemFiles.h"

#include <windows.h>

namespace thornbeck {

bool IsMarkedReadOnly(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool SameNameOnThisSystem(const std::filesystem::path& a, const std::filesystem::path& b) {
    const std::filesystem::path left = a.lexically_normal().make_preferred();
    const std::filesystem::path right = b.lexically_normal().make_preferred();
    return CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool HoldWhileWriting(std::FILE*, const std::filesystem::path&) {
    return true;
}

bool RemoveIfNobodyWrites(const std::filesystem::path& path) {
    // A writer has it open without delete sharing: the removal then fails, and it stays.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace thornbeck
#endif

// Saving, reading and locking in folders named outside Latin-1, and the save's promises where
// another program holds the file; the same tests run on Linux and, cross-built, under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/fileio/AtomicSave.h"
#include "core/fileio/LockFile.h"
#include "core/fileio/RegularFile.h"
#include "core/fileio/SystemText.h"
#include "support/TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace thornbeck {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;

const std::vector<uint8_t> kOld = {1, 2, 3, 4};
const std::vector<uint8_t> kNew = {9, 8, 7, 6, 5};

// Cyrillic and Japanese folders, the second inside the first.
fs::path UnicodeFolder(const TempFolder& root) {
    const fs::path folder =
        root.path() / PathFromText("Реестр") / PathFromText("設定のバックアップ");
    fs::create_directories(folder);
    return folder;
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(PathText(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(UnicodePath, SavesReadsAndBacksUpInAFolderNamedInCyrillicAndJapanese) {
    TempFolder root;
    const fs::path folder = UnicodeFolder(root);
    const fs::path path = folder / PathFromText("хранилище.sys");
    ASSERT_FALSE(SaveWholeFile(path, kOld));
    ASSERT_FALSE(SaveWholeFile(path, kNew));

    const FileRead read = ReadRegularFile(path);
    EXPECT_EQ(read.failure, "");
    EXPECT_EQ(read.bytes, kNew);
    EXPECT_EQ(ReadRegularFile(BackupPathOf(path)).bytes, kOld);
    // Exactly the file and its backup, under their own names: no temporary file is left.
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"хранилище.sys", "хранилище.sys.bak"}));
}

TEST(UnicodePath, PathTextIsTheUtf8NameBothWays) {
    const std::string name = "Реестр/設定.sys";
    EXPECT_EQ(PathText(PathFromText(name)), name);
    EXPECT_EQ(PathFromText(name).filename(), PathFromText("設定.sys"));
}

TEST(UnicodePath, ASaveIntoAMissingFolderNamesItAndGivesTheSystemsReason) {
    TempFolder root;
    const fs::path path = root.path() / PathFromText("Нет") / "x.sys";
    const auto failure = SaveWholeFile(path, kNew);
    ASSERT_TRUE(failure);
    EXPECT_EQ(PathText(failure->path), PathText(root.path() / PathFromText("Нет")));
    EXPECT_EQ(failure->reason, std::strerror(ENOENT));
}

TEST(UnicodePath, ALockIsTakenRefusedAndGivenBackInAUnicodeFolder) {
    TempFolder root;
    const fs::path lockPath = UnicodeFolder(root) / PathFromText("хранилище.sys.lock");
    LockFile first(lockPath);
    ASSERT_EQ(first.lock(std::chrono::milliseconds(0)), LockFile::Result::Locked);
    LockFile second(lockPath);
    EXPECT_EQ(second.lock(std::chrono::milliseconds(0)), LockFile::Result::Busy);
    // Unlocking removes the file, so the next writer gets it at once.
    first.unlock();
    EXPECT_FALSE(fs::exists(lockPath));
    EXPECT_EQ(second.lock(std::chrono::milliseconds(0)), LockFile::Result::Locked);
    second.unlock();
    EXPECT_FALSE(fs::exists(lockPath));
}

#ifdef _WIN32
// Another program has the file open without delete sharing, as many Windows programs do: the
// final replace fails, and the save says why in the system's words and changes nothing.
TEST(WindowsSave, AFileHeldOpenByAnotherProgramIsLeftWholeWithTheSystemsMessage) {
    TempFolder root;
    const fs::path folder = UnicodeFolder(root);
    const fs::path path = folder / PathFromText("хранилище.sys");
    ASSERT_FALSE(SaveWholeFile(path, kOld));
    ASSERT_FALSE(SaveWholeFile(path, kOld));
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto failure = SaveWholeFile(path, kNew);
    CloseHandle(held);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->reason == SystemMessage(ERROR_SHARING_VIOLATION) ||
                failure->reason == SystemMessage(ERROR_ACCESS_DENIED))
        << failure->reason;
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), kOld);
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"хранилище.sys", "хранилище.sys.bak"}));
}

TEST(WindowsSave, SystemMessageIsTheSystemsTextWithoutItsLineEnd) {
    const std::string message = SystemMessage(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_EQ(message.find("system error"), std::string::npos);
}
#endif

}  // namespace
}  // namespace thornbeck

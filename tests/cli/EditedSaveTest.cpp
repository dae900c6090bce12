// set's save step in-process, so that the file can change between its load and its save.
#include "cli/EditedSave.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliRun.h"
#include "cli/ExitCode.h"
#include "core/fileio/AtomicSave.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

namespace fs = std::filesystem;

TEST(SaveEdited, AFileChangedOnDiskIsOnlyOverwrittenWhenForced) {
    TempFolder folder;
    auto bytes = CommandTestImage();
    const auto path = folder.write("t.sys", bytes);
    std::ostringstream err;
    const auto loaded = cli::LoadRegistry(path.string(), err);
    ASSERT_TRUE(loaded);
    std::vector<uint8_t> ours = bytes;
    ours[0x20] ^= 1;

    // Unchanged: saved.
    EXPECT_EQ(cli::SaveEdited(*loaded, path.string(), ours, false, nullptr, err), cli::kExitOk)
        << err.str();
    EXPECT_EQ(ReadBytes(path), ours);

    // Another program writes the file: refused, its bytes stay.
    const auto again = cli::LoadRegistry(path.string(), err);
    ASSERT_TRUE(again);
    std::vector<uint8_t> theirs = ours;
    theirs[0x21] ^= 1;
    folder.write("t.sys", theirs);
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(2));
    err.str({});
    EXPECT_EQ(cli::SaveEdited(*again, path.string(), bytes, false, nullptr, err), cli::kExitError);
    EXPECT_EQ(err.str(), "thornbeck-cli: " + path.string() +
                             ": has changed on disk since it was read; not saved (--force "
                             "overwrites it)\n");
    EXPECT_EQ(ReadBytes(path), theirs);
    // Through a symbolic link to it, the same.
    const auto link = folder.path() / "link.sys";
    fs::create_symlink("t.sys", link);
    EXPECT_EQ(cli::SaveEdited(*again, link.string(), bytes, false, nullptr, err), cli::kExitError);

    // Saving elsewhere compares nothing; --force overwrites.
    const auto other = (folder.path() / "other.sys").string();
    EXPECT_EQ(cli::SaveEdited(*again, other, bytes, false, nullptr, err), cli::kExitOk);
    EXPECT_EQ(cli::SaveEdited(*again, path.string(), bytes, true, nullptr, err), cli::kExitOk);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), theirs);

    // A removed file is not silently made again.
    fs::remove(path);
    err.str({});
    EXPECT_EQ(cli::SaveEdited(*again, path.string(), bytes, false, nullptr, err), cli::kExitError);
    EXPECT_NE(err.str().find("was removed since it was read"), std::string::npos);
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace thornbeck::test

// thornbeck-cli with files in folders named outside Latin-1: the names reach the file calls and
// the messages intact (on Windows through the UTF-16 command line).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "cli/CliRun.h"
#include "core/fileio/AtomicSave.h"
#include "core/fileio/SystemText.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

namespace fs = std::filesystem;

TEST(CliUnicodePath, ReadsSetsAndBacksUpAFileInACyrillicAndJapaneseFolder) {
    TempFolder root;
    const fs::path folder = root.path() / PathFromText("Реестр") / PathFromText("日本語");
    fs::create_directories(folder);
    const fs::path path = folder / PathFromText("設定.sys");
    const auto sample = SampleBytes();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(sample.data()),
               static_cast<std::streamsize>(sample.size()));
    const std::string file = PathText(path);

    const auto info = RunCli({"info", file});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("file:             " + file + "\n"), std::string::npos) << info.out;

    const auto set = RunCli({"set", file, "/setting/system/timeZone", "--value", "78"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(RunCli({"get", file, "/setting/system/timeZone"}).out.rfind("Value: 00000078\n", 0),
              0u);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), sample);
    // The lock is gone and nothing else was left beside the file.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(PathText(entry.path().filename()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"設定.sys", "設定.sys.bak"}));
}

TEST(CliUnicodePath, AMissingFileIsNamedInTheMessageAsGiven) {
    TempFolder root;
    const std::string missing = PathText(root.path() / PathFromText("Нет файла.sys"));
    const auto run = RunCli({"info", missing});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.rfind("thornbeck-cli: " + missing + ": ", 0), 0u) << run.err;
}

}  // namespace
}  // namespace thornbeck::test

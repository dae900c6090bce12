// export-csv streams its file: the same bytes as the whole CSV made at once, and a failed write
// leaves the target as it was with no temporary file beside it.
#include <gtest/gtest.h>

#include <numeric>

#include "DeepNamesImage.h"
#include "cli/CliRun.h"
#include "core/export/CsvExport.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> CsvMadeAtOnce(const std::vector<uint8_t>& bytes) {
    const RegistryImage image(bytes);
    const RegistryIndex index = IndexRegistry(image);
    std::vector<int32_t> order(index.rows().size());
    std::iota(order.begin(), order.end(), 0);
    const std::string csv = CsvOfRows(image, index, order);
    return {csv.begin(), csv.end()};
}

size_t EntriesIn(const fs::path& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(ExportCsv, AFileOfManyLongRowsGivesTheSameBytesAsTheWholeCsv) {
    TempFolder folder;
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"deep.sys", sample::DeepNamesImage(600)}, {"small.sys", CommandTestImage()}};
    for (const auto& [name, bytes] : files) {
        const fs::path out = folder.write(name + ".csv", {'o', 'l', 'd'});
        const auto run = RunCli({"export-csv", folder.write(name, bytes).string(), out.string()});
        ASSERT_EQ(run.exitCode, 0) << run.err.substr(0, 300);
        const auto expected = CsvMadeAtOnce(bytes);
        EXPECT_EQ(ReadBytes(out), expected) << name;
        EXPECT_GT(expected.size(), name == "deep.sys" ? 50 * kCsvChunkBytes : 0u);
    }
    EXPECT_EQ(EntriesIn(folder.path()), 4u);
}

TEST(ExportCsv, AFolderThatCannotBeWrittenKeepsTheOldTargetAndNoTemporaryFile) {
    TempFolder folder;
    const fs::path file = folder.write("x.sys", sample::DeepNamesImage(600));
    const fs::path out = folder.write("x.csv", {'o', 'l', 'd'});
    if (!MakeFolderUnwritable(folder.path())) GTEST_SKIP() << "no way to lock a folder here";
    const auto run = RunCli({"export-csv", file.string(), out.string()});
    MakeFolderWritable(folder.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot write: "), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(out), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

}  // namespace
}  // namespace thornbeck::test

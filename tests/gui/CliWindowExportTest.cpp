// export-csv writes exactly what the window's Export as CSV writes for the same file.
#include <gtest/gtest.h>

#include <QAction>

#include "DeepNamesImage.h"
#include "cli/CliRun.h"
#include "gui/TestWindow.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> WindowExport(const fs::path& file, const fs::path& out) {
    TestWindow w;
    w->openFile(QString::fromStdString(file.string()));
    w.prompts->files.push_back(QString::fromStdString(out.string()));
    w->findChild<QAction*>("exportCsvAction")->trigger();
    return ReadBytes(out);
}

TEST(ExportCsv, EqualsTheWindowsExport) {
    TempFolder folder;
    auto noMarker = CommandTestImage();
    noMarker[0xFFF0] = 0;
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"sample.sys", SampleBytes()},
        {"small.sys", CommandTestImage()},
        // Its CSV is many chunks long: the window writes it chunk by chunk, as the CLI does.
        {"deep.sys", sample::DeepNamesImage(600)},
        {"nomarker.sys", noMarker}};
    for (const auto& [name, bytes] : files) {
        const fs::path file = folder.write(name, bytes);
        const fs::path fromWindow = folder.path() / (name + ".window.csv");
        const fs::path fromCli = folder.path() / (name + ".cli.csv");
        const auto run = RunCli({"export-csv", file.string(), fromCli.string()});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto expected = WindowExport(file, fromWindow);
        ASSERT_TRUE(fs::exists(fromWindow)) << name;
        EXPECT_EQ(ReadBytes(fromCli), expected) << name;
        EXPECT_EQ(expected.empty(), name == "nomarker.sys");
    }
}

}  // namespace
}  // namespace thornbeck::test

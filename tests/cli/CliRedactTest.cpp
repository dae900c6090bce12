// redact and info --layout through the built program.
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

TEST(Redact, WritesACopyOpenedAsTheOriginalAndNeverTheOriginal) {
    TempFolder folder;
    const auto original = SampleBytes();
    const std::string file = folder.write("xRegistry.sys", original).string();
    const std::string shared = (folder.path() / "xRegistry-shared.sys").string();

    EXPECT_EQ(RunCli({"redact", file, folder.path().string() + "/./xRegistry.sys"}).exitCode, 2);
    const auto run = RunCli({"redact", file, shared, "--keep", "*/macAddress"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("NOT for putting back on a console"), std::string::npos);
    EXPECT_NE(run.out.find("  /setting/system/nickName\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("macAddress"), std::string::npos);
    EXPECT_EQ(ReadBytes(file), original);

    const auto get = RunCli({"get", shared, "/setting/system/nickName"});
    std::string padding;
    for (int i = 0; i < 128 - 11; ++i) padding += "\\x00";
    EXPECT_EQ(get.out.substr(0, get.out.find('\n')), "Value: " + std::string(11, 'x') + padding);
    const auto layout = RunCli({"info", shared, "--layout"});
    EXPECT_EQ(layout.out.find("loose value:"), std::string::npos) << layout.out;
    EXPECT_NE(RunCli({"info", file, "--layout"}).out.find("loose value: "), std::string::npos);
}

}  // namespace
}  // namespace thornbeck::test

// apply and diff --format tweak through the built program: whole or nothing by default, the
// options that loosen it, and a tweak that changes nothing writes nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/CliRun.h"
#include "core/fileio/AtomicSave.h"
#include "support/CompareFiles.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

std::string WriteText(const TempFolder& folder, const std::string& name, const std::string& text) {
    return folder.write(name, std::vector<uint8_t>(text.begin(), text.end())).string();
}

TEST(Apply, TheTweakOfADiffMakesAWhatMergeMakesOnceThenNothingToChange) {
    TempFolder folder;
    const ComparePair pair = CompareImages();
    const std::string a = folder.write("a.sys", pair.a).string();
    const std::string merged = folder.write("m.sys", pair.a).string();
    const std::string b = folder.write("b.sys", pair.b).string();
    const auto tweak = RunCli({"diff", "--format", "tweak", a, b});
    ASSERT_EQ(tweak.exitCode, 1) << tweak.err;
    ASSERT_EQ(RunCli({"merge", merged, b}).exitCode, 0);
    const std::string file = WriteText(folder, "a-to-b.tweak", tweak.out);

    const auto applied = RunCli({"apply", a, file});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(ReadBytes(a), ReadBytes(merged));
    EXPECT_EQ(ReadBytes(BackupPathOf(a)), pair.a);

    const auto again = RunCli({"apply", a, file});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(again.err.find("nothing to change"), std::string::npos) << again.err;
    EXPECT_EQ(ReadBytes(BackupPathOf(a)), pair.a) << "the backup of the original stays";
}

TEST(Apply, AConflictWritesNothingUnlessPartialOrOverwriteSaysSo) {
    TempFolder folder;
    const ComparePair pair = CompareImages();
    const std::string a = folder.write("a.sys", pair.a).string();
    const std::string file = WriteText(folder, "t.tweak",
                                       "# Thornbeck tweak 1\n"
                                       "/c/int\tChecksum\t*\t00AB\n"
                                       "/c/flags\tFlags\t1111\t00CD\n"
                                       "/c/nowhere\tValue\t*\tx\n");
    const auto whole = RunCli({"apply", a, file});
    EXPECT_EQ(whole.exitCode, 1);
    EXPECT_EQ(whole.out,
              "/c/int\tChecksum\twill change\n"
              "/c/flags\tFlags\tdiffers from what the tweak expected\n"
              "/c/nowhere\tValue\tno such key\n");
    EXPECT_EQ(ReadBytes(a), pair.a);

    const auto partial = RunCli({"apply", a, file, "--partial"});
    EXPECT_EQ(partial.exitCode, 1);
    EXPECT_EQ(partial.out.substr(0, partial.out.find('\n')), "/c/int\tChecksum\tchanged");
    EXPECT_NE(RunCli({"get", a, "/c/int"}).out.find("Checksum: 00AB"), std::string::npos);
    EXPECT_NE(RunCli({"get", a, "/c/flags"}).out.find("Flags: 0000"), std::string::npos);

    const auto over = RunCli({"apply", a, file, "--partial", "--overwrite"});
    EXPECT_EQ(over.exitCode, 1) << "the missing key still conflicts";
    EXPECT_NE(RunCli({"get", a, "/c/flags"}).out.find("Flags: 00CD"), std::string::npos);
}

TEST(Apply, AFileThatIsNoTweakIsNamedWithItsLineAndNothingIsWritten) {
    TempFolder folder;
    const ComparePair pair = CompareImages();
    const std::string a = folder.write("a.sys", pair.a).string();
    const std::string file = WriteText(
        folder, "t.tweak", "# Thornbeck tweak 1\n/c/int\tChecksum\t*\t00AB\n/c/int\tSize\t*\t1\n");
    const auto run = RunCli({"apply", a, file});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("t.tweak:3: not a tweak: unknown field"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(a), pair.a);
}

}  // namespace
}  // namespace thornbeck::test

namespace thornbeck::test {
namespace {

TEST(Apply, TheExampleTweakAppliesToTheSample) {
    TempFolder folder;
    const std::string sample = folder.write("xRegistry.sys", SampleBytes()).string();
    const auto run = RunCli({"apply", sample, THORNBECK_EXAMPLE_TWEAK});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("/setting/system/timeZone\tValue\tchanged\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(RunCli({"get", sample, "/setting/system/region"}).out.substr(0, 14),
              "Value: PS3-US\n");
}

}  // namespace
}  // namespace thornbeck::test

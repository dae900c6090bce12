// merge and diff --format, run through the real program on two small files that differ.
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "core/fileio/AtomicSave.h"
#include "support/CompareFiles.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

struct Files {
    TempFolder folder;
    ComparePair pair;
    std::string a;
    std::string b;
    explicit Files(bool typeClash = false)
        : pair(CompareImages(typeClash)),
          a(folder.write("a.sys", pair.a).string()),
          b(folder.write("b.sys", pair.b).string()) {}
};

TEST(Merge, TakesEveryDifferingFieldSavesWithABackupAndLeavesOnlyMissingKeys) {
    Files f;
    const auto merge = RunCli({"merge", f.a, f.b});
    ASSERT_EQ(merge.exitCode, 0) << merge.err;
    EXPECT_EQ(merge.out,
              "/c/int\tValue\t00000010\t00000020\n"
              "/c/int\tChecksum\t0001\t0009\n"
              "/c/text\tValue\tabc\ta longer text\n"
              "/c/text\tData Size\t3\t13\n"
              "/c/bin\tValue\t\\x01\\x02\\x03\\x04\\x05\\x06\t\\x07\\x07\n"
              "/c/bin\tData Size\t6\t2\n"
              "/c/flags\tFlags\t0000\t00A5\n"
              "/c/hid\tHeader ID\t0000\t0022\n");
    EXPECT_EQ(ReadBytes(BackupPathOf(f.a)), f.pair.a);
    const auto diff = RunCli({"diff", f.a, f.b});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, "only in A\t/c/onlyA\nonly in B\t/c/onlyB\n");
    EXPECT_EQ(ReadBytes(f.b), f.pair.b);  // B is only read
}

TEST(Merge, KeysFieldsAndDryRunChooseWhatIsTakenAndWrongUsageIsExitTwo) {
    Files f;
    const auto dry =
        RunCli({"merge", f.a, f.b, "--keys", "INT", "--fields", "checksum", "--dry-run"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(dry.out, "/c/int\tChecksum\t0001\t0009\n");
    EXPECT_EQ(ReadBytes(f.a), f.pair.a);

    const std::string out = (f.folder.path() / "out.sys").string();
    ASSERT_EQ(RunCli({"merge", f.a, f.b, "--keys", "/c/?i?", "-o", out}).exitCode, 0);
    EXPECT_EQ(ReadBytes(f.a), f.pair.a);
    EXPECT_EQ(RunCli({"diff", out, f.b}).out,
              "changed\t/c/int\tValue\t00000010\t00000020\n"
              "changed\t/c/int\tChecksum\t0001\t0009\n"
              "changed\t/c/text\tValue\tabc\ta longer text\n"
              "changed\t/c/text\tData Size\t3\t13\n"
              "changed\t/c/flags\tFlags\t0000\t00A5\n"
              "only in A\t/c/onlyA\nonly in B\t/c/onlyB\n");

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"merge", f.a, f.b, "--fields", "value,size"},
          {"merge", f.a, f.b, "--fields", ""},
          {"merge", f.a},
          {"diff", f.a, f.b, "--format", "csv"}}) {
        const auto run = RunCli(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong.back();
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadBytes(f.a), f.pair.a);
}

TEST(Merge, ARefusedEntryIsExitOneWithItsKeyAndReasonAndTheOthersAreSaved) {
    Files f(true);
    const auto merge = RunCli({"merge", f.a, f.b});
    EXPECT_EQ(merge.exitCode, 1);
    EXPECT_NE(merge.err.find("/c/clash: its Data Type differs: Integer here, String in the other "
                             "file"),
              std::string::npos)
        << merge.err;
    const auto diff = RunCli({"diff", f.a, f.b}).out;
    EXPECT_EQ(diff.find("/c/int"), std::string::npos) << diff;
    EXPECT_NE(diff.find("changed\t/c/clash\tValue"), std::string::npos) << diff;
}

// An Integer of B is never written as hex characters into a String of A: the entry is refused
// and A keeps its bytes.
TEST(Merge, AnEntryOfAnotherTypeIsRefusedEitherWay) {
    Files f(true);
    const auto merge = RunCli({"merge", f.b, f.a, "--keys", "/c/clash"});
    EXPECT_EQ(merge.exitCode, 1);
    EXPECT_EQ(merge.out, "");
    EXPECT_NE(merge.err.find("/c/clash: its Data Type differs: String here, Integer in the other "
                             "file"),
              std::string::npos)
        << merge.err;
    EXPECT_EQ(ReadBytes(f.b), f.pair.b);
}

// merge lists only what it wrote: an Integer's Data Size is refused with its reason.
TEST(Merge, AnIntegersDataSizeIsRefusedAndNotListedAsTaken) {
    TempFolder folder;
    const ComparePair pair = IntegerSizeImages();
    const auto a = folder.write("a.sys", pair.a).string();
    const auto b = folder.write("b.sys", pair.b).string();
    const auto merge = RunCli({"merge", a, b, "--keys", "/setting/bdvideo", "--fields", "value"});
    EXPECT_EQ(merge.exitCode, 1) << merge.err;
    EXPECT_EQ(merge.out, "/setting/bdvideo\tValue\t00000001\t00000005\n");
    EXPECT_EQ(merge.err, "thornbeck-cli: " + a +
                             ": /setting/bdvideo: Data Size: an Integer's size cannot change\n");
    EXPECT_NE(RunCli({"get", a, "/setting/bdvideo"}).out.find("Data Size: 4"), std::string::npos);
}

// The listing goes to a full disk: the file is saved all the same, and the exit status and the
// message say so instead of reporting a failed merge.
TEST(Merge, AListingThatCannotBeWrittenIsExitThreeAfterTheSave) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "needs /dev/full";
    Files f;
    const auto run =
        RunProgram({"/bin/sh", "-c", std::string("exec \"$0\" merge \"$1\" \"$2\" > /dev/full"),
                    THORNBECK_CLI_PATH, f.a, f.b});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(run.err, "thornbeck-cli: " + f.a +
                           ": saved, but the list of the fields taken could not be written\n");
    EXPECT_EQ(ReadBytes(BackupPathOf(f.a)), f.pair.a);
    EXPECT_EQ(RunCli({"diff", f.a, f.b}).out, "only in A\t/c/onlyA\nonly in B\t/c/onlyB\n");
}

TEST(Diff, JsonFormatGivesOneObjectPerLine) {
    Files f;
    // Find's rules: "t" is a key holding a t anywhere, in either case.
    ASSERT_EQ(RunCli({"merge", f.a, f.b, "--keys", "T"}).exitCode, 0);
    const auto json = RunCli({"diff", f.a, f.b, "--format", "json"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(json.out,
              "[\n"
              "  {\"kind\": \"changed\", \"key\": \"/c/bin\", \"field\": \"Value\", \"a\": "
              "\"\\u0001\\u0002\\u0003\\u0004\\u0005\\u0006\", \"b\": \"\\u0007\\u0007\"},\n"
              "  {\"kind\": \"changed\", \"key\": \"/c/bin\", \"field\": \"Data Size\", \"a\": "
              "\"6\", \"b\": \"2\"},\n"
              "  {\"kind\": \"changed\", \"key\": \"/c/flags\", \"field\": \"Flags\", \"a\": "
              "\"0000\", \"b\": \"00A5\"},\n"
              "  {\"kind\": \"changed\", \"key\": \"/c/hid\", \"field\": \"Header ID\", \"a\": "
              "\"0000\", \"b\": \"0022\"},\n"
              "  {\"kind\": \"only in A\", \"key\": \"/c/onlyA\"},\n"
              "  {\"kind\": \"only in B\", \"key\": \"/c/onlyB\"}\n"
              "]\n");
    EXPECT_EQ(RunCli({"diff", f.b, f.b, "--format", "json"}).out, "[]\n");
}

}  // namespace
}  // namespace thornbeck::test

// set and diff, run through the real program on copies of the sample and of a small image.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "cli/CliRun.h"
#include "core/fileio/AtomicSave.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

namespace fs = std::filesystem;

std::string FieldLine(const std::string& getOutput, const std::string& caption) {
    const size_t at = getOutput.find(caption + " ");
    if (at == std::string::npos) return {};
    return getOutput.substr(at, getOutput.find('\n', at) - at);
}

TEST(Set, ChangesTheEntryAsModifyDoesAndSavesWithABackup) {
    TempFolder folder;
    const auto file = folder.write("xRegistry.sys", SampleBytes()).string();
    const std::string key = "/setting/system/region";

    const auto set = RunCli({"set", file, key, "--size", "6", "--value", "XYZW12", "--checksum",
                             "beef", "--header-id", "7"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const auto get = RunCli({"get", file, key}).out;
    EXPECT_EQ(FieldLine(get, "Value:"), "Value: XYZW12");
    EXPECT_EQ(FieldLine(get, "Data Size:"), "Data Size: 6");
    EXPECT_EQ(FieldLine(get, "Checksum:"), "Checksum: BEEF");
    EXPECT_EQ(FieldLine(get, "Header ID:"), "Header ID: 0007");
    EXPECT_EQ(ReadBytes(BackupPathOf(file)), SampleBytes());
    EXPECT_EQ(ReadBytes(file).size(), SampleBytes().size());
    // The entries behind it moved by the growth.
    EXPECT_EQ(FieldLine(RunCli({"get", file, "/setting/system/emptyText"}).out, "Data Offset:"),
              "Data Offset: 0100DC");
    // Shrinking keeps the value's first bytes; the field not given keeps its text.
    ASSERT_EQ(RunCli({"set", file, key, "--size", "2"}).exitCode, 0);
    EXPECT_EQ(FieldLine(RunCli({"get", file, key}).out, "Value:"), "Value: XY");
    // What get --hex writes reads back: pairs with or without spaces.
    ASSERT_EQ(RunCli({"set", file, key, "--value-hex", "41 42"}).exitCode, 0);
    EXPECT_EQ(FieldLine(RunCli({"get", file, key}).out, "Value:"), "Value: AB");
    ASSERT_EQ(RunCli({"set", file, key, "--value-hex", "00ff"}).exitCode, 0);
    EXPECT_EQ(FieldLine(RunCli({"get", file, key}).out, "Value:"), "Value: \\x00\xC3\xBF");

    // A repeated key: set and get act on the tree's entry (the last), the list keeps the first.
    ASSERT_EQ(RunCli({"set", file, "/setting/system/language", "--value", "1f"}).exitCode, 0);
    EXPECT_EQ(FieldLine(RunCli({"get", file, "/setting/system/language"}).out, "Value:"),
              "Value: 0000001F");
    EXPECT_EQ(RunCli({"list", file}).out.rfind("/setting/system/language\t00000001\t", 0), 0u);
    // A 2-byte Integer takes the eight digits the panel shows, leading zeros beyond its four.
    ASSERT_EQ(RunCli({"set", file, "/setting/system/dateFormat", "--value", "0000A1F"}).exitCode,
              0);
    EXPECT_EQ(FieldLine(RunCli({"get", file, "/setting/system/dateFormat"}).out, "Value:"),
              "Value: 00000A1F");

    // -o saves elsewhere, leaving FILE; an existing OUT becomes OUT.bak.
    const auto before = ReadBytes(file);
    const auto out = (folder.path() / "copy.sys").string();
    ASSERT_EQ(RunCli({"set", file, key, "--flags", "1", "-o", out}).exitCode, 0);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_FALSE(fs::exists(BackupPathOf(out)));
    const auto first = ReadBytes(out);
    ASSERT_EQ(RunCli({"set", out, key, "--flags", "2", "-o", out}).exitCode, 0);
    EXPECT_EQ(ReadBytes(BackupPathOf(out)), first);
}

TEST(Set, ARejectedOrWrongSetWritesNothing) {
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const fs::path path = folder.write("t.sys", bytes);
    const std::string file = path.string();
    const auto old = fs::last_write_time(path) - std::chrono::hours(1);
    fs::last_write_time(path, old);

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    };
    const std::vector<Case> cases = {
        // Texts the panel can hold but Modify rejects.
        {{"/t/short", "--value", "12345"}, 1, "/t/short: Value: Invalid value"},
        {{"/t/int", "--checksum", ""}, 1, "Checksum: Invalid value"},
        {{"/t/text", "--size", "99999"}, 1, "Data Size: Invalid value"},
        {{"/t/text", "--size", "65535"}, 1, "Data Size: Invalid size"},
        {{"/t/text", "--size", "8", "--flags", "12", "--header-id", ""},
         1,
         "Header ID: Invalid value"},
        {{"/t/odd", "--flags", "1"}, 1, "data type"},
        {{"/t/none", "--flags", "1"}, 1, "no entry has the key /t/none"},
        // Texts no field could hold.
        {{"/t/int", "--size", "4"}, 2, "--size"},
        {{"/t/int", "--value", "123456789"}, 2, "--value"},
        {{"/t/int", "--value", "12G"}, 2, "--value \"12G\": not hex digits"},
        {{"/t/int", "--value", "G1"}, 2, "--value \"G1\": not hex digits"},
        {{"/t/text", "--flags", "12345"}, 2, "--flags \"12345\": the field takes at most 4"},
        {{"/t/int", "--value-hex", "12"}, 2, "--value-hex"},
        {{"/t/text", "--checksum", "12345"}, 2, "--checksum"},
        {{"/t/text", "--flags", "x"}, 2, "--flags"},
        {{"/t/text", "--size", "123456"}, 2, "--size"},
        // Data Size is decimal: "1A" is no size, where its leading digit alone would read as 1.
        {{"/t/text", "--size", "1A"}, 2, "--size \"1A\": give 1 to 5 decimal digits"},
        {{"/t/text", "--size", "1E2"}, 2, "--size"},
        {{"/t/text", "--size", ""}, 2, "--size"},
        {{"/t/bin", "--value", "four"}, 2, "4 bytes, the entry holds 3"},
        {{"/t/bin", "--value-hex", "ABC"}, 2, "--value-hex"},
        {{"/t/bin", "--value", "a", "--value-hex", "61"}, 2, "both"},
        {{"/t/bin", "--colour", "1"}, 2, "unknown option --colour"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"set", file};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (c.exitCode == 1) {
            EXPECT_EQ(run.err.rfind("thornbeck-cli: " + file + ": ", 0), 0u) << run.err;
        }
    }

    // A dry run prints the ranges and writes nothing.
    const auto dry = RunCli({"set", file, "/t/int", "--value", "1F", "--flags", "a5", "--dry-run"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(dry.out,
              "0x010001-0x010001 1 byte: 00 -> A5\n"
              "0x01000B-0x01000C 2 bytes: 12 34 -> 00 1F\n");
    const auto grow = RunCli({"set", file, "/t/bin", "--size", "5", "--dry-run"});
    EXPECT_EQ(grow.exitCode, 0);
    EXPECT_NE(grow.out.find("the rest of the data area moved by +2\n"), std::string::npos)
        << grow.out;
    // A large growth: the size, the value and the moved tail, one line each.
    const auto large = RunCli(
        {"set", SamplePath().string(), "/setting/system/nickName", "--size", "60000", "--dry-run"});
    EXPECT_EQ(large.exitCode, 0) << large.err;
    EXPECT_EQ(std::count(large.out.begin(), large.out.end(), '\n'), 3) << large.out.substr(0, 400);
    EXPECT_NE(large.out.find("the rest of the data area moved by +59872\n"), std::string::npos);

    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(fs::last_write_time(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// A set that changes no byte writes nothing: the backup of the original stays the original.
TEST(Set, ASetThatChangesNothingWritesNothingAndABareSetIsWrongUsage) {
    TempFolder folder;
    const auto bytes = CommandTestImage();
    const auto path = folder.write("t.sys", bytes);
    const auto file = path.string();
    ASSERT_EQ(RunCli({"set", file, "/t/int", "--value", "78"}).exitCode, 0);
    const auto saved = ReadBytes(path);
    const auto modified = fs::last_write_time(path);
    ASSERT_EQ(ReadBytes(BackupPathOf(path)), bytes);
    for (const std::vector<std::string>& same :
         {std::vector<std::string>{"--value", "78"}, {"--value", "00000078", "--dry-run"}}) {
        std::vector<std::string> args = {"set", file, "/t/int"};
        args.insert(args.end(), same.begin(), same.end());
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        // Windows' console writes a line end as CR LF.
        std::string said = run.err;
        std::erase(said, '\r');
        EXPECT_EQ(said, "thornbeck-cli: " + file + ": /t/int: nothing to change\n");
        EXPECT_EQ(run.out, "");
    }
    const auto bare = RunCli({"set", file, "/t/int"});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_NE(bare.err.find("name a field to change"), std::string::npos) << bare.err;
    EXPECT_EQ(ReadBytes(path), saved);
    EXPECT_EQ(fs::last_write_time(path), modified);
    EXPECT_EQ(ReadBytes(BackupPathOf(path)), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(Diff, NamesExactlyTheChangedFields) {
    TempFolder folder;
    const auto a = folder.write("a.sys", SampleBytes()).string();
    const auto b = (folder.path() / "b.sys").string();
    ASSERT_EQ(RunCli({"set", a, "/setting/system/nickName", "--flags", "00A5", "-o", b}).exitCode,
              0);
    const auto diff = RunCli({"diff", a, b});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, "changed\t/setting/system/nickName\tFlags\t0000\t00A5\n");
    const auto same = RunCli({"diff", a, a, "--offsets"});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_TRUE(same.out.empty());

    // A size change: the entry's Value and Data Size, and the later entries' offsets only with
    // --offsets. The repeated key is compared by its last entry.
    ASSERT_EQ(RunCli({"set", a, "/setting/system/region", "--size", "5", "-o", b}).exitCode, 0);
    EXPECT_EQ(RunCli({"diff", a, b}).out,
              "changed\t/setting/system/region\tValue\tEU\\x00\\x00\tEU\\x00\\x00\\x00\n"
              "changed\t/setting/system/region\tData Size\t4\t5\n");
    const auto offsets = RunCli({"diff", a, b, "--offsets"}).out;
    EXPECT_EQ(offsets.rfind("changed\t/setting/system/language\tData Offset\t01220D\t01220E\n", 0),
              0u)
        << offsets.substr(0, 200);

    const auto other = folder.write("t.sys", CommandTestImage()).string();
    const auto apart = RunCli({"diff", a, other});
    EXPECT_EQ(apart.exitCode, 1);
    EXPECT_EQ(apart.out.rfind("only in A\t/setting/system/language\n", 0), 0u);
    EXPECT_NE(apart.out.find("\nonly in B\t/t/int\n"), std::string::npos);
    EXPECT_EQ(apart.out.substr(apart.out.size() - 17), "only in B\t/t/odd\n");
    EXPECT_EQ(RunCli({"diff", a, (folder.path() / "none.sys").string()}).exitCode, 2);
}

}  // namespace
}  // namespace thornbeck::test

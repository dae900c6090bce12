// info, list, get, find and the usage rules, run through the real program.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/CliRun.h"
#include "core/format/RegistryFormat.h"
#include "core/index/RegistryIndex.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

EntryRef EntryOf(const std::vector<uint8_t>& bytes, std::string_view key) {
    const RegistryImage image(bytes);
    const RegistryIndex index = IndexRegistry(image);
    return *index.nodes()[static_cast<size_t>(*index.findNode(key))].entry;
}

TEST(Info, ReportsShapeProblemsAndNotes) {
    const auto sample = RunCli({"info", SamplePath().string()});
    EXPECT_EQ(sample.exitCode, 0) << sample.err;
    EXPECT_NE(sample.out.find("entries:          441\n"), std::string::npos) << sample.out;
    EXPECT_NE(sample.out.find("distinct keys:    440\n"), std::string::npos);
    EXPECT_NE(sample.out.find("end marker:       at 0x01221B\n"), std::string::npos);
    EXPECT_NE(sample.out.find("problems:         none\n"), std::string::npos);
    EXPECT_NE(sample.out.find("note: /setting/system/language: 2 entries have this name, the "
                              "first at 0x010000, the last at 0x01220D;"),
              std::string::npos);

    TempFolder folder;
    const auto full = CommandTestImage();
    // Cut inside /t/text's value, and let its key's name run far past the end.
    const EntryRef text = EntryOf(full, "/t/text");
    auto cut = full;
    cut.resize(static_cast<size_t>(text.offset) + 12);
    cut[static_cast<size_t>(text.keyOffset) + 2] = 0xFF;
    cut[static_cast<size_t>(text.keyOffset) + 3] = 0xFF;
    const auto damaged = RunCli({"info", folder.write("cut.sys", cut).string()});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(CountOf(damaged.out, "problem: entry at "), 2u) << damaged.out;
    EXPECT_NE(damaged.out.find(": its value (18 bytes from"), std::string::npos) << damaged.out;
    EXPECT_NE(damaged.out.find(": its key name (65535 bytes from"), std::string::npos);
    EXPECT_NE(damaged.out.find("note: no end marker"), std::string::npos);

    // A key offset whose record lies past the end of a file just long enough for one entry.
    auto tiny = full;
    tiny.resize(0x10012);
    tiny[0x10002] = tiny[0x10003] = 0xFF;
    const auto keyOutside = RunCli({"info", folder.write("tiny.sys", tiny).string()});
    EXPECT_EQ(keyOutside.exitCode, 1);
    EXPECT_NE(keyOutside.out.find("its key record (key offset 0x00FFFF, at 0x01000F) reaches"),
              std::string::npos)
        << keyOutside.out;

    auto noMarker = full;
    noMarker[0xFFF0] = 0;
    const auto unmarked = RunCli({"info", folder.write("nomarker.sys", noMarker).string()});
    // A file without entries is no healthy registry: info fails it.
    EXPECT_EQ(unmarked.exitCode, 1);
    EXPECT_NE(unmarked.out.find("entries:          0\n"), std::string::npos);
    EXPECT_NE(unmarked.out.find("problem: no data-area marker"), std::string::npos);
    auto endAtOnce = full;
    endAtOnce.resize(0x20000, 0);
    for (size_t i = 0; i < 4; ++i) endAtOnce[0xFFF2 + i] = std::array{0xAA, 0xBB, 0xCC, 0xDD}[i];
    const auto empty = RunCli({"info", folder.write("empty.sys", endAtOnce).string()});
    EXPECT_EQ(empty.exitCode, 1) << empty.out;
    EXPECT_NE(empty.out.find("problem: no entries"), std::string::npos) << empty.out;

    // A file too short to be a registry file is refused as every command refuses it.
    const auto refused = RunCli({"info", folder.write("short.sys", {1, 2, 3}).string()});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("short.sys: "), std::string::npos) << refused.err;

    const auto missing = RunCli({"info", (folder.path() / "none.sys").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("none.sys: cannot read: "), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());
}

TEST(List, WritesTheListTextsInEachFormat) {
    TempFolder folder;
    const std::string file = folder.write("t.sys", CommandTestImage()).string();

    const auto tsv = RunCli({"list", file});
    EXPECT_EQ(tsv.exitCode, 0) << tsv.err;
    EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 6);
    // Control characters (C1 too) made visible, bytes from 0xA0 up as their Latin-1 characters
    // in UTF-8, columns as displayed.
    EXPECT_NE(
        tsv.out.find("/t/text\tsay \"hi\",\\tnow\\n\\x80\xC3\xA9\xC3\xBF\\x00\t18\tString\t00C3"
                     "\t0000\t"),
        std::string::npos)
        << tsv.out;
    EXPECT_NE(tsv.out.find("/t/bin\t\\x01\\x00\\\\\t3\tBinary\t"), std::string::npos);
    // A repeated key shows its first entry, as the list does.
    EXPECT_NE(tsv.out.find("/t/twice\t00000001\t4\tInteger\t0001\t"), std::string::npos);
    EXPECT_NE(tsv.out.find("/t/odd\t??\t2\t\t00C5\t"), std::string::npos);

    const auto json = RunCli({"list", file, "--format", "json"});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_TRUE(std::all_of(json.out.begin(), json.out.end(),
                            [](char c) { return static_cast<uint8_t>(c) < 0x80; }));
    EXPECT_EQ(CountOf(json.out, "{\"key\": "), 6u);
    EXPECT_NE(json.out.find("\"value\": \"say \\\"hi\\\",\\u0009now\\u000A\\u0080\\u00E9\\u00FF"
                            "\\u0000\", \"size\": \"18\", \"type\": \"String\""),
              std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.front(), '[');
    EXPECT_EQ(json.out.substr(json.out.size() - 4), "}\n]\n");

    const auto csv = RunCli({"list", file, "--format=csv"});
    const std::string out = (folder.path() / "t.csv").string();
    EXPECT_EQ(RunCli({"export-csv", file, out}).exitCode, 0);
    const auto exported = ReadBytes(out);
    EXPECT_EQ(csv.out, std::string(exported.begin(), exported.end()));
    EXPECT_NE(csv.out.find("\"/t/text\",\"say \"\"hi\"\",\tnow\n"), std::string::npos);

    auto noMarker = CommandTestImage();
    noMarker[0xFFF1] = 0;
    const auto empty =
        RunCli({"list", folder.write("nomarker.sys", noMarker).string(), "--format", "json"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "[]\n");
    const auto refused = RunCli({"list", folder.write("short.sys", {1}).string()});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("short.sys: not a registry file"), std::string::npos);
}

TEST(GetAndFind, UseTheTreeEntryAndFindsRules) {
    TempFolder folder;
    const std::string file = folder.write("t.sys", CommandTestImage()).string();

    // A repeated key shows its last entry, as the tree does.
    const auto twice = RunCli({"get", file, "/t/twice"});
    EXPECT_EQ(twice.exitCode, 0) << twice.err;
    const std::string prefix =
        "Value: 00000002\nData Size: 4\nData Type: Integer\nChecksum: 0002\nFlags: 0000\n"
        "Data Offset: ";
    EXPECT_EQ(twice.out.substr(0, prefix.size()), prefix);
    EXPECT_NE(twice.out.find("\nKey Offset: "), std::string::npos);
    EXPECT_NE(twice.out.find("\nHeader ID: "), std::string::npos);
    EXPECT_EQ(std::count(twice.out.begin(), twice.out.end(), '\n'), 8);

    // --hex writes a Binary or String value as hex pairs, and leaves an Integer's text alone.
    const std::string sample = SamplePath().string();
    EXPECT_NE(RunCli({"get", sample, "/setting/system/macAddress", "--hex"})
                  .out.find("Value: 00 1F A7 00 00 42 FF 00\n"),
              std::string::npos);
    EXPECT_NE(RunCli({"get", file, "/t/twice", "--hex"}).out.find("Value: 00000002\n"),
              std::string::npos);

    EXPECT_EQ(RunCli({"get", file, "/t/none"}).exitCode, 1);
    const auto folderKey = RunCli({"get", file, "/t"});
    EXPECT_EQ(folderKey.exitCode, 1);
    EXPECT_NE(folderKey.err.find("/t is a key folder"), std::string::npos);

    EXPECT_EQ(RunCli({"find", file, "T/"}).out,
              "/t/int\n/t/short\n/t/text\n/t/bin\n/t/twice\n/t/odd\n");
    EXPECT_EQ(RunCli({"find", file, "*i?t"}).out, "/t/int\n");
    // A value is found only with --values.
    const auto keysOnly = RunCli({"find", file, "HI"});
    EXPECT_EQ(keysOnly.exitCode, 1);
    EXPECT_TRUE(keysOnly.out.empty());
    EXPECT_NE(keysOnly.err.find("t.sys: no key matches \"HI\""), std::string::npos) << keysOnly.err;
    const auto nowhere = RunCli({"find", file, "nowhere", "--values"});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_NE(nowhere.err.find("no key or value matches \"nowhere\""), std::string::npos);
    EXPECT_EQ(RunCli({"find", file, "HI", "--values"}).out, "/t/text\n");
    EXPECT_EQ(RunCli({"find", SamplePath().string(), "proxy"}).out,
              "/setting/net/proxy\n/setting/net/proxy/server\n/setting/net/proxy/port\n");
}

TEST(Usage, WrongUsageExitsTwoAndEveryCommandHasHelp) {
    EXPECT_EQ(RunCli({}).exitCode, 2);
    const auto overview = RunCli({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    EXPECT_EQ(RunCli({"/?"}).out, overview.out);
    for (const char* asked : {"--version", "-v"}) {
        const auto version = RunCli({asked});
        EXPECT_EQ(version.exitCode, 0) << asked;
        EXPECT_EQ(version.out, std::string("thornbeck-cli ") + THORNBECK_EXPECTED_VERSION + "\n");
    }
    for (const char* command : {"info", "list", "export-csv", "get", "find", "set", "diff"}) {
        EXPECT_NE(overview.out.find(std::string("  ") + command + " "), std::string::npos);
        const auto help = RunCli({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("usage: thornbeck-cli ") + command + " ", 0), 0u);
    }
    const std::string sample = SamplePath().string();
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"frobnicate", sample},
             {"get", sample},
             {"get", sample, "/a", "/b"},
             {"list", sample, "--format", "xml"},
             {"list", sample, "--format"},
             {"find", sample, "x", "--value"},
             {"diff", sample, sample, "--offsets", "--offsets"}}) {
        const auto run = RunCli(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong[0] << ' ' << wrong.back();
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
}

}  // namespace
}  // namespace thornbeck::test

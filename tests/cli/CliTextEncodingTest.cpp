// The command line's texts are UTF-8 and the file's bytes Latin-1: what goes in and what comes
// out is mapped one character per byte, as the window maps its fields.
#include <gtest/gtest.h>

#include <vector>

#include "cli/CliRun.h"
#include "support/TestFiles.h"

namespace thornbeck::test {
namespace {

const std::string kKey = "/setting/system/elevenText";
const std::string kGruesse =
    "Gr\xC3\xBC\xC3\x9F"
    "e";  // "Grüße" as a terminal types it

TEST(TextEncoding, SetWritesOneLatin1BytePerCharacterAndOutputShowsItInUtf8) {
    TempFolder folder;
    const auto file = folder.write("x.sys", SampleBytes()).string();
    ASSERT_EQ(RunCli({"set", file, kKey, "--value", kGruesse}).exitCode, 0);
    // The window's bytes: 47 72 FC DF 65.
    EXPECT_NE(RunCli({"get", file, kKey, "--hex"}).out.find("Value: 47 72 FC DF 65"),
              std::string::npos);
    EXPECT_NE(RunCli({"get", file, kKey}).out.find("Value: " + kGruesse), std::string::npos);
    EXPECT_NE(RunCli({"list", file}).out.find(kKey + "\t" + kGruesse), std::string::npos);
    const auto found = RunCli({"find", file, kGruesse, "--values"});
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_EQ(found.out, kKey + "\n");
    // JSON keeps its ASCII escapes; the CSV keeps the window's bytes.
    EXPECT_NE(RunCli({"list", file, "--format", "json"}).out.find("Gr\\u00FC\\u00DFe"),
              std::string::npos);
    EXPECT_NE(RunCli({"list", file, "--format", "csv"})
                  .out.find("\"Gr\xFC\xDF"
                            "e"),
              std::string::npos);
    // diff shows both sides in UTF-8.
    const auto diff = RunCli({"diff", SamplePath().string(), file});
    EXPECT_NE(diff.out.find("\tValue\televen char\t" + kGruesse + "\\x00"), std::string::npos)
        << diff.out;
}

TEST(TextEncoding, ACharacterNoByteHoldsIsAnInvalidValueAndWritesNothing) {
    TempFolder folder;
    const auto file = folder.write("x.sys", SampleBytes()).string();
    std::vector<std::string> values = {"\xE2\x82\xAC", "\xD0\xB6\xD0\xB6"};
#ifndef _WIN32
    // Bytes that are no UTF-8; a Windows command line is UTF-16 and cannot carry them.
    values.push_back("G\xFC");
#endif
    for (const std::string& value : values) {
        for (const std::string& key : {kKey, std::string("/setting/system/timeZone")}) {
            const auto set = RunCli({"set", file, key, "--value", value});
            EXPECT_EQ(set.exitCode, 1) << key << set.err;
            EXPECT_NE(set.err.find(": Value: Invalid value"), std::string::npos) << set.err;
        }
    }
    EXPECT_EQ(ReadBytes(file), SampleBytes());
    EXPECT_FALSE(std::filesystem::exists(file + ".bak"));
    const auto find = RunCli({"find", file, "\xE2\x82\xAC", "--values"});
    EXPECT_EQ(find.exitCode, 1);
    EXPECT_NE(find.err.find("Invalid value"), std::string::npos) << find.err;
}

TEST(TextEncoding, C1BytesAreEscapedAndLatin1KeysAreNamedInUtf8) {
    TempFolder folder;
    const auto file = folder.write("x.sys", SampleBytes()).string();
    ASSERT_EQ(RunCli({"set", file, kKey, "--value-hex", "859FA0FF"}).exitCode, 0);
    EXPECT_NE(RunCli({"get", file, kKey}).out.find("Value: \\x85\\x9F\xC2\xA0\xC3\xBF"),
              std::string::npos);
    // A key typed in UTF-8 names the Latin-1 key's bytes; one no byte holds names none.
    const auto missing = RunCli({"get", file, "/setting/\xC3\xBC"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("no entry has the key /setting/\xC3\xBC"), std::string::npos)
        << missing.err;
}

}  // namespace
}  // namespace thornbeck::test

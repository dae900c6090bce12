#include "core/fileio/PathFunctions.h"

#include <gtest/gtest.h>

namespace thornbeck {
namespace {

TEST(PathFunctions, FileNameOfKeepsOrDropsTheLastExtension) {
    EXPECT_EQ(FileNameOf("C:\\dumps\\xRegistry.sys", true), "xRegistry.sys");
    EXPECT_EQ(FileNameOf("C:\\dumps\\xRegistry.sys", false), "xRegistry");
    EXPECT_EQ(FileNameOf("/a.b/file.tar.gz", false), "file.tar");
    EXPECT_EQ(FileNameOf("/a.b/README", false), "README");
    EXPECT_EQ(FileNameOf("plain.txt", true), "plain.txt");
    EXPECT_EQ(FileNameOf("/x\\y/z", true), "z");
#ifdef _WIN32
    EXPECT_EQ(FileNameOf("/x/y?/z", true), "y");
#else
    // "?" is a legal character of a Linux file name.
    EXPECT_EQ(FileNameOf("/x/y?/z", true), "z");
    EXPECT_EQ(FileNameOf("/dumps/what?.sys", false), "what?");
#endif
    EXPECT_EQ(FileNameOf("", false), "");
}

TEST(PathFunctions, FolderOfEndsWithTheLastSeparator) {
    EXPECT_EQ(FolderOf("C:\\dumps\\xRegistry.sys"), "C:\\dumps\\");
    EXPECT_EQ(FolderOf("/home/u/x.sys"), "/home/u/");
    EXPECT_EQ(FolderOf("a\\b/c\\d"), "a\\b/c\\");
    EXPECT_EQ(FolderOf("bare"), "bare");
#ifdef _WIN32
    EXPECT_EQ(FolderOf("bare?x/y"), "bare");
#else
    EXPECT_EQ(FolderOf("bare?x/y"), "bare?x/");
#endif
    EXPECT_EQ(FolderOf(""), "");
}

TEST(PathFunctions, StripQuotesRemovesSpacesAndOnePairOfQuotes) {
    EXPECT_EQ(StripQuotes("  \"/tmp/my file.sys\"  "), "/tmp/my file.sys");
    EXPECT_EQ(StripQuotes("\""), "\"");
    EXPECT_EQ(StripQuotes("\"open"), "\"open");
    EXPECT_EQ(StripQuotes("\"\"\"x\"\"\""), "\"\"x\"\"");
    EXPECT_EQ(StripQuotes("   "), "");
    EXPECT_EQ(StripQuotes("\tx\t"), "\tx\t");
}

}  // namespace
}  // namespace thornbeck

#include <gtest/gtest.h>

#include "core/keyinfo/KeyInfoTable.h"

namespace thornbeck {
namespace {

using Columns = KeyInfoTable::Columns;

TEST(KeyInfoTable, LinesEndAtCrLfLoneCrOrLoneLf) {
    const auto table =
        KeyInfoTable::Parse("/a\tfirst\t1\r\n/b\tsecond\r/c\tthird\n/d\tfourth\t \tmore\r\n\r\n/e");
    EXPECT_EQ(table.size(), 6u);  // the empty line is a record with an empty key
    ASSERT_TRUE(table.find("/a"));
    EXPECT_EQ(*table.find("/a"), Columns({"/a", "first", "1"}));
    EXPECT_EQ(*table.find("/b"), Columns({"/b", "second"}));
    EXPECT_EQ(*table.find("/c"), Columns({"/c", "third"}));
    EXPECT_EQ(*table.find("/d"), Columns({"/d", "fourth", " ", "more"}));
    EXPECT_EQ(*table.find("/e"), Columns({"/e"}));
    EXPECT_EQ(table.find("/f"), nullptr);
}

TEST(KeyInfoTable, KeysIgnoreAsciiCaseAndTheFirstLineWins) {
    const auto table =
        KeyInfoTable::Parse("/Setting/Net\tfirst\n/setting/net\tsecond\n/caf\xC9\tx\n");
    ASSERT_TRUE(table.find("/SETTING/net"));
    EXPECT_EQ((*table.find("/SETTING/net"))[1], "first");
    // Only A-Z fold; other bytes compare by their codes.
    EXPECT_TRUE(table.find("/CAF\xC9"));
    EXPECT_FALSE(table.find("/caf\xE9"));
    // Columns are kept as they are: no trimming, no unquoting.
    const auto spaced = KeyInfoTable::Parse(" /k \t\"d\" \t");
    EXPECT_EQ(*spaced.find(" /k "), Columns({" /k ", "\"d\" ", ""}));
    EXPECT_FALSE(spaced.find("/k"));
    EXPECT_TRUE(KeyInfoTable::Parse("").empty());
}

}  // namespace
}  // namespace thornbeck

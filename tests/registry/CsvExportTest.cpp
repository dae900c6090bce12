#include "registry/CsvExport.h"

#include <gtest/gtest.h>

#include <numeric>

namespace thornbeck {
namespace {

ListRow Row(std::string_view key, std::string value) {
    return {
        key, {std::move(value), "4", "Integer", "1A2B", "0000", "010000", "000010", "00FF"}, {}};
}

TEST(CsvExport, ARowWithoutQuotesGivesNineQuotedFieldsWithHeaderIdSeventh) {
    const std::vector<ListRow> rows = {Row("/setting/a", "00000001")};
    const std::vector<int32_t> order = {0};
    EXPECT_EQ(CsvOfRows(rows, order),
              "\"/setting/a\",\"00000001\",\"4\",\"Integer\",\"1A2B\",\"0000\",\"00FF\",\"010000\","
              "\"000010\"\r\n");
}

TEST(CsvExport, QuotesAreDoubledAndEverythingElseIsWrittenRaw) {
    const std::vector<ListRow> rows = {Row("/k", std::string("say \"hi\", ok\r\n\0\x80\xFF", 17))};
    const std::vector<int32_t> order = {0};
    const std::string csv = CsvOfRows(rows, order);
    EXPECT_EQ(csv.substr(0, 26), std::string("\"/k\",\"say \"\"hi\"\", ok\r\n\0\x80\xFF\"", 26));
}

TEST(CsvExport, EmptyFieldsAreTwoQuotes) {
    ListRow row{"/k", {}, {}};
    const std::vector<ListRow> rows = {row};
    const std::vector<int32_t> order = {0};
    EXPECT_EQ(CsvOfRows(rows, order), "\"/k\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
}

TEST(CsvExport, FollowsTheGivenOrderAndGivesNothingForNoRows) {
    const std::vector<ListRow> rows = {Row("/a", "1"), Row("/b", "2"), Row("/c", "3")};
    const std::vector<int32_t> order = {2, 0, 1};
    const std::string csv = CsvOfRows(rows, order);
    EXPECT_EQ(csv.find("\"/c\""), 0u);
    EXPECT_LT(csv.find("\"/a\""), csv.find("\"/b\""));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    EXPECT_EQ(CsvOfRows({}, {}), "");
}

TEST(CsvExport, ComesInChunksOfWholeLinesThatAddUpToTheWholeAndStopsWhenTold) {
    std::vector<std::string> keys;
    for (int i = 0; i < 300; ++i) keys.push_back("/" + std::string(1000, 'a' + i % 26));
    std::vector<ListRow> rows;
    for (const std::string& key : keys) rows.push_back(Row(key, "1"));
    std::vector<int32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);

    std::vector<std::string> chunks;
    EXPECT_TRUE(CsvInChunks(rows, order, [&chunks](std::string_view chunk) {
        chunks.emplace_back(chunk);
        return true;
    }));
    ASSERT_GE(chunks.size(), 4u);
    std::string joined;
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_GE(chunks[i].size(), i + 1 < chunks.size() ? kCsvChunkBytes : 0u);
        EXPECT_LT(chunks[i].size(), kCsvChunkBytes + 1100);
        EXPECT_EQ(chunks[i].substr(chunks[i].size() - 2), "\r\n");
        joined += chunks[i];
    }
    std::string expected;
    for (const std::string& key : keys)
        expected +=
            "\"" + key +
            "\",\"1\",\"4\",\"Integer\",\"1A2B\",\"0000\",\"00FF\",\"010000\",\"000010\"\r\n";
    EXPECT_EQ(joined, expected);

    int calls = 0;
    EXPECT_FALSE(CsvInChunks(rows, order, [&calls](std::string_view) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace thornbeck

#include "core/export/CsvExport.h"

#include <gtest/gtest.h>

#include <numeric>

#include "DeepNamesImage.h"
#include "RegistryBuilder.h"
#include "core/edit/EntryTexts.h"
#include "support/TestFiles.h"

namespace thornbeck {
namespace {

using sample::BigEndian;
using sample::Bytes;
using sample::RegistryBuilder;

// An image with the builder's entries and its index, kept together as the CSV reads both.
struct Indexed {
    explicit Indexed(const RegistryBuilder& builder)
        : image(builder.build()), index(IndexRegistry(image)) {}
    std::string csv(std::span<const int32_t> order) const { return CsvOfRows(image, index, order); }
    RegistryImage image;
    RegistryIndex index;
};

TEST(CsvExport, ARowWithoutQuotesGivesNineQuotedFieldsWithHeaderIdSeventh) {
    RegistryBuilder builder;
    builder.addKey("/setting/a", 0x00FF);
    builder.addEntry("/setting/a", 1, BigEndian(1, 4), 0x1A2B);
    const std::vector<int32_t> order = {0};
    EXPECT_EQ(Indexed(builder).csv(order),
              "\"/setting/a\",\"00000001\",\"4\",\"Integer\",\"1A2B\",\"0000\",\"00FF\",\"010000\","
              "\"000010\"\r\n");
}

TEST(CsvExport, QuotesAreDoubledAndEverythingElseIsWrittenRaw) {
    RegistryBuilder builder;
    builder.addEntry("/k", 2, Bytes(std::string_view("say \"hi\", ok\r\n\0\x80\xFF", 17)));
    const std::vector<int32_t> order = {0};
    const std::string csv = Indexed(builder).csv(order);
    EXPECT_EQ(csv.substr(0, 26), std::string("\"/k\",\"say \"\"hi\"\", ok\r\n\0\x80\xFF\"", 26));
}

TEST(CsvExport, EmptyFieldsAreTwoQuotes) {
    RegistryBuilder builder;
    builder.addEntry("/k", 7, {});  // no value, and a type without a name
    const std::vector<int32_t> order = {0};
    EXPECT_EQ(Indexed(builder).csv(order).substr(0, 21), "\"/k\",\"\",\"0\",\"\",\"0000\"");
}

TEST(CsvExport, FollowsTheGivenOrderAndGivesNothingForNoRows) {
    RegistryBuilder builder;
    for (const char* key : {"/a", "/b", "/c"}) builder.addEntry(key, 1, BigEndian(1, 4));
    const Indexed file(builder);
    const std::vector<int32_t> order = {2, 0, 1};
    const std::string csv = file.csv(order);
    EXPECT_EQ(csv.find("\"/c\""), 0u);
    EXPECT_LT(csv.find("\"/a\""), csv.find("\"/b\""));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    EXPECT_EQ(CsvOfRows(file.image, RegistryIndex(), {}), "");
}

TEST(CsvExport, ComesInChunksOfWholeLinesThatAddUpToTheWholeAndStopsWhenTold) {
    // 50 keys of 1,000 letters fill most of the key area; the order shows each six times.
    RegistryBuilder builder;
    std::vector<std::string> keys;
    for (int i = 0; i < 50; ++i) {
        keys.push_back("/" + std::string(1000, static_cast<char>('a' + i % 26)) +
                       std::to_string(i));
        builder.addEntry(keys.back(), 2, Bytes("1"), 0x1A2B);
    }
    const Indexed file(builder);
    ASSERT_EQ(file.index.rows().size(), keys.size());
    std::vector<int32_t> order;
    for (int round = 0; round < 6; ++round)
        for (size_t r = 0; r < keys.size(); ++r) order.push_back(static_cast<int32_t>(r));

    std::vector<std::string> chunks;
    EXPECT_TRUE(CsvInChunks(file.image, file.index, order, [&chunks](std::string_view chunk) {
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
    for (const int32_t row : order) {
        const EntryRef& entry = file.index.rows()[static_cast<size_t>(row)].entry;
        expected +=
            "\"" + keys[static_cast<size_t>(row)] + "\",\"1\",\"1\",\"String\",\"1A2B\",\"0000\"";
        for (const DetailField field : {kHeaderIdField, kDataOffsetField, kKeyOffsetField})
            expected += ",\"" + FieldText(file.image, entry, field) + "\"";
        expected += "\r\n";
    }
    EXPECT_EQ(joined, expected);

    int calls = 0;
    EXPECT_FALSE(CsvInChunks(file.image, file.index, order,
                             [&calls](std::string_view) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

TEST(CsvExport, TheExportIsWrittenChunkByChunkNeverWholeAndReplacesTheFileWhole) {
    const RegistryImage image(sample::DeepNamesImage(600));
    const RegistryIndex index = IndexRegistry(image);
    std::vector<int32_t> order = LoadOrderOf(index);
    std::reverse(order.begin(), order.end());
    const std::string whole = CsvOfRows(image, index, order);
    ASSERT_GT(whole.size(), 20 * kCsvChunkBytes);

    test::TempFolder folder;
    const auto path = folder.write("x.csv", {'o', 'l', 'd'});
    size_t writes = 0;
    size_t largest = 0;
    const ChunkWriter counting = [&](std::FILE* file, std::span<const uint8_t> bytes) {
        ++writes;
        largest = std::max(largest, bytes.size());
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size()
                   ? std::nullopt
                   : std::optional<std::string>("short write");
    };
    EXPECT_FALSE(ExportCsvFile(path, image, index, order, counting).has_value());
    const auto written = test::ReadBytes(path);
    EXPECT_EQ(std::string(written.begin(), written.end()), whole);
    EXPECT_GT(writes, 20u);
    EXPECT_LT(largest, 2 * kCsvChunkBytes);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".bak"));

    // A write that fails leaves the old file as it was.
    const ChunkWriter failing = [](std::FILE*, std::span<const uint8_t>) {
        return std::optional<std::string>("disk full");
    };
    EXPECT_TRUE(ExportCsvFile(path, image, index, order, failing).has_value());
    EXPECT_EQ(test::ReadBytes(path), written);
}

}  // namespace
}  // namespace thornbeck

#include "registry/CsvExport.h"

#include <gtest/gtest.h>

#include "RegistryBuilder.h"

namespace thornbeck {
namespace {

using sample::BigEndian;
using sample::Bytes;
using sample::RegistryBuilder;

// An image with the builder's entries and its index, kept together as the CSV reads both.
struct Indexed {
    explicit Indexed(const RegistryBuilder& builder)
        : image(builder.build()), index(IndexRegistry(image)) {}
    std::string csv(std::span<const int32_t> order) const {
        return CsvOfRows(image, index.rows(), order);
    }
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
    EXPECT_EQ(CsvOfRows(file.image, {}, {}), "");
}

}  // namespace
}  // namespace thornbeck

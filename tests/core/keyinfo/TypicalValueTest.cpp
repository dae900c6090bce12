#include "core/keyinfo/TypicalValue.h"

#include <gtest/gtest.h>

namespace thornbeck {
namespace {

TEST(TypicalValue, OnlyDecimalNumbersGetThePrefix) {
    for (const char* numeric : {"1", " -2.5 ", "+3.", ".5", "1e10", "6.02E+23", "7e-1"})
        EXPECT_TRUE(IsNumericText(numeric)) << numeric;
    for (const char* other :
         {"", "  ", "on", "1,000", "0x1F", "&H10", "$5", "1e", "e5", ".", "-", "1 2", "5%"})
        EXPECT_FALSE(IsNumericText(other)) << other;
    EXPECT_EQ(TypicalValueText("1"), "Typical Value: 1");
    EXPECT_EQ(TypicalValueText("on"), "on");
    EXPECT_EQ(TypicalValueText(""), "");
}

}  // namespace
}  // namespace thornbeck

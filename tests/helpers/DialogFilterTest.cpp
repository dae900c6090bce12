#include "helpers/DialogFilter.h"

#include <gtest/gtest.h>

namespace thornbeck {
namespace {

TEST(DialogFilter, DefaultExtensionComesFromTheFirstPattern) {
    EXPECT_EQ(DefaultExtension("xRegistry.csv|*.csv"), ".csv");
    EXPECT_EQ(DefaultExtension("xRegistry.sys|*.sys|All files (*.*)|*.*"), ".sys");
    EXPECT_EQ(DefaultExtension("All files|*.*"), "");
    EXPECT_EQ(DefaultExtension("Name only|"), "");
    EXPECT_EQ(DefaultExtension("Plain|README"), "README");
    EXPECT_EQ(DefaultExtension("Archives|*.tar.gz"), ".tar.gz");
}

TEST(DialogFilter, ATrailingBarIsOptional) {
    EXPECT_EQ(ParseFilter("a|*.a|").size(), 1u);
    EXPECT_EQ(ParseFilter("a|*.a").size(), 1u);
    EXPECT_EQ(ParseFilter("xRegistry.sys|*.sys|All files (*.*)|*.*").size(), 2u);
}

TEST(DialogFilter, NameFiltersShowPatternsOnce) {
    EXPECT_EQ(NameFilters("xRegistry.sys|*.sys|All files (*.*)|*.*"),
              (std::vector<std::string>{"xRegistry.sys (*.sys)", "All files (*.*)"}));
    EXPECT_EQ(NameFilters("Dumps|*.sys;*.bak"), std::vector<std::string>{"Dumps (*.sys *.bak)"});
}

TEST(DialogFilter, TrimAtNullCutsAtTheFirstNulAndTrimsSpaces) {
    EXPECT_EQ(TrimAtNull(std::string("  /tmp/x.sys  \0garbage", 23)), "/tmp/x.sys");
    EXPECT_EQ(TrimAtNull("    "), "");
    EXPECT_EQ(TrimAtNull(std::string("\0", 1)), "");
}

}  // namespace
}  // namespace thornbeck

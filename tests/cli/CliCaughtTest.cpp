// What a command throws ends as exit status 2 with a message, never as a crash.
#include <gtest/gtest.h>

#include <new>
#include <sstream>
#include <stdexcept>

#include "cli/Cli.h"

namespace thornbeck::cli {
namespace {

TEST(RunCaught, ReportsWhatACommandThrows) {
    std::ostringstream err;
    EXPECT_EQ(RunCaught(
                  "set", [] { return 1; }, err),
              1);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(RunCaught(
                  "set", []() -> int { throw std::bad_alloc(); }, err),
              2);
    EXPECT_EQ(err.str(), "thornbeck-cli set: out of memory\n");
    err.str({});
    EXPECT_EQ(RunCaught(
                  "info", []() -> int { throw std::length_error("vector"); }, err),
              2);
    EXPECT_EQ(err.str(), "thornbeck-cli info: internal error: vector\n");
    err.str({});
    EXPECT_EQ(RunCaught(
                  "list", []() -> int { throw 7; }, err),
              2);
    EXPECT_EQ(err.str(), "thornbeck-cli list: internal error\n");
}

}  // namespace
}  // namespace thornbeck::cli

#include "core/index/NodeTable.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace thornbeck::test {
namespace {

// The table against a plain map of the same hashes: every node is found by its hash and the
// match, through growth, and hashes that share their kept part still tell their nodes apart by
// the match alone.
TEST(NodeTable, FindsWhatAPlainMapFinds) {
    std::mt19937_64 random(7);
    NodeTable table;
    std::multimap<uint64_t, int32_t> model;
    for (int32_t node = 0; node < 5000; ++node) {
        // Every third hash shares its high half (the kept part) with an earlier one.
        uint64_t hash = random();
        if (node % 3 == 2) hash = (model.rbegin()->first & ~uint64_t{0xFFFFFFFF}) | node;
        if (node == 2500) table.reserve(6000);
        table.insert(hash, node);
        model.emplace(hash, node);
    }
    for (const auto& [hash, node] : model) {
        const int32_t wanted = node;
        EXPECT_EQ(table.find(hash, [&](int32_t n) { return n == wanted; }), wanted);
    }
    // A node is offered only under its own kept part of the hash.
    EXPECT_EQ(table.find(model.begin()->first ^ (uint64_t{1} << 40), [](int32_t) { return true; }),
              -1);
    EXPECT_EQ(NodeTable().find(1, [](int32_t) { return true; }), -1);
}

}  // namespace
}  // namespace thornbeck::test

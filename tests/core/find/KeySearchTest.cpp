#include <gtest/gtest.h>

#include "RegistryBuilder.h"
#include "core/find/KeySearch.h"

namespace thornbeck {
namespace {

using sample::Bytes;

TEST(FindNextPosition, TriesAfterTheStartThenWrapsAndNeverTheStart) {
    auto visited = [](size_t count, size_t start) {
        std::vector<size_t> tried;
        FindNextPosition(count, start, [&](size_t p) {
            tried.push_back(p);
            return false;
        });
        return tried;
    };
    using Order = std::vector<size_t>;
    EXPECT_EQ(visited(5, 3), Order({4, 5, 1, 2}));
    EXPECT_EQ(visited(5, 0), Order({2, 3, 4, 5}));  // nothing selected: position 1 is skipped
    EXPECT_EQ(visited(5, 5), Order({1, 2, 3, 4}));
    EXPECT_EQ(visited(1, 1), Order({}));
    EXPECT_EQ(visited(0, 0), Order({}));
    EXPECT_EQ(FindNextPosition(5, 2, [](size_t p) { return p == 1 || p == 4; }), 4u);
    EXPECT_EQ(FindNextPosition(5, 4, [](size_t p) { return p == 1 || p == 4; }), 1u);
    EXPECT_EQ(FindNextPosition(5, 4, [](size_t p) { return p == 4; }), std::nullopt);
}

struct SearchFile {
    SearchFile() {
        sample::RegistryBuilder b;
        b.addEntry("/net/Proxy", 2, Bytes("HOST.LOCAL"));
        b.addEntry("/net/port", 1, {0, 0, 0x1F, 0x90});
        b.addEntry("/net/[x]", 2, Bytes("brackets"));
        b.addEntry("/media/empty", 2, {});
        image = RegistryImage(b.build());
        index = IndexRegistry(image);
        for (size_t i = 0; i < index.rows().size(); ++i) order.push_back(static_cast<int32_t>(i));
    }
    std::optional<std::string_view> treeHit(std::string_view text, size_t start = 0,
                                            int32_t shownDepth = 1000) {
        KeySearch search(text);
        const auto node = FindNextTreeNode(image, index, start, search, shownDepth);
        if (!node) return std::nullopt;
        return index.nodes()[static_cast<size_t>(*node)].key;
    }
    std::optional<std::string_view> listHit(std::string_view text, size_t start = 0) {
        KeySearch search(text);
        const auto position = FindNextListPosition(index, order, start, search);
        if (!position) return std::nullopt;
        return index.keyOf(index.rows()[static_cast<size_t>(order[*position - 1])]);
    }
    RegistryImage image;
    RegistryIndex index;
    std::vector<int32_t> order;
};

TEST(KeySearch, TreeModeComparesOwnTextsAndValuesListModeFullKeys) {
    SearchFile f;
    // Nodes in the order added: /net, /net/Proxy, /net/port, /net/[x], /media, /media/empty.
    EXPECT_EQ(f.treeHit("PROXY"), "/net/Proxy");
    EXPECT_EQ(f.treeHit("host.local"), "/net/Proxy");  // a value, in other letter case
    EXPECT_EQ(f.listHit("host"), std::nullopt);        // the list compares keys only
    EXPECT_EQ(f.listHit("net/p"), "/net/port");        // nothing selected: row 1 is not tried
    EXPECT_EQ(f.listHit("net/p", 2), "/net/Proxy");
    EXPECT_EQ(f.treeHit("net/p"), std::nullopt);  // a tree node's text is its own level
    EXPECT_EQ(f.treeHit("[x]"), "/net/[x]");
    EXPECT_EQ(f.listHit("]"), "/net/[x]");
    EXPECT_EQ(f.treeHit("p*"), "/net/Proxy");
    EXPECT_EQ(f.treeHit("p*", 2), "/net/port");
    EXPECT_EQ(f.treeHit("*t"), "/net/port");
    EXPECT_EQ(f.treeHit("#"), std::nullopt);  // the Integer value's bytes hold no digit
    EXPECT_EQ(f.treeHit("MED"), "/media");
    // A node the tree does not show cannot be selected, so it is no hit.
    EXPECT_EQ(f.treeHit("empty", 0, 2), "/media/empty");
    EXPECT_EQ(f.treeHit("empty", 0, 1), std::nullopt);
    EXPECT_EQ(f.treeHit("", 6), "/net");  // everything matches "**": the next node, wrapped
}

}  // namespace
}  // namespace thornbeck

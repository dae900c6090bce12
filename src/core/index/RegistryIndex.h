#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/format/EntryRef.h"
#include "core/format/RegistryImage.h"
#include "core/index/KeyNameStore.h"
#include "core/index/NodeTable.h"

namespace thornbeck {

// One node of the key tree: a path level, or an entry when it carries an EntryRef.
struct TreeNode {
    std::string_view key;  // the key path up to this level
    int32_t parent = -1;   // -1 for a top-level node
    int32_t listRow = -1;  // the list row with this key, -1 when no entry has this name
    // Where its children start in the index's list of children; they end where the next
    // node's start.
    int32_t firstChild = 0;
    int16_t depth = 0;      // 0 for a top-level node; below kMaxDepth
    uint16_t textFrom = 0;  // where the level's own text starts in the key (lengths are 16-bit)
    std::optional<EntryRef> entry;

    // The level's own text.
    std::string_view text() const { return key.substr(textFrom); }
};

// One list row: the node of an entry's full key name and the entry it shows (the first of that
// name until Modify shows the node's entry there). Its texts are read from the image when shown
// (DescribeEntry), so that a row costs the same whatever its value's size.
struct ListRow {
    int32_t node = -1;  // the node with the row's key
    EntryRef entry;
};

// The two views of one load: tree nodes in the order they were added and list rows in the order
// of the entries in the file, both keyed by key path. Keys are views into the load's KeyNameStore,
// which the index keeps alive, and through it the image's bytes. Lookups by key are hashed; nothing
// here is recursive.
//
// The tree is bounded so that a hostile file cannot make it explode: every entry gets its own
// node and its list row with the full key, but the levels above an entry (path levels) are only
// created down to depth kMaxDepth - 2, and only while the load's budget of nodes (NodeBudget)
// lasts, which only a hostile file exhausts. An entry whose path is cut that way hangs below the
// deepest level of its path that exists, and its node's text is the rest of its name below that
// level, so every byte of the key is still in the tree. findNode finds every entry node by its full
// name and every path level that was created by its key.
class RegistryIndex {
public:
    // Nodes lie at depths 0 to kMaxDepth - 1: the item views lay out expanded levels
    // recursively, and nobody reads a thousand levels.
    static constexpr int32_t kMaxDepth = 1000;
    // Nodes of every kind a file of `fileSize` bytes may make when its names copy `namesCopied`
    // bytes (KeyNameStore): what is left of three times the file and 32 MiB once the file, that
    // copy and what any open costs the views (kBytesPerOpen) are counted, at kBytesPerNode for
    // each node's share of the index and of the window's views; at most kMostNodes. A key offset
    // has 16 bits, so no file has more than 65,536 key records: their entry nodes always fit,
    // and the path levels get what they leave, well over a hundred thousand for any file. The
    // costs were measured in the window on deep and on flat trees.
    static int64_t NodeBudget(int64_t fileSize, int64_t namesCopied);
    static constexpr int64_t kBytesPerNode = 192;
    static constexpr int64_t kBytesPerOpen = 48 * 1024;
    static constexpr int64_t kSpareBytes = 32 << 20;
    static constexpr int64_t kMostNodes = 2 * 65536;

    RegistryIndex() = default;
    // `pathLevels`: the budget of path levels, see above; `records`: the key records the entries
    // use, at most one node and one row each. Room for the most nodes is taken at once, so that
    // the tables are not copied as they grow.
    RegistryIndex(std::shared_ptr<const KeyNameStore> names, int64_t pathLevels,
                  int64_t records = 0);

    const std::vector<TreeNode>& nodes() const { return treeNodes; }
    const std::vector<int32_t>& topLevel() const { return topNodes; }
    // The children of a node, in the order they were added.
    std::span<const int32_t> childrenOf(int32_t node) const;
    // A node's position among its parent's children (or the top level).
    int32_t rowOf(int32_t node) const;
    const std::vector<ListRow>& rows() const { return listRows; }
    // A row's full key name: its node's.
    std::string_view keyOf(const ListRow& row) const {
        return treeNodes[static_cast<size_t>(row.node)].key;
    }
    // The nodes this load could make (NodeBudget); the views may spend what the nodes leave.
    int64_t nodeBudget() const { return budget; }
    // Data entries walked, repeated names included.
    int64_t entryCount() const { return entriesWalked; }
    // How many entries have the node's key: 0 for a folder, 2 or more for a key that several
    // entries share (the node holds the last of them, the list row the first).
    int32_t entriesWithKeyOf(int32_t node) const;
    // Path levels the budget refused: 0 unless some entry's path was cut for the budget.
    int64_t pathLevelsRefused() const { return refusedLevels; }
    // Entry nodes that hang below their nearest existing folder because their key path was cut,
    // for the budget or the depth cap.
    int64_t entriesShortened() const { return shortened; }

    std::optional<int32_t> findNode(std::string_view key) const;
    // One past the last byte of any key name or name length the load read: an edit that stays
    // at or after it cannot change a name.
    int64_t keyBytesEnd() const { return keysEnd; }
    void setKeyBytesEnd(int64_t end) { keysEnd = end; }

    // Where the data area ends: the walk's last record (which may be an earlier entry of a
    // repeated name) and the end marker, as size changes have moved them since the load.
    struct DataAreaEnd {
        std::optional<EntryRef> lastRecord;
        std::optional<int32_t> endMarker;
    };
    const DataAreaEnd& dataAreaEnd() const { return tail; }
    void setDataAreaEnd(DataAreaEnd end) { tail = end; }
    // A size change of the entry at `offset` by `delta`: every later entry node and list row, the
    // last record and the end marker move by delta.
    void moveEntriesAfter(int32_t offset, int32_t delta);

    // Creates the missing path levels above the entry name `name`, parents first, as far as the
    // depth cap and the budget allow. Returns the deepest level above `name` that exists then,
    // or -1 when none does; `cut` tells whether that is short of the whole path. Costs at most
    // the length of the levels walked, however deep.
    int32_t AddPathNodes(std::string_view name, bool& cut);
    // Finds the node of an entry's name, creating it and the levels above it when they are new.
    int32_t AddEntryNode(std::string_view name);
    // The node takes the entry (a repeated name takes over the node). Returns the new list row
    // when this is the first entry of that name, else -1.
    int32_t attachEntry(int32_t node, const EntryRef& entry);

    void setEntry(int32_t node, const EntryRef& entry) {
        treeNodes[static_cast<size_t>(node)].entry = entry;
    }
    void setRowEntry(int32_t row, const EntryRef& entry) {
        listRows[static_cast<size_t>(row)].entry = entry;
    }

private:
    // The node with this key and hash, -1 for none.
    int32_t find(std::string_view key, uint64_t hash) const;
    // The child of `parent` (-1: top level) whose key is `key`, -1 for none; `key` must start
    // with the parent's key, so only the part below it is compared.
    int32_t findChild(int32_t parent, std::string_view key, uint64_t hash) const;
    int32_t addNode(std::string_view key, uint64_t hash, int32_t parent);
    // Fills the list of children once every node is added: all children in one array, each
    // node's together, instead of an allocation for every node.
    void linkChildren();
    friend RegistryIndex IndexRegistry(const RegistryImage& image);

    std::shared_ptr<const KeyNameStore> names;  // owns the bytes every key views
    std::vector<TreeNode> treeNodes;
    std::vector<int32_t> topNodes;
    std::vector<int32_t> childList;
    std::vector<ListRow> listRows;
    NodeTable byHash;
    int64_t entriesWalked = 0;
    // The nodes whose key several entries share, with their counts; few in any real file.
    std::unordered_map<int32_t, int32_t> sharedKeys;
    int64_t levelsLeft = 0;
    int64_t budget = 0;
    int64_t refusedLevels = 0;
    int64_t shortened = 0;
    DataAreaEnd tail;
    int64_t keysEnd = 0;
};

// The tree node of the key when it holds an entry (for a name that several entries share, the
// node holds the last of them); nothing for an unknown key or a key folder.
std::optional<int32_t> EntryNodeOfKey(const RegistryIndex& index, std::string_view key);

// Walks every entry of the image and builds both views. An image that is too short or has no
// data-area marker gives an empty index.
RegistryIndex IndexRegistry(const RegistryImage& image);

// "N entries are shown under their nearest folder: their key paths are too deep to show whole",
// for the window and info alike.
std::string ShortenedPathsNote(int64_t entries);

}  // namespace thornbeck

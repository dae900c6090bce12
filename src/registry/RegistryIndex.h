#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "editing/DetailField.h"
#include "registry/EntryRef.h"
#include "registry/KeyNameStore.h"
#include "registry/RegistryImage.h"

namespace thornbeck {

// One node of the key tree: a path level, or an entry when it carries an EntryRef.
struct TreeNode {
    std::string_view key;   // the key path up to this level
    std::string_view text;  // the level's own text
    int32_t parent = -1;    // -1 for a top-level node
    int32_t row = 0;        // position among its parent's children
    int32_t depth = 0;      // 0 for a top-level node
    std::vector<int32_t> children;
    std::optional<EntryRef> entry;
    int32_t listRow = -1;  // the list row with this key, -1 when no entry has this name
};

// One list row: an entry's full key name, the entry it shows (the first of that name until Modify
// shows the node's entry there) and that entry's eight field texts.
struct ListRow {
    std::string_view key;
    FieldTexts texts;
    EntryRef entry;
};

// The two views of one load: tree nodes in the order they were added and list rows in the order
// of the entries in the file, both keyed by key path. Keys are views into the load's KeyNameStore,
// which the index keeps alive. Lookups by key are hashed; nothing here is recursive.
class RegistryIndex {
public:
    RegistryIndex() = default;
    explicit RegistryIndex(std::shared_ptr<const KeyNameStore> names);

    const std::vector<TreeNode>& nodes() const { return treeNodes; }
    const std::vector<int32_t>& topLevel() const { return topNodes; }
    const std::vector<ListRow>& rows() const { return listRows; }
    // Data entries walked, repeated names included.
    int64_t entryCount() const { return entriesWalked; }

    std::optional<int32_t> findNode(std::string_view key) const;
    // The key names as the load read them.
    const KeyNameStore& keyNames() const;
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

    // Creates the nodes of `path` and of all its parents that do not exist yet, parents first.
    // Returns the node of `path`, or -1 for "".
    int32_t AddPathNodes(std::string_view path);
    // Finds the node of an entry's name, creating it and the levels above it when they are new.
    int32_t AddEntryNode(std::string_view name);
    // The node takes the entry (a repeated name takes over the node). Returns the new list row
    // when this is the first entry of that name, else -1; the caller fills the row's texts.
    int32_t attachEntry(int32_t node, const EntryRef& entry);

    void setEntry(int32_t node, const EntryRef& entry) {
        treeNodes[static_cast<size_t>(node)].entry = entry;
    }
    void setRowTexts(int32_t row, FieldTexts texts) {
        listRows[static_cast<size_t>(row)].texts = std::move(texts);
    }
    void setRowEntry(int32_t row, const EntryRef& entry) {
        listRows[static_cast<size_t>(row)].entry = entry;
    }

private:
    struct HashedKey {
        std::string_view text;
        uint64_t hash;
        bool operator==(const HashedKey& other) const {
            return hash == other.hash && text == other.text;
        }
    };
    struct KeyHash {
        size_t operator()(const HashedKey& key) const { return static_cast<size_t>(key.hash); }
    };

    int32_t find(const HashedKey& key) const;
    int32_t addNode(HashedKey key, std::string_view text, int32_t parent);

    std::shared_ptr<const KeyNameStore> names;  // owns the bytes every key views
    std::vector<TreeNode> treeNodes;
    std::vector<int32_t> topNodes;
    std::vector<ListRow> listRows;
    std::unordered_map<HashedKey, int32_t, KeyHash> byKey;
    int64_t entriesWalked = 0;
    DataAreaEnd tail;
    int64_t keysEnd = 0;
};

// Walks every entry of the image and builds both views. An image that is too short or has no
// data-area marker gives an empty index.
RegistryIndex IndexRegistry(const RegistryImage& image);

}  // namespace thornbeck

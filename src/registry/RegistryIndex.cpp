#include "registry/RegistryIndex.h"

#include <algorithm>

#include "editing/EntryTexts.h"
#include "registry/EntryScanner.h"
#include "registry/KeyPath.h"
#include "registry/RegistryFormat.h"

namespace thornbeck {
namespace {

// FNV-1a: the hash of every prefix of a text comes out of one pass over it, which keeps creating
// the levels of a deep path linear in its length.
constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

uint64_t HashStep(uint64_t hash, char c) {
    return (hash ^ static_cast<uint8_t>(c)) * kFnvPrime;
}

uint64_t HashOf(std::string_view text) {
    uint64_t hash = kFnvOffset;
    for (char c : text) hash = HashStep(hash, c);
    return hash;
}

}  // namespace

RegistryIndex::RegistryIndex(std::shared_ptr<const KeyNameStore> names) : names(std::move(names)) {}

const KeyNameStore& RegistryIndex::keyNames() const {
    static const KeyNameStore kNone;
    return names ? *names : kNone;
}

int32_t RegistryIndex::find(const HashedKey& key) const {
    const auto it = byKey.find(key);
    return it == byKey.end() ? -1 : it->second;
}

std::optional<int32_t> RegistryIndex::findNode(std::string_view key) const {
    const int32_t node = find({key, HashOf(key)});
    if (node < 0) return std::nullopt;
    return node;
}

int32_t RegistryIndex::addNode(HashedKey key, std::string_view text, int32_t parent) {
    const auto node = static_cast<int32_t>(treeNodes.size());
    auto& siblings = parent < 0 ? topNodes : treeNodes[static_cast<size_t>(parent)].children;
    TreeNode added;
    added.key = key.text;
    added.text = text;
    added.parent = parent;
    added.row = static_cast<int32_t>(siblings.size());
    added.depth = parent < 0 ? 0 : treeNodes[static_cast<size_t>(parent)].depth + 1;
    siblings.push_back(node);
    treeNodes.push_back(std::move(added));
    byKey.emplace(key, node);
    return node;
}

int32_t RegistryIndex::AddPathNodes(std::string_view path) {
    if (path.empty()) return -1;
    std::vector<uint64_t> prefixHash(path.size() + 1);
    prefixHash[0] = kFnvOffset;
    for (size_t i = 0; i < path.size(); ++i) prefixHash[i + 1] = HashStep(prefixHash[i], path[i]);
    const auto keyOf = [&](std::string_view prefix) -> HashedKey {
        return {prefix, prefixHash[prefix.size()]};
    };

    // Walk up to the nearest level that exists, then create the missing ones top down.
    std::vector<std::string_view> missing;
    std::string_view level = path;
    int32_t parent = -1;
    while (!level.empty()) {
        parent = find(keyOf(level));
        if (parent >= 0) break;
        missing.push_back(level);
        level = SplitKeyPath(level).parent;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        parent = addNode(keyOf(*it), SplitKeyPath(*it).text, parent);
    return parent;
}

int32_t RegistryIndex::AddEntryNode(std::string_view name) {
    const HashedKey key{name, HashOf(name)};
    const int32_t node = find(key);
    if (node >= 0) return node;
    const KeyLevel level = SplitKeyPath(name);
    return addNode(key, level.text, AddPathNodes(level.parent));
}

int32_t RegistryIndex::attachEntry(int32_t node, const EntryRef& entry) {
    ++entriesWalked;
    TreeNode& target = treeNodes[static_cast<size_t>(node)];
    target.entry = entry;
    if (target.listRow >= 0) return -1;
    target.listRow = static_cast<int32_t>(listRows.size());
    listRows.push_back({target.key, {}, entry});
    return target.listRow;
}

void RegistryIndex::moveEntriesAfter(int32_t offset, int32_t delta) {
    for (TreeNode& node : treeNodes)
        if (node.entry && node.entry->offset > offset) node.entry->offset += delta;
    for (ListRow& row : listRows)
        if (row.entry.offset > offset) row.entry.offset += delta;
    if (tail.lastRecord && tail.lastRecord->offset > offset) tail.lastRecord->offset += delta;
    if (tail.endMarker && *tail.endMarker > offset) *tail.endMarker += delta;
}

RegistryIndex IndexRegistry(const RegistryImage& image) {
    auto names = std::make_shared<const KeyNameStore>(image);
    RegistryIndex index(names);
    // A key record's name cannot change during the walk, so each record is looked up once.
    std::vector<int32_t> nodeOfRecord(0x10000, -1);
    EntryScanner scanner(image);
    RegistryIndex::DataAreaEnd end;
    int64_t keysEnd = 0;
    while (const auto entry = scanner.next()) {
        end.lastRecord = *entry;
        keysEnd =
            std::max(keysEnd, int64_t{entry->keyOffset} + format::kNameAt +
                                  image.readNumber(entry->keyOffset + format::kNameLengthAt, 2));
        int32_t& node =
            nodeOfRecord[static_cast<size_t>(entry->keyOffset - format::kKeyOffsetBias)];
        if (node < 0) node = index.AddEntryNode(names->nameAt(entry->keyOffset));
        const int32_t row = index.attachEntry(node, *entry);
        if (row >= 0) index.setRowTexts(row, DescribeEntry(image, *entry).texts);
    }
    end.endMarker = scanner.endMarkerOffset();
    index.setDataAreaEnd(end);
    index.setKeyBytesEnd(keysEnd);
    return index;
}

}  // namespace thornbeck

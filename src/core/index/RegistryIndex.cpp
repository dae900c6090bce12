#include "core/index/RegistryIndex.h"

#include <algorithm>
#include <utility>

#include "core/format/EntryScanner.h"
#include "core/format/RegistryFormat.h"
#include "core/index/KeyHash.h"
#include "core/index/RecordNodes.h"

namespace thornbeck {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

}  // namespace

int64_t RegistryIndex::NodeBudget(int64_t fileSize, int64_t namesCopied) {
    return std::clamp<int64_t>(
        (2 * fileSize + kSpareBytes - namesCopied - kBytesPerOpen) / kBytesPerNode, 0, kMostNodes);
}

std::string ShortenedPathsNote(int64_t entries) {
    return entries == 1 ? "1 entry is shown under its nearest folder: its key path is too deep "
                          "to show whole"
                        : std::to_string(entries) +
                              " entries are shown under their nearest folder: their key paths "
                              "are too deep to show whole";
}

RegistryIndex::RegistryIndex(std::shared_ptr<const KeyNameStore> names, int64_t pathLevels,
                             int64_t records)
    : names(std::move(names)), levelsLeft(pathLevels) {
    const auto nodes = static_cast<size_t>(std::max<int64_t>(0, pathLevels + records));
    treeNodes.reserve(nodes);
    byHash.reserve(static_cast<size_t>(std::max<int64_t>(0, records)));
    listRows.reserve(static_cast<size_t>(std::max<int64_t>(0, records)));
}

int32_t RegistryIndex::find(std::string_view key, uint64_t hash) const {
    return byHash.find(
        hash, [&](int32_t node) { return treeNodes[static_cast<size_t>(node)].key == key; });
}

int32_t RegistryIndex::findChild(int32_t parent, std::string_view key, uint64_t hash) const {
    // A node's key starts with its parent's key, and the walk has matched the parent already.
    const size_t below = parent < 0 ? 0 : treeNodes[static_cast<size_t>(parent)].key.size();
    return byHash.find(hash, [&](int32_t candidate) {
        const TreeNode& node = treeNodes[static_cast<size_t>(candidate)];
        return node.parent == parent && node.key.size() == key.size() &&
               node.key.substr(below) == key.substr(below);
    });
}

std::span<const int32_t> RegistryIndex::childrenOf(int32_t node) const {
    const auto at = static_cast<size_t>(node);
    const auto first = static_cast<size_t>(treeNodes[at].firstChild);
    const size_t end = at + 1 < treeNodes.size() ? static_cast<size_t>(treeNodes[at + 1].firstChild)
                                                 : childList.size();
    return std::span(childList).subspan(first, end - first);
}

int32_t RegistryIndex::rowOf(int32_t node) const {
    // Siblings are listed in the order they were added, which is the order of their numbers.
    const int32_t parent = treeNodes[static_cast<size_t>(node)].parent;
    const std::span<const int32_t> siblings = parent < 0 ? std::span(topNodes) : childrenOf(parent);
    return static_cast<int32_t>(std::lower_bound(siblings.begin(), siblings.end(), node) -
                                siblings.begin());
}

std::optional<int32_t> RegistryIndex::findNode(std::string_view key) const {
    const int32_t node = find(key, HashOfKey(key));
    if (node < 0) return std::nullopt;
    return node;
}

int32_t RegistryIndex::addNode(std::string_view key, uint64_t hash, int32_t parent) {
    const auto node = static_cast<int32_t>(treeNodes.size());
    TreeNode added;
    added.key = key;
    added.parent = parent;
    size_t below = 0;
    if (parent < 0) {
        topNodes.push_back(node);
    } else {
        // Counts the children until linkChildren lists them.
        TreeNode& above = treeNodes[static_cast<size_t>(parent)];
        ++above.firstChild;
        added.depth = static_cast<int16_t>(above.depth + 1);
        below = above.key.size();
    }
    // The part of the key below the parent's, without the separator between them; for a level
    // of an uncut path this is the level's own text.
    added.textFrom =
        static_cast<uint16_t>(below < key.size() && IsSeparator(key[below]) ? below + 1 : below);
    treeNodes.push_back(added);
    byHash.insert(hash, node);
    return node;
}

void RegistryIndex::linkChildren() {
    // Each node's count becomes the end of its part of the list; placing the children from the
    // last node back moves every end to its start and leaves each part in the order of addition.
    int32_t end = 0;
    for (TreeNode& node : treeNodes) end = node.firstChild += end;
    childList.assign(static_cast<size_t>(end), -1);
    for (size_t node = treeNodes.size(); node-- > 0;) {
        const int32_t parent = treeNodes[node].parent;
        if (parent >= 0)
            childList[static_cast<size_t>(--treeNodes[static_cast<size_t>(parent)].firstChild)] =
                static_cast<int32_t>(node);
    }
}

int32_t RegistryIndex::AddPathNodes(std::string_view name, bool& cut) {
    cut = false;
    // The levels above a name end at its separators before the first "?", top level first.
    const std::string_view searched = name.substr(0, name.find('?'));
    KeyHasher hasher;
    int32_t parent = -1;
    for (size_t from = 0;;) {
        const size_t end = searched.find_first_of("/\\", from);
        if (end == std::string_view::npos) break;
        from = end + 1;
        if (end == 0) continue;  // a leading separator starts the top-level name
        // Room is kept below the deepest level for the entry's own node.
        const int32_t depth = parent < 0 ? 0 : treeNodes[static_cast<size_t>(parent)].depth + 1;
        if (depth >= kMaxDepth - 1) {
            cut = true;
            break;
        }
        hasher.add(name.substr(hasher.size(), end - hasher.size()));
        const std::string_view level = name.substr(0, end);
        int32_t node = findChild(parent, level, hasher.value());
        if (node < 0) {
            if (levelsLeft <= 0) {
                ++refusedLevels;
                cut = true;
                break;
            }
            --levelsLeft;
            node = addNode(level, hasher.value(), parent);
        }
        parent = node;
    }
    return parent;
}

int32_t RegistryIndex::AddEntryNode(std::string_view name) {
    const uint64_t hash = HashOfKey(name);
    const int32_t node = find(name, hash);
    if (node >= 0) return node;
    bool cut = false;
    const int32_t parent = AddPathNodes(name, cut);
    if (cut) ++shortened;
    return addNode(name, hash, parent);
}

int32_t RegistryIndex::attachEntry(int32_t node, const EntryRef& entry) {
    ++entriesWalked;
    TreeNode& target = treeNodes[static_cast<size_t>(node)];
    target.entry = entry;
    if (target.listRow >= 0) {
        // A second entry of the key counts 2, every later one 1 more.
        auto [shared, isNew] = sharedKeys.try_emplace(node, 2);
        if (!isNew) ++shared->second;
        return -1;
    }
    target.listRow = static_cast<int32_t>(listRows.size());
    listRows.push_back({node, entry});
    return target.listRow;
}

int32_t RegistryIndex::entriesWithKeyOf(int32_t node) const {
    if (node < 0 || node >= static_cast<int32_t>(treeNodes.size())) return 0;
    if (const auto shared = sharedKeys.find(node); shared != sharedKeys.end())
        return shared->second;
    return treeNodes[static_cast<size_t>(node)].entry ? 1 : 0;
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
    // A first walk finds the key records the entries use and how far their names reach, so that
    // the load knows its budget before it builds anything.
    RecordNodes nodeOfRecord = RecordNodes::Of(image);
    const int64_t records = nodeOfRecord.records();
    const int64_t keysEnd = nodeOfRecord.namesEnd();
    const int64_t copied = nodeOfRecord.paddedBytes();
    // Every entry node fits: there are at most 65,536 records and the budget is larger.
    const int64_t budget = std::max(RegistryIndex::NodeBudget(image.size(), copied), records);
    auto names = std::make_shared<const KeyNameStore>(image, keysEnd, nodeOfRecord.firstCrossing());
    RegistryIndex index(names, budget - records, records);
    index.budget = budget;
    // A key record's name cannot change during the walk, so each record is looked up once.
    EntryScanner scanner(image);
    RegistryIndex::DataAreaEnd end;
    while (const auto entry = scanner.next()) {
        end.lastRecord = *entry;
        int32_t& node = nodeOfRecord.at(entry->keyOffset);
        if (node < 0) node = index.AddEntryNode(names->nameAt(entry->keyOffset));
        index.attachEntry(node, *entry);
    }
    end.endMarker = scanner.endMarkerOffset();
    index.linkChildren();
    index.setDataAreaEnd(end);
    index.setKeyBytesEnd(keysEnd);
    return index;
}

std::optional<int32_t> EntryNodeOfKey(const RegistryIndex& index, std::string_view key) {
    const auto node = index.findNode(key);
    if (!node || !index.nodes()[static_cast<size_t>(*node)].entry) return std::nullopt;
    return node;
}

}  // namespace thornbeck

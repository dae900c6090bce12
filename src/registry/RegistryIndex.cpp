#include "registry/RegistryIndex.h"

#include <algorithm>
#include <utility>

#include "registry/EntryScanner.h"
#include "registry/KeyHash.h"
#include "registry/RegistryFormat.h"

namespace thornbeck {
namespace {

constexpr int64_t kLeastPathLevels = 4096;
constexpr int64_t kMostPathLevels = 65536;
constexpr int64_t kFileBytesPerPathLevel = 256;
constexpr int64_t kLeastNodes = 4096;
constexpr int64_t kMostNodes = 2 * 65536;
constexpr int64_t kFileBytesPerNode = 64;

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// One past the last byte of the name, and of its length, of the key record at K.
int64_t NameEndOf(const RegistryImage& image, int32_t keyOffset) {
    return int64_t{keyOffset} + format::kNameAt +
           image.readNumber(int64_t{keyOffset} + format::kNameLengthAt, 2);
}

// Node numbers by key record. A table of every possible record takes 256 KiB: as much as a whole
// registry file, but the fastest lookup for a file of a megabyte or more. A smaller file gets a
// table that grows with the records it uses.
class RecordNodes {
public:
    explicit RecordNodes(int64_t fileSize) {
        if (fileSize >= kDirectFrom) direct.assign(0x10000, -1);
    }
    // The node of a record (a key offset less its bias), -1 (to be set through the reference)
    // when it has none yet.
    int32_t& at(uint32_t record) {
        if (!direct.empty()) return direct[record & 0xFFFF];
        if ((used + 1) * 2 > slots.size()) grow();
        Slot& slot = slots[find(record)];
        if (slot.record != kEmpty) return slot.node;
        ++used;
        slot = {record, -1};
        return slot.node;
    }

private:
    static constexpr int64_t kDirectFrom = 1 << 20;
    static constexpr uint32_t kEmpty = UINT32_MAX;
    struct Slot {
        uint32_t record = kEmpty;
        int32_t node = -1;
    };
    size_t find(uint32_t record) const {
        const size_t mask = slots.size() - 1;
        size_t at = (record * 0x9E3779B1u) & mask;
        while (slots[at].record != kEmpty && slots[at].record != record) at = (at + 1) & mask;
        return at;
    }
    void grow() {
        std::vector<Slot> old =
            std::exchange(slots, std::vector<Slot>(std::max<size_t>(64, slots.size() * 2)));
        for (const Slot& slot : old)
            if (slot.record != kEmpty) slots[find(slot.record)] = slot;
    }
    std::vector<int32_t> direct;
    std::vector<Slot> slots;
    size_t used = 0;
};

}  // namespace

int64_t RegistryIndex::PathLevelBudget(int64_t fileSize) {
    return std::clamp(fileSize / kFileBytesPerPathLevel, kLeastPathLevels, kMostPathLevels);
}

int64_t RegistryIndex::NodeBudget(int64_t fileSize) {
    return std::clamp(fileSize / kFileBytesPerNode, kLeastNodes, kMostNodes);
}

std::string RegistryIndex::TooManyKeys::reason() const {
    return "names " + std::to_string(records) + " different keys, more than the " +
           std::to_string(budget) + " that a file of " + std::to_string(fileSize) +
           " bytes can hold";
}

const KeyNameStore& RegistryIndex::keyNames() const {
    static const KeyNameStore kNone;
    return names ? *names : kNone;
}

RegistryIndex::RegistryIndex(std::shared_ptr<const KeyNameStore> names, int64_t pathLevels,
                             int64_t records)
    : names(std::move(names)), levelsLeft(pathLevels) {
    const auto nodes = static_cast<size_t>(std::max<int64_t>(0, pathLevels + records));
    treeNodes.reserve(nodes);
    byHash.reserve(nodes);
    listRows.reserve(static_cast<size_t>(std::max<int64_t>(0, records)));
}

int32_t RegistryIndex::find(std::string_view key, uint64_t hash) const {
    const auto [first, last] = byHash.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (treeNodes[static_cast<size_t>(it->second)].key == key) return it->second;
    return -1;
}

int32_t RegistryIndex::findChild(int32_t parent, std::string_view key, uint64_t hash) const {
    // A node's key starts with its parent's key, and the walk has matched the parent already.
    const size_t below = parent < 0 ? 0 : treeNodes[static_cast<size_t>(parent)].key.size();
    const auto [first, last] = byHash.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        const TreeNode& node = treeNodes[static_cast<size_t>(it->second)];
        if (node.parent == parent && node.key.size() == key.size() &&
            node.key.substr(below) == key.substr(below))
            return it->second;
    }
    return -1;
}

std::optional<int32_t> RegistryIndex::findNode(std::string_view key) const {
    const int32_t node = find(key, HashOfKey(key));
    if (node < 0) return std::nullopt;
    return node;
}

int32_t RegistryIndex::addNode(std::string_view key, uint64_t hash, int32_t parent) {
    const auto node = static_cast<int32_t>(treeNodes.size());
    auto& siblings = parent < 0 ? topNodes : treeNodes[static_cast<size_t>(parent)].children;
    TreeNode added;
    added.key = key;
    // The part of the key below the parent's, without the separator between them; for a level
    // of an uncut path this is the level's own text.
    const size_t below = parent < 0 ? 0 : treeNodes[static_cast<size_t>(parent)].key.size();
    added.text = key.substr(below < key.size() && IsSeparator(key[below]) ? below + 1 : below);
    added.parent = parent;
    added.row = static_cast<int32_t>(siblings.size());
    added.depth = parent < 0 ? 0 : treeNodes[static_cast<size_t>(parent)].depth + 1;
    siblings.push_back(node);
    treeNodes.push_back(std::move(added));
    byHash.emplace(hash, node);
    return node;
}

int32_t RegistryIndex::AddPathNodes(std::string_view name) {
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
        if (depth >= kMaxDepth - 1) break;
        hasher.add(name.substr(hasher.size(), end - hasher.size()));
        const std::string_view level = name.substr(0, end);
        int32_t node = findChild(parent, level, hasher.value());
        if (node < 0) {
            if (levelsLeft <= 0) {
                ++refusedLevels;
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
    return addNode(name, hash, AddPathNodes(name));
}

int32_t RegistryIndex::attachEntry(int32_t node, const EntryRef& entry) {
    ++entriesWalked;
    TreeNode& target = treeNodes[static_cast<size_t>(node)];
    target.entry = entry;
    if (target.listRow >= 0) return -1;
    target.listRow = static_cast<int32_t>(listRows.size());
    listRows.push_back({target.key, entry});
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
    // A first walk counts the key records the entries use and finds how far their names reach,
    // so that the load keeps only those bytes and knows its budget before it builds anything.
    int64_t keysEnd = 0;
    std::vector<bool> used(0x10000);
    int64_t records = 0;
    for (EntryScanner scanner(image); const auto entry = scanner.next();) {
        keysEnd = std::max(keysEnd, NameEndOf(image, entry->keyOffset));
        auto seen = used[static_cast<size_t>(entry->keyOffset - format::kKeyOffsetBias)];
        records += !seen;
        seen = true;
    }
    const int64_t budget = RegistryIndex::NodeBudget(image.size());
    if (records > budget) {
        RegistryIndex refused;
        refused.refuse({records, budget, image.size()});
        return refused;
    }
    auto names = std::make_shared<const KeyNameStore>(image, keysEnd);
    RegistryIndex index(
        names, std::min(RegistryIndex::PathLevelBudget(image.size()), budget - records), records);
    // A key record's name cannot change during the walk, so each record is looked up once.
    RecordNodes nodeOfRecord(image.size());
    EntryScanner scanner(image);
    RegistryIndex::DataAreaEnd end;
    while (const auto entry = scanner.next()) {
        end.lastRecord = *entry;
        int32_t& node =
            nodeOfRecord.at(static_cast<uint32_t>(entry->keyOffset - format::kKeyOffsetBias));
        if (node < 0) node = index.AddEntryNode(names->nameAt(entry->keyOffset));
        index.attachEntry(node, *entry);
    }
    end.endMarker = scanner.endMarkerOffset();
    index.setDataAreaEnd(end);
    index.setKeyBytesEnd(keysEnd);
    return index;
}

}  // namespace thornbeck

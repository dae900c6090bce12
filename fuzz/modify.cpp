// Modify sequences on any bytes. After each Modify that is carried out, loading the image again
// from scratch gives exactly the entries the index holds (offsets, sizes and keys of every node,
// in the same order, and every list row's entry), every key reads as it did before (keys view
// the image's bytes), the image keeps its length, and no byte changed outside the edited fields
// and the moved tail. A Modify that is refused or ignored changes nothing at all.
//
// The edits come from a generator seeded by the input's length and its last 256 bytes, so that
// mutations of the image keep the edits and mutations of the end or the length change them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "Check.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"
#include "core/index/KeyHash.h"
#include "core/index/RegistryIndex.h"

using namespace thornbeck;

namespace {

struct Snapshot {
    std::vector<uint8_t> bytes;
    std::vector<ListRow> rows;
    std::vector<std::optional<EntryRef>> entries;
    RegistryIndex::DataAreaEnd end;
};

Snapshot Take(const RegistryImage& image, const RegistryIndex& index) {
    Snapshot s{{image.bytes().begin(), image.bytes().end()}, index.rows(), {}, index.dataAreaEnd()};
    for (const TreeNode& node : index.nodes()) s.entries.push_back(node.entry);
    return s;
}

// A digest of every row's key, as it reads now: the rows hold every distinct name, and every
// other key is the start of one.
uint64_t KeysDigest(const RegistryIndex& index) {
    uint64_t digest = 0;
    for (const ListRow& row : index.rows())
        digest = digest * 0x100000001B3ull ^ HashOfKey(index.keyOf(row));
    return digest;
}

bool SameEnd(const RegistryIndex::DataAreaEnd& a, const RegistryIndex::DataAreaEnd& b) {
    return a.lastRecord == b.lastRecord && a.endMarker == b.endMarker;
}

// The index equals a fresh load of the image.
void CheckAgainstReload(const RegistryImage& image, const RegistryIndex& index) {
    const RegistryIndex fresh = IndexRegistry(image);
    FUZZ_CHECK(fresh.entryCount() == index.entryCount());
    FUZZ_CHECK(fresh.rows().size() == index.rows().size());
    for (size_t i = 0; i < fresh.rows().size(); ++i) {
        FUZZ_CHECK(fresh.keyOf(fresh.rows()[i]) == index.keyOf(index.rows()[i]));
        // A row shows the first entry of its name, or the last once Modify has refreshed it
        // from the panel.
        const EntryRef& shown = index.rows()[i].entry;
        const auto node = fresh.findNode(fresh.keyOf(fresh.rows()[i]));
        FUZZ_CHECK(node);
        FUZZ_CHECK(shown == fresh.rows()[i].entry ||
                   shown == fresh.nodes()[static_cast<size_t>(*node)].entry);
    }
    FUZZ_CHECK(fresh.nodes().size() == index.nodes().size());
    for (size_t n = 0; n < fresh.nodes().size(); ++n) {
        FUZZ_CHECK(fresh.nodes()[n].key == index.nodes()[n].key);
        FUZZ_CHECK(fresh.nodes()[n].entry == index.nodes()[n].entry);
    }
    FUZZ_CHECK(SameEnd(fresh.dataAreaEnd(), index.dataAreaEnd()));
}

// Bytes a Modify of `entry` may change: flags, checksum, size, the value and its terminator, the
// key record's header id and, when the size changes, everything from the value on (the moved
// tail, which runs to the image's end).
bool MayChange(int64_t at, const EntryRef& entry, bool sizeChanged, int64_t valueEnd) {
    const int64_t e = entry.offset;
    if (at >= e && at < e + 2) return true;
    if (at >= e + 4 && at < e + 8) return true;
    if (at >= entry.keyOffset && at < int64_t{entry.keyOffset} + 2) return true;
    if (sizeChanged) return at >= e + 9;
    return at >= e + 9 && at < valueEnd;
}

std::string RandomText(std::mt19937_64& random, const char* alphabet, size_t most) {
    const std::string_view letters(alphabet);
    std::string text(random() % (most + 1), ' ');
    for (char& c : text) c = letters[random() % letters.size()];
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegistryImage image(std::vector<uint8_t>(data, data + size));
    RegistryIndex index = IndexRegistry(image);
    std::vector<int32_t> entryNodes;
    for (size_t n = 0; n < index.nodes().size(); ++n)
        if (index.nodes()[n].entry) entryNodes.push_back(static_cast<int32_t>(n));
    if (entryNodes.empty()) return 0;

    const size_t tail = std::min<size_t>(size, 256);
    KeyHasher hasher;
    hasher.add(std::string_view(reinterpret_cast<const char*>(data + size - tail), tail));
    std::mt19937_64 random(hasher.value() ^ size);

    const int edits = 1 + static_cast<int>(random() % 2);
    for (int edit = 0; edit < edits; ++edit) {
        const int32_t node = entryNodes[random() % entryNodes.size()];
        const EntryRef entry = *index.nodes()[static_cast<size_t>(node)].entry;
        const EntryDisplay shown = DescribeEntry(image, entry);
        ModifyRequest request;
        request.texts = shown.texts;
        request.type = shown.type;
        if (random() % 8 == 0)
            request.type = random() % 4 == 3
                               ? std::nullopt
                               : std::optional(static_cast<format::DataType>(random() % 3));
        request.valueIsLatin1 = random() % 16 != 0;
        const int fields = 1 + static_cast<int>(random() % 3);
        for (int f = 0; f < fields; ++f) {
            const int field = static_cast<int>(random() % kDetailFieldCount);
            std::string& text = request.texts[static_cast<size_t>(field)];
            switch (field) {
                case kDataSizeField:
                    if (random() % 4 == 0) {
                        text = RandomText(random, "0123456789EeDd -+.", 6);
                    } else {
                        const int64_t size = entry.size + static_cast<int64_t>(random() % 17) - 8;
                        text = std::to_string(random() % 8 == 0 ? random() % 70000
                                                                : std::max<int64_t>(size, 0));
                    }
                    break;
                case kValueField:
                    text = random() % 2 ? RandomText(random, "0123456789ABCDEFabcdefxyz ", 10)
                                        : RandomText(random, "\x01\x7F\xAA\xBB\xCC\xDD abc/", 24);
                    break;
                default:
                    text = RandomText(random, "0123456789ABCDEFabcdefg ", 6);
                    break;
            }
        }

        const Snapshot before = Take(image, index);
        const uint64_t keysBefore = KeysDigest(index);

        const ModifyResult result = ModifyEntry(image, index, node, request);
        FUZZ_CHECK(image.size() == static_cast<int32_t>(before.bytes.size()));
        if (result.kind != ModifyResult::Modified) {
            const Snapshot after = Take(image, index);
            FUZZ_CHECK(after.bytes == before.bytes);
            FUZZ_CHECK(after.entries == before.entries);
            FUZZ_CHECK(SameEnd(after.end, before.end));
            for (size_t i = 0; i < before.rows.size(); ++i) {
                FUZZ_CHECK(after.rows[i].entry == before.rows[i].entry);
            }
            continue;
        }
        const EntryRef now = *index.nodes()[static_cast<size_t>(node)].entry;
        FUZZ_CHECK(now.offset == entry.offset && now.keyOffset == entry.keyOffset);
        const bool sizeChanged = now.size != entry.size;
        const int64_t valueEnd = int64_t{entry.offset} + 9 + std::max(entry.size, now.size) + 1;
        // Blocks are compared with memcmp first, which the fuzzer does not instrument byte by
        // byte; only a block that differs is looked at byte by byte.
        const auto bytes = image.bytes();
        constexpr size_t kBlock = 256;
        for (size_t block = 0; block < bytes.size(); block += kBlock) {
            const size_t length = std::min(kBlock, bytes.size() - block);
            if (std::memcmp(bytes.data() + block, before.bytes.data() + block, length) == 0)
                continue;
            for (size_t at = block; at < block + length; ++at)
                if (bytes[at] != before.bytes[at])
                    FUZZ_CHECK(MayChange(static_cast<int64_t>(at), entry, sizeChanged, valueEnd));
        }
        FUZZ_CHECK(KeysDigest(index) == keysBefore);
        CheckAgainstReload(image, index);
    }
    return 0;
}

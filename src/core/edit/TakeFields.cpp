#include "core/edit/TakeFields.h"

#include "core/edit/EntryTexts.h"

namespace thornbeck {

unsigned TakeFlagOf(DetailField field) {
    switch (field) {
        case kValueField:
            return kTakeValue;
        case kDataSizeField:
            return kTakeDataSize;
        case kChecksumField:
            return kTakeChecksum;
        case kFlagsField:
            return kTakeFlags;
        case kHeaderIdField:
            return kTakeHeaderId;
        default:
            return 0;
    }
}

std::optional<unsigned> TakenFieldsNamed(std::string_view names) {
    unsigned fields = 0;
    while (true) {
        const size_t comma = names.find(',');
        const std::string_view name = names.substr(0, comma);
        if (name == "value") {
            fields |= kTakeValue | kTakeDataSize;
        } else if (name == "checksum") {
            fields |= kTakeChecksum;
        } else if (name == "flags") {
            fields |= kTakeFlags;
        } else if (name == "header-id") {
            fields |= kTakeHeaderId;
        } else {
            return std::nullopt;
        }
        if (comma == std::string_view::npos) return fields;
        names.remove_prefix(comma + 1);
    }
}

std::optional<ModifyRequest> TakeRequest(const RegistryImage& image, const EntryRef& entry,
                                         const RegistryImage& other, const EntryRef& otherEntry,
                                         unsigned fields) {
    const EntryDisplay mine = DescribeEntry(image, entry);
    if (!mine.type) return std::nullopt;
    const FieldTexts theirs = DescribeEntry(other, otherEntry).texts;
    ModifyRequest request{mine.texts, mine.type, true};
    FieldTexts& texts = request.texts;
    const bool integer = *mine.type == format::DataType::Integer;
    if (fields & (integer ? kTakeValue : kTakeValue | kTakeDataSize)) {
        texts[kValueField] = theirs[kValueField];
        if (!integer && entry.size != otherEntry.size)
            texts[kDataSizeField] = theirs[kDataSizeField];
    }
    if (fields & kTakeChecksum) texts[kChecksumField] = theirs[kChecksumField];
    if (fields & kTakeFlags) texts[kFlagsField] = theirs[kFlagsField];
    if (fields & kTakeHeaderId) texts[kHeaderIdField] = theirs[kHeaderIdField];
    return request;
}

namespace {
std::string TypeName(const std::optional<format::DataType>& type) {
    if (!type) return "unknown";
    return kDataTypeNames[static_cast<size_t>(*type)];
}
}  // namespace

TakeOutcome TakeOtherFields(RegistryImage& image, RegistryIndex& index, const RegistryImage& other,
                            const RegistryIndex& otherIndex, std::span<const std::string_view> keys,
                            unsigned fields) {
    std::vector<TakeItem> items;
    items.reserve(keys.size());
    for (const std::string_view key : keys) items.push_back({key, fields});
    return TakeOtherFields(image, index, other, otherIndex, items);
}

TakeOutcome TakeOtherFields(RegistryImage& image, RegistryIndex& index, const RegistryImage& other,
                            const RegistryIndex& otherIndex, std::span<const TakeItem> items) {
    TakeOutcome outcome;
    for (const auto& [key, fields] : items) {
        const auto node = EntryNodeOfKey(index, key);
        const auto otherNode = EntryNodeOfKey(otherIndex, key);
        if (!node || !otherNode) {
            // Entries are only ever changed, never added.
            outcome.refused.push_back(
                {std::string(key), node ? "not in the other file" : "not in this file"});
            continue;
        }
        const TreeNode& mine = index.nodes()[static_cast<size_t>(*node)];
        const EntryRef entry = *mine.entry;
        const EntryRef otherEntry = *otherIndex.nodes()[static_cast<size_t>(*otherNode)].entry;
        const auto mineType = DescribeEntry(image, entry).type;
        const auto otherType = DescribeEntry(other, otherEntry).type;
        if (mineType && mineType != otherType) {
            outcome.refused.push_back(
                {std::string(key), "its Data Type differs: " + TypeName(mineType) + " here, " +
                                       TypeName(otherType) + " in the other file"});
            continue;
        }
        unsigned taking = fields;
        if (mineType == format::DataType::Integer && (taking & kTakeDataSize) &&
            entry.size != otherEntry.size) {
            outcome.refused.push_back({std::string(key), std::string(FieldName(kDataSizeField)) +
                                                             ": an Integer's size cannot change"});
            taking &= ~unsigned{kTakeDataSize};
            if (taking == 0) continue;
        }
        const auto request = TakeRequest(image, entry, other, otherEntry, taking);
        if (!request) {
            outcome.refused.push_back(
                {std::string(key), "its data type byte is none of Binary, Integer, String"});
            continue;
        }
        if (request->texts == DescribeEntry(image, entry).texts) continue;
        const std::string_view ownKey = mine.key;
        ModifyResult result = ModifyEntry(image, index, *node, *request);
        if (result.kind == ModifyResult::Modified) {
            outcome.changes.push_back(std::move(result.change));
            outcome.taken.push_back(ownKey);
            outcome.takenFields.push_back(taking);
        } else if (result.kind == ModifyResult::Unchanged) {
            continue;
        } else if (result.kind == ModifyResult::Rejected) {
            outcome.refused.push_back(
                {std::string(key), FieldName(result.field) + ": " + result.message});
        } else {
            outcome.refused.push_back({std::string(key), "Modify leaves this entry alone"});
        }
    }
    return outcome;
}

}  // namespace thornbeck

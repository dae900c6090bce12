#include "core/edit/ModifyEntry.h"
#include "core/text/TextFunctions.h"

#include "core/edit/FieldRules.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/edit/HexText.h"
#include "core/format/EntryScanner.h"
#include "core/index/WalkSignature.h"

namespace thornbeck {

using namespace format;

namespace {

constexpr int64_t kMaxDataSize = 0xFFFF;

ModifyResult Reject(DetailField field, const char* message) {
    return {ModifyResult::Rejected, field, message, {}};
}

// Why a size change of the entry at e from s to s + delta cannot be made, if it cannot.
const char* CheckSizeChange(const RegistryImage& image, const RegistryIndex& index,
                            const EntryRef& entry, int64_t delta) {
    const int64_t size = image.size();
    const int64_t e = entry.offset;
    for (const TreeNode& node : index.nodes())
        if (node.entry && node.entry->offset > e &&
            node.entry->offset + delta + node.entry->size + 6 > size - 1)
            return kInvalidSize;
    if (!image.contains(e, kEntryOverhead + entry.size) ||
        !image.contains(e, kEntryOverhead + entry.size + delta))
        return kInvalidSize;
    if (delta > 0) {
        // The last delta bytes fall off the image: they must be padding.
        const int64_t lost = size - delta;
        for (int64_t at = lost; at < size; ++at)
            if (image.byteAt(at).value_or(0) != 0) return kInvalidSize;
        const auto& end = index.dataAreaEnd();
        if (end.lastRecord && end.lastRecord->offset != e &&
            end.lastRecord->offset + kEntryOverhead + end.lastRecord->size > lost)
            return kInvalidSize;
        if (end.endMarker && *end.endMarker + 4 > lost) return kInvalidSize;
    }
    return nullptr;
}

// Writes bytes into the image and records what they replaced, clipped to the image.
class ChangeRecorder {
public:
    ChangeRecorder(RegistryImage& image, EntryChange& change) : image(image), change(change) {}

    void write(int64_t offset, const std::vector<uint8_t>& bytes) {
        const int64_t start = std::max<int64_t>(offset, 0);
        const int64_t end =
            std::min<int64_t>(offset + static_cast<int64_t>(bytes.size()), image.size());
        if (start >= end) return;
        BytePatch patch;
        patch.offset = start;
        const auto current =
            image.bytes().subspan(static_cast<size_t>(start), static_cast<size_t>(end - start));
        patch.before.assign(current.begin(), current.end());
        patch.after.assign(bytes.begin() + (start - offset), bytes.begin() + (end - offset));
        image.write(patch.offset, patch.after);
        change.patches.push_back(std::move(patch));
    }
    void writeNumber(int64_t offset, int width, uint32_t value) {
        std::vector<uint8_t> bytes(static_cast<size_t>(width));
        for (int i = width - 1; i >= 0; --i, value >>= 8)
            bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(value);
        write(offset, bytes);
    }

private:
    RegistryImage& image;
    EntryChange& change;
};

void MoveTail(RegistryImage& image, RegistryIndex& index, EntryChange& change) {
    const int64_t from = change.moveStart();
    const int64_t kept = change.delta > 0 ? image.size() - change.delta : from;
    const auto displaced = image.bytes().subspan(static_cast<size_t>(kept),
                                                 static_cast<size_t>(std::abs(change.delta)));
    change.displacedBytes.assign(displaced.begin(), displaced.end());
    image.shiftTail(from, change.delta);
    index.moveEntriesAfter(change.entryBefore.offset, change.delta);
}

// What a fresh load's walk does after the change. The walk reads the marker and, of every
// entry, its first four bytes (the end-marker test) and its size; so only new Flags, a Header ID
// that lies in the data area, or the moved tail can change it. A tail that ends at an end marker
// still inside the image is walked exactly as before, only shifted; then only the first record
// can turn into a header record. Anything else must be walked in full, before and after, and the
// two walks compared.
enum class WalkAfter { Same, Differs, MustCompare };

WalkAfter WalkAfterChange(const RegistryImage& image, const EntryChange& change,
                          const std::vector<DetailField>& fieldOfPatch) {
    bool readFieldChanged = false;
    for (size_t p = 0; p < change.patches.size(); ++p) {
        const BytePatch& patch = change.patches[p];
        if (patch.before == patch.after) continue;
        readFieldChanged = readFieldChanged || fieldOfPatch[p] == kFlagsField ||
                           (fieldOfPatch[p] == kHeaderIdField && patch.offset + 2 > kMarkerOffset);
    }
    if (readFieldChanged) return WalkAfter::MustCompare;
    if (change.delta == 0) return WalkAfter::Same;
    const auto marker = change.endAfter.endMarker;
    if (!marker || int64_t{*marker} + 4 >= image.size()) return WalkAfter::MustCompare;
    return change.entryBefore.offset == kDataAreaStart && IsHeaderRecord(image) ? WalkAfter::Differs
                                                                                : WalkAfter::Same;
}

bool MayChangeKeyNames(const RegistryIndex& index, const EntryChange& change) {
    if (change.delta != 0 && change.moveStart() < index.keyBytesEnd()) return true;
    return std::any_of(change.patches.begin(), change.patches.end(), [&](const BytePatch& patch) {
        return patch.before != patch.after && patch.offset < index.keyBytesEnd();
    });
}

// The key names of the image as they read now, from a copy of the key region, which holds
// every name: the index's names view the image, so they cannot stand for the image before a
// change.
KeyNameStore KeyRegionNames(const RegistryImage& image) {
    const auto bytes = image.bytes();
    return KeyNameStore(RegistryImage(std::vector<uint8_t>(
        bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), kKeyRegionEnd))));
}

// The walk a fresh load of the image would make after the change: later entries and the end
// marker moved by delta, the edited entry with its new size.
WalkSignature PredictedWalk(const RegistryImage& image, const EntryChange& change) {
    const int32_t e = change.entryBefore.offset;
    const int32_t delta = change.delta;
    return SignatureOfWalk(
        image,
        [&](const EntryRef& walked) {
            EntryRef moved = walked;
            if (walked.offset > e) moved.offset += delta;
            if (walked.offset == e) moved.size = change.entryAfter.size;
            return moved;
        },
        [&](int32_t offset) { return offset > e ? offset + delta : offset; });
}

WalkSignature ActualWalk(const RegistryImage& image) {
    return SignatureOfWalk(
        image, [](const EntryRef& walked) { return walked; },
        [](int32_t offset) { return offset; });
}

// Whether a fresh load of the changed image reads the entries the index will hold, under the
// same keys. What it must compare against is read from the image before the change, in one
// round trip of taking the change back and applying it again; the change stays applied.
bool LoadReadsTheSame(RegistryImage& image, RegistryIndex& index, const EntryChange& change,
                      const std::vector<DetailField>& fieldOfPatch) {
    const WalkAfter walk = WalkAfterChange(image, change, fieldOfPatch);
    if (walk == WalkAfter::Differs) return false;
    const bool namesMayChange = MayChangeKeyNames(index, change);
    if (walk == WalkAfter::Same && !namesMayChange) return true;
    RevertChange(image, index, change);
    std::optional<WalkSignature> predicted;
    if (walk == WalkAfter::MustCompare) predicted = PredictedWalk(image, change);
    std::optional<KeyNameStore> namesBefore;
    if (namesMayChange) namesBefore = KeyRegionNames(image);
    ApplyChange(image, index, change);
    if (predicted && ActualWalk(image) != *predicted) return false;
    return !namesBefore || WalkKeepsKeyNames(image, *namesBefore);
}

// The field to blame when the change would alter the load: the size, else the first changed
// field that reaches bytes a load reads.
DetailField Culprit(const EntryChange& change, const std::vector<DetailField>& fieldOfPatch) {
    if (change.delta != 0) return kDataSizeField;
    for (size_t p = 0; p < change.patches.size(); ++p)
        if (change.patches[p].before != change.patches[p].after &&
            fieldOfPatch[p] != kDataSizeField)
            return fieldOfPatch[p];
    return kDataSizeField;
}

}  // namespace

std::optional<int32_t> ParseDataSize(std::string_view text) {
    size_t at = 0;
    int64_t mantissa = 0;
    for (; at < text.size() && IsDecimalDigit(static_cast<unsigned char>(text[at])); ++at) {
        mantissa = mantissa * 10 + (text[at] - '0');
        if (mantissa > kMaxDataSize) return std::nullopt;
    }
    return static_cast<int32_t>(mantissa);
}

std::optional<int32_t> DataSizeOfText(std::string_view text) {
    // Decimal digits only: "1A" is no size, where its leading digits alone would read as 1.
    if (!FieldCouldHold(text, FieldCharacters::DecimalDigits, field_rules::kDataSizeDigits) ||
        text.empty())
        return std::nullopt;
    return ParseDataSize(text);
}

ModifyResult ModifyEntry(RegistryImage& image, RegistryIndex& index, int32_t node,
                         const ModifyRequest& request) {
    if (!request.type || node < 0 || node >= static_cast<int32_t>(index.nodes().size())) return {};
    const TreeNode& target = index.nodes()[static_cast<size_t>(node)];
    if (!target.entry) return {};
    const EntryRef entry = *target.entry;
    const auto& texts = request.texts;
    const bool integer = *request.type == DataType::Integer;

    int32_t newSize = entry.size;
    if (!integer) {
        const auto parsed = DataSizeOfText(texts[kDataSizeField]);
        if (!parsed) return Reject(kDataSizeField, kInvalidValue);
        newSize = *parsed;
        if (newSize != entry.size) {
            if (const char* problem = CheckSizeChange(image, index, entry, newSize - entry.size))
                return Reject(kDataSizeField, problem);
        }
    }
    const std::string_view integerDigits = IntegerDigits(texts[kValueField], entry.size);
    if (!request.valueIsLatin1) return Reject(kValueField, kInvalidValue);
    if (integer &&
        ((entry.size != 4 && entry.size != 2) || !IsHexFieldText(integerDigits, entry.size)))
        return Reject(kValueField, kInvalidValue);
    for (const DetailField field : {kChecksumField, kFlagsField, kHeaderIdField})
        if (!IsHexFieldText(texts[field], 2)) return Reject(field, kInvalidValue);

    // Every field passed: write them all, recording what each write replaced.
    ModifyResult result{ModifyResult::Modified, kValueField, {}, {}};
    EntryChange& change = result.change;
    change.node = node;
    change.entryBefore = entry;
    change.entryAfter = {entry.offset, newSize, entry.keyOffset};
    change.row = target.listRow;
    if (change.row >= 0)
        change.rowEntryBefore = index.rows()[static_cast<size_t>(change.row)].entry;
    change.delta = newSize - entry.size;
    change.endBefore = index.dataAreaEnd();
    change.endAfter = change.endBefore;
    auto& last = change.endAfter.lastRecord;
    if (last && last->offset > entry.offset) last->offset += change.delta;
    if (last && last->offset == entry.offset) last->size = newSize;
    if (auto& marker = change.endAfter.endMarker; marker && *marker > entry.offset)
        *marker += change.delta;

    const bool sizeChange = change.delta != 0;

    std::vector<DetailField> fieldOfPatch;
    ChangeRecorder recorder(image, change);
    const auto record = [&](DetailField field, auto&& write) {
        write();
        fieldOfPatch.resize(change.patches.size(), field);
    };
    if (sizeChange) MoveTail(image, index, change);
    const int64_t e = entry.offset;
    if (!integer)
        record(kDataSizeField,
               [&] { recorder.writeNumber(e + kSizeAt, 2, static_cast<uint32_t>(newSize)); });
    record(kValueField, [&] {
        if (integer) {
            recorder.write(e + kValueAt, HexFieldBytes(integerDigits, entry.size));
        } else {
            std::vector<uint8_t> value(static_cast<size_t>(newSize), 0);
            const std::string& v = texts[kValueField];
            std::copy_n(v.begin(), std::min(v.size(), value.size()), value.begin());
            recorder.write(e + kValueAt, value);
        }
    });
    record(kChecksumField,
           [&] { recorder.write(e + kChecksumAt, HexFieldBytes(texts[kChecksumField], 2)); });
    record(kFlagsField,
           [&] { recorder.write(e + kFlagsAt, HexFieldBytes(texts[kFlagsField], 2)); });
    record(kHeaderIdField, [&] {
        recorder.write(int64_t{entry.keyOffset} + kHeaderIdAt,
                       HexFieldBytes(texts[kHeaderIdField], 2));
    });

    // Every field as it was: no byte changed, and nothing is there to undo or to save.
    if (!sizeChange &&
        std::all_of(change.patches.begin(), change.patches.end(),
                    [](const BytePatch& patch) { return patch.before == patch.after; }))
        return ModifyResult{ModifyResult::Unchanged, kValueField, {}, {}};
    // A change that a fresh load would read differently is taken back and refused.
    if (!LoadReadsTheSame(image, index, change, fieldOfPatch)) {
        RevertChange(image, index, change);
        const DetailField field = Culprit(change, fieldOfPatch);
        return Reject(field, field == kDataSizeField ? kInvalidSize : kInvalidValue);
    }
    // The index follows the change: the node, its list row, the data area's end.
    index.setEntry(node, change.entryAfter);
    if (change.row >= 0) index.setRowEntry(change.row, change.entryAfter);
    index.setDataAreaEnd(change.endAfter);
    return result;
}

}  // namespace thornbeck

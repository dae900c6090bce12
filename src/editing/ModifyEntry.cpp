#include "editing/ModifyEntry.h"

#include <algorithm>
#include <vector>

#include "editing/HexText.h"

namespace thornbeck {

using namespace format;

namespace {

constexpr int64_t kMaxDataSize = 0xFFFF;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

ModifyResult Reject(DetailField field, const char* message) {
    return {ModifyResult::Rejected, field, message};
}

// A 2-byte value is shown with eight digits; leading zeros beyond its four digits are no error.
std::string_view IntegerDigits(std::string_view text, int32_t size) {
    const size_t width = static_cast<size_t>(2 * size);
    if (text.size() > width &&
        std::all_of(text.begin(), text.end() - static_cast<std::ptrdiff_t>(width),
                    [](char c) { return c == '0'; }))
        return text.substr(text.size() - width);
    return text;
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

void WriteSize(RegistryImage& image, RegistryIndex& index, int32_t node, EntryRef entry,
               int32_t newSize) {
    const int32_t delta = newSize - entry.size;
    image.writeNumber(entry.offset + kSizeAt, 2, static_cast<uint32_t>(newSize));
    if (delta == 0) return;
    image.shiftTail(entry.offset + kValueAt, delta);
    index.moveEntriesAfter(entry.offset, delta);
    auto end = index.dataAreaEnd();
    if (end.lastRecord && end.lastRecord->offset == entry.offset) end.lastRecord->size = newSize;
    index.setDataAreaEnd(end);
    entry.size = newSize;
    index.setEntry(node, entry);
}

}  // namespace

std::optional<int32_t> ParseDataSize(std::string_view text) {
    size_t at = 0;
    int64_t mantissa = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        mantissa = mantissa * 10 + (text[at] - '0');
        if (mantissa > kMaxDataSize) return std::nullopt;
    }
    const bool exponent =
        at > 0 && at + 1 < text.size() &&
        (text[at] == 'E' || text[at] == 'e' || text[at] == 'D' || text[at] == 'd') &&
        IsDigit(text[at + 1]);
    if (exponent) {
        int exponentValue = 0;
        for (++at; at < text.size() && IsDigit(text[at]); ++at)
            exponentValue = std::min(exponentValue * 10 + (text[at] - '0'), 10);
        for (int i = 0; i < exponentValue && mantissa != 0; ++i) {
            mantissa *= 10;
            if (mantissa > kMaxDataSize) return std::nullopt;
        }
    }
    return static_cast<int32_t>(mantissa);
}

ModifyResult ModifyEntry(RegistryImage& image, RegistryIndex& index, int32_t node,
                         const ModifyRequest& request) {
    if (!request.type || node < 0 || node >= static_cast<int32_t>(index.nodes().size())) return {};
    const auto& stored = index.nodes()[static_cast<size_t>(node)].entry;
    if (!stored) return {};
    const EntryRef entry = *stored;
    const auto& texts = request.texts;
    const bool integer = *request.type == DataType::Integer;

    int32_t newSize = entry.size;
    if (!integer) {
        const std::string& t = texts[kDataSizeField];
        if (t.empty() || t.size() > 5 || !IsHexText(t))
            return Reject(kDataSizeField, kInvalidValue);
        const auto parsed = ParseDataSize(t);
        if (!parsed) return Reject(kDataSizeField, kInvalidValue);
        newSize = *parsed;
        if (newSize != entry.size) {
            if (const char* problem = CheckSizeChange(image, index, entry, newSize - entry.size))
                return Reject(kDataSizeField, problem);
        }
    }
    const std::string_view integerDigits = IntegerDigits(texts[kValueField], entry.size);
    if (integer) {
        if ((entry.size != 4 && entry.size != 2) || !IsHexFieldText(integerDigits, entry.size))
            return Reject(kValueField, kInvalidValue);
    } else if (!request.valueIsLatin1) {
        return Reject(kValueField, kInvalidValue);
    }
    for (const DetailField field : {kChecksumField, kFlagsField, kHeaderIdField})
        if (!IsHexFieldText(texts[field], 2)) return Reject(field, kInvalidValue);

    // Every field passed: write them all.
    if (!integer) WriteSize(image, index, node, entry, newSize);
    const int64_t e = entry.offset;
    if (integer) {
        WriteHexField(image, e + kValueAt, entry.size, integerDigits);
    } else {
        std::vector<uint8_t> value(static_cast<size_t>(newSize), 0);
        const std::string& v = texts[kValueField];
        std::copy_n(v.begin(), std::min(v.size(), value.size()), value.begin());
        image.writeClipped(e + kValueAt, value);
    }
    WriteHexField(image, e + kChecksumAt, 2, texts[kChecksumField]);
    WriteHexField(image, e + kFlagsAt, 2, texts[kFlagsField]);
    WriteHexField(image, int64_t{entry.keyOffset} + kHeaderIdAt, 2, texts[kHeaderIdField]);
    return {ModifyResult::Modified, kValueField, {}};
}

}  // namespace thornbeck

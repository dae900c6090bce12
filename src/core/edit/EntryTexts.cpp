#include "core/edit/EntryTexts.h"

#include "core/format/ReadField.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {

using namespace format;

std::string HexDigits(uint64_t value, int digits) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<size_t>(i)] = kHex[value & 15];
    return text;
}

uint32_t LeadingDecimalNumber(std::string_view text) {
    size_t at = text.find_first_not_of(' ');
    uint32_t value = 0;
    for (; at < text.size() && IsDecimalDigit(static_cast<unsigned char>(text[at])); ++at)
        value = value * 10 + static_cast<uint32_t>(text[at] - '0');
    return value;
}

EntryDisplay DescribeEntry(const RegistryImage& image, const EntryRef& entry, bool withValue) {
    EntryDisplay shown;
    auto& texts = shown.texts;
    const int64_t e = entry.offset;
    const int64_t k = entry.keyOffset;
    const auto number = [&](int64_t offset, int width) -> uint32_t {
        return offset == 0 ? 0 : image.readNumber(offset, width);
    };

    const uint32_t type = number(e + kTypeAt, 1);
    if (type <= 2) {
        shown.type = static_cast<DataType>(type);
        texts[kDataTypeField] = kDataTypeNames[type];
    }
    if (shown.type == DataType::Integer) {
        const uint32_t value =
            LeadingDecimalNumber(ReadField(image, e + kValueAt, entry.size, true));
        texts[kValueField] = HexDigits(value, 8);
        shown.numbers[kValueField] = value;
    } else if (withValue) {
        texts[kValueField] = ReadField(image, e + kValueAt, entry.size, false);
    }
    texts[kDataSizeField] = std::to_string(entry.size);

    const auto hexField = [&](DetailField field, uint64_t value, int digits) {
        texts[field] = HexDigits(value, digits);
        shown.numbers[field] = value;
    };
    hexField(kChecksumField, number(e + kChecksumAt, 2), 4);
    hexField(kFlagsField, number(e + kFlagsAt, 2), 4);
    hexField(kDataOffsetField, static_cast<uint64_t>(entry.offset), 6);
    hexField(kKeyOffsetField, static_cast<uint64_t>(entry.keyOffset), 6);
    hexField(kHeaderIdField, number(k + kHeaderIdAt, 2), 4);
    return shown;
}

}  // namespace thornbeck

namespace thornbeck {

std::string PlainCaption(std::string_view caption) {
    std::string plain;
    for (const char c : caption)
        if (c != '&' && c != ':') plain += c;
    return plain;
}

std::string FieldName(DetailField field) {
    return PlainCaption(kFieldCaptions[static_cast<size_t>(field)]);
}

std::string FieldText(const RegistryImage& image, const EntryRef& entry, DetailField field) {
    return std::move(DescribeEntry(image, entry, field == kValueField).texts[field]);
}

std::string OffsetText(int64_t offset) {
    const auto value = static_cast<uint64_t>(offset);
    return "0x" + HexDigits(value, value > 0xFFFFFF ? 8 : 6);
}

}  // namespace thornbeck

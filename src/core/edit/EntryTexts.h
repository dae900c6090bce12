#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/edit/DetailField.h"
#include "core/format/EntryRef.h"
#include "core/format/RegistryFormat.h"
#include "core/format/RegistryImage.h"

namespace thornbeck {

// What the details panel shows for one entry, read from the image through its EntryRef. The
// texts are also the entry's list row and its CSV line.
struct EntryDisplay {
    FieldTexts texts;
    // The number behind each numeric field, for its " (dec)" tooltip.
    std::array<std::optional<uint64_t>, kDetailFieldCount> numbers;
    // The type byte when it is 0, 1 or 2.
    std::optional<format::DataType> type;
};

// Value: "Integer" as 8 hex digits, otherwise S characters, one per byte (the whole value, however
// long); Data Size: S in decimal; Data Type: its name or ""; Checksum, Flags, Header ID: 4 hex
// digits; Data Offset, Key Offset: 6 hex digits. Bytes outside the image read as ReadField reads
// them. Without `withValue` the Value text is left empty, for callers that want another field.
EntryDisplay DescribeEntry(const RegistryImage& image, const EntryRef& entry,
                           bool withValue = true);

// A caption without its access key "&" and its colon: "&Value:" gives "Value".
std::string PlainCaption(std::string_view caption);
// The field's caption so: "Data Size", "Value". The window's accessible names, the compare pane
// and the command line's lines all name a field this way.
std::string FieldName(DetailField field);

// One field's text as DescribeEntry gives it, reading the value only for the Value field.
std::string FieldText(const RegistryImage& image, const EntryRef& entry, DetailField field);

// An offset as reports and the command line write offsets: "0x" and at least 6 upper-case hex
// digits, as the panel shows offsets; 8 past 16 MiB.
std::string OffsetText(int64_t offset);

// The number in upper-case hexadecimal, zero-padded to `digits`; longer numbers keep their last
// `digits` digits.
std::string HexDigits(uint64_t value, int digits);

// The number at the start of a text as a value reads it: leading spaces skipped, then decimal
// digits up to the first other character; 0 when there are none. Kept to its last 32 bits.
uint32_t LeadingDecimalNumber(std::string_view text);

}  // namespace thornbeck

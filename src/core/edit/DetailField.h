#pragma once

#include <array>
#include <string>

namespace thornbeck {

// The eight detail fields of an entry, in the order of their index. The same order gives the
// list's sub-items 1 to 8.
enum DetailField : int {
    kValueField = 0,
    kDataSizeField = 1,
    kDataTypeField = 2,
    kChecksumField = 3,
    kFlagsField = 4,
    kDataOffsetField = 5,
    kKeyOffsetField = 6,
    kHeaderIdField = 7,
};
constexpr int kDetailFieldCount = 8;

using FieldTexts = std::array<std::string, kDetailFieldCount>;

// The field captions, with "&" before the access key.
constexpr std::array<const char*, kDetailFieldCount> kFieldCaptions = {
    "&Value:", "Data Size:",   "Data Type:",  "&Checksum:",
    "Fl&ags:", "Data Offset:", "Key Offset:", "Header ID:"};

// The order the list shows the fields in after the key, which the CSV export and the command
// line's list write too: Header ID before the two offsets. Model column 1 + field holds a field.
constexpr std::array<DetailField, kDetailFieldCount> kListFieldOrder = {
    kValueField, kDataSizeField, kDataTypeField,   kChecksumField,
    kFlagsField, kHeaderIdField, kDataOffsetField, kKeyOffsetField};

// The names of the data types, by type byte.
constexpr std::array<const char*, 3> kDataTypeNames = {"Binary", "Integer", "String"};

}  // namespace thornbeck

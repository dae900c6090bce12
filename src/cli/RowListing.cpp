#include "cli/RowListing.h"

#include <array>
#include <vector>

#include "cli/EscapedText.h"
#include "core/edit/EntryTexts.h"

namespace thornbeck::cli {
namespace {

struct Column {
    const char* jsonName;
    int field;  // the detail field, or -1 for the key
};

// JSON names of the fields, by field.
constexpr std::array<const char*, kDetailFieldCount> kJsonNames = {
    "value", "size", "type", "checksum", "flags", "dataOffset", "keyOffset", "headerId"};

// The key, then the fields in the order the list shows them.
constexpr std::array<Column, 1 + kDetailFieldCount> kColumns = [] {
    std::array<Column, 1 + kDetailFieldCount> columns{};
    columns[0] = {"key", -1};
    for (size_t i = 0; i < kListFieldOrder.size(); ++i)
        columns[i + 1] = {kJsonNames[kListFieldOrder[i]], kListFieldOrder[i]};
    return columns;
}();

std::string_view TextOf(std::string_view key, const FieldTexts& texts, const Column& column) {
    return column.field < 0 ? key : std::string_view(texts[column.field]);
}

void WriteTsv(const RegistryImage& image, const RegistryIndex& index, std::ostream& out) {
    for (const ListRow& row : index.rows()) {
        const FieldTexts texts = DescribeEntry(image, row.entry).texts;
        const std::string_view key = index.keyOf(row);
        for (size_t i = 0; i < kColumns.size(); ++i)
            out << (i ? "\t" : "") << VisibleText(TextOf(key, texts, kColumns[i]));
        out << '\n';
    }
}

void WriteJson(const RegistryImage& image, const RegistryIndex& index, std::ostream& out) {
    const auto& rows = index.rows();
    out << '[';
    for (size_t r = 0; r < rows.size(); ++r) {
        const FieldTexts texts = DescribeEntry(image, rows[r].entry).texts;
        const std::string_view key = index.keyOf(rows[r]);
        out << (r ? ",\n  {" : "\n  {");
        for (size_t i = 0; i < kColumns.size(); ++i)
            out << (i ? ", " : "") << '"' << kColumns[i].jsonName
                << "\": " << JsonString(TextOf(key, texts, kColumns[i]));
        out << '}';
    }
    out << (rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

std::optional<ListFormat> ListFormatNamed(std::string_view name) {
    if (name == "tsv") return ListFormat::Tsv;
    if (name == "csv") return ListFormat::Csv;
    if (name == "json") return ListFormat::Json;
    return std::nullopt;
}

void WriteRows(const RegistryImage& image, const RegistryIndex& index, ListFormat format,
               std::ostream& out) {
    switch (format) {
        case ListFormat::Tsv:
            WriteTsv(image, index, out);
            break;
        case ListFormat::Csv:
            CsvInChunks(image, index, LoadOrderOf(index), [&out](std::string_view chunk) {
                out << chunk;
                return true;
            });
            break;
        case ListFormat::Json:
            WriteJson(image, index, out);
            break;
    }
}

}  // namespace thornbeck::cli

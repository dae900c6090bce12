#include "registry/CsvExport.h"

#include <array>

#include "editing/EntryTexts.h"

namespace thornbeck {
namespace {

void AppendQuoted(std::string& out, std::string_view field) {
    // Runs between quotes are appended whole: keys can be tens of kilobytes.
    out += '"';
    for (size_t from = 0;;) {
        const size_t quote = field.find('"', from);
        if (quote == std::string_view::npos) {
            out.append(field.substr(from));
            break;
        }
        out.append(field.substr(from, quote + 1 - from));
        out += '"';
        from = quote + 1;
    }
    out += '"';
}

}  // namespace

void AppendCsvLine(std::string& out, const RegistryImage& image, const ListRow& row) {
    const FieldTexts t = DescribeEntry(image, row.entry).texts;
    const std::array<std::string_view, 9> fields = {
        row.key,           t[kValueField],      t[kDataSizeField],
        t[kDataTypeField], t[kChecksumField],   t[kFlagsField],
        t[kHeaderIdField], t[kDataOffsetField], t[kKeyOffsetField]};
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        AppendQuoted(out, fields[i]);
    }
    out += "\r\n";
}

bool CsvInChunks(const RegistryImage& image, const std::vector<ListRow>& rows,
                 std::span<const int32_t> order, const CsvSink& sink) {
    std::string chunk;
    for (const int32_t row : order) {
        if (row < 0 || static_cast<size_t>(row) >= rows.size()) continue;
        AppendCsvLine(chunk, image, rows[static_cast<size_t>(row)]);
        if (chunk.size() < kCsvChunkBytes) continue;
        if (!sink(chunk)) return false;
        chunk.clear();
    }
    return chunk.empty() || sink(chunk);
}

std::string CsvOfRows(const RegistryImage& image, const std::vector<ListRow>& rows,
                      std::span<const int32_t> order) {
    std::string out;
    CsvInChunks(image, rows, order, [&out](std::string_view chunk) {
        out += chunk;
        return true;
    });
    return out;
}

}  // namespace thornbeck

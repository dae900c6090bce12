#include "core/export/CsvExport.h"

#include <array>
#include <numeric>

#include "core/edit/EntryTexts.h"

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

void AppendCsvLine(std::string& out, const RegistryImage& image, std::string_view key,
                   const EntryRef& entry) {
    const FieldTexts t = DescribeEntry(image, entry).texts;
    AppendQuoted(out, key);
    for (const DetailField field : kListFieldOrder) {
        out += ',';
        AppendQuoted(out, t[field]);
    }
    out += "\r\n";
}

bool CsvInChunks(const RegistryImage& image, const RegistryIndex& index,
                 std::span<const int32_t> order, const CsvSink& sink) {
    const auto& rows = index.rows();
    // Room for a chunk and one line of a long key, so that the chunk is not copied as it grows.
    std::string chunk;
    chunk.reserve(2 * kCsvChunkBytes);
    for (const int32_t row : order) {
        if (row < 0 || static_cast<size_t>(row) >= rows.size()) continue;
        const ListRow& listRow = rows[static_cast<size_t>(row)];
        AppendCsvLine(chunk, image, index.keyOf(listRow), listRow.entry);
        if (chunk.size() < kCsvChunkBytes) continue;
        if (!sink(chunk)) return false;
        chunk.clear();
    }
    return chunk.empty() || sink(chunk);
}

std::vector<int32_t> LoadOrderOf(const RegistryIndex& index) {
    std::vector<int32_t> order(index.rows().size());
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::optional<SaveError> ExportCsvFile(const std::filesystem::path& path,
                                       const RegistryImage& image, const RegistryIndex& index,
                                       std::span<const int32_t> order, ChunkWriter writer) {
    const auto produce = [&](const ChunkSink& sink) {
        CsvInChunks(image, index, order, [&sink](std::string_view chunk) {
            return sink(std::span(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size()));
        });
    };
    return SaveStreamedFile(path, produce,
                            SaveOptions{.backup = false, .writer = std::move(writer)});
}

std::string CsvOfRows(const RegistryImage& image, const RegistryIndex& index,
                      std::span<const int32_t> order) {
    std::string out;
    CsvInChunks(image, index, order, [&out](std::string_view chunk) {
        out += chunk;
        return true;
    });
    return out;
}

}  // namespace thornbeck

#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/fileio/AtomicSave.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// One line per row, in the order given: nine fields (Key, Value, Size, Type, Checksum, Flags,
// Header ID, Data Offset, Key Offset), each in double quotes with any quote inside doubled,
// separated by commas, every line ended by CR LF, no header line. One byte per character.
// The texts are read from `image`, which `index` indexes; `order` holds row numbers.
std::string CsvOfRows(const RegistryImage& image, const RegistryIndex& index,
                      std::span<const int32_t> order);
void AppendCsvLine(std::string& out, const RegistryImage& image, std::string_view key,
                   const EntryRef& entry);

// Takes the next piece of a CSV; false to stop it.
using CsvSink = std::function<bool(std::string_view chunk)>;
// The size a chunk grows to before it is handed on. The rows' keys can add up to far more than
// the file (many entries' names may cover the same bytes of it), so the whole CSV of a file is
// best never made at once.
constexpr size_t kCsvChunkBytes = 32 * 1024;

// CsvOfRows handed to `sink` in chunks of whole lines, each at least kCsvChunkBytes but the
// last. False when the sink stopped it.
bool CsvInChunks(const RegistryImage& image, const RegistryIndex& index,
                 std::span<const int32_t> order, const CsvSink& sink);

// Every row in load order (0 to n - 1): the list as the file gives it, before any sort.
std::vector<int32_t> LoadOrderOf(const RegistryIndex& index);

// Export as CSV: the CSV of the rows in `order` written to `path` chunk by chunk
// (CsvInChunks into SaveStreamedFile), so that the whole text is never in memory at once; the
// file is replaced whole or not at all, with no backup. The window's Export and
// thornbeck-cli export-csv both write through this. `writer` is SaveOptions' writer.
std::optional<SaveError> ExportCsvFile(const std::filesystem::path& path,
                                       const RegistryImage& image, const RegistryIndex& index,
                                       std::span<const int32_t> order, ChunkWriter writer = {});

}  // namespace thornbeck

#pragma once

#include <optional>
#include <ostream>
#include <string_view>

#include "core/export/CsvExport.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck::cli {

enum class ListFormat { Tsv, Csv, Json };

std::optional<ListFormat> ListFormatNamed(std::string_view name);

// Every list row in load order with the nine texts the window's list shows, in the columns'
// displayed order: Key, Value, Size, Type, Checksum, Flags, Header ID, Data Offset, Key Offset.
// TSV: one line per row, texts made visible by VisibleText. CSV: exactly what Export as CSV
// writes. JSON: an array with one object per row.
void WriteRows(const RegistryImage& image, const RegistryIndex& index, ListFormat format,
               std::ostream& out);

}  // namespace thornbeck::cli

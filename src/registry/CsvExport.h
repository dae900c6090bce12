#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "registry/RegistryIndex.h"

namespace thornbeck {

// One line per row, in the order given: nine fields (Key, Value, Size, Type, Checksum, Flags,
// Header ID, Data Offset, Key Offset), each in double quotes with any quote inside doubled,
// separated by commas, every line ended by CR LF, no header line. One byte per character.
// The texts are read from `image`, which the rows index.
std::string CsvOfRows(const RegistryImage& image, const std::vector<ListRow>& rows,
                      std::span<const int32_t> order);
void AppendCsvLine(std::string& out, const RegistryImage& image, const ListRow& row);

}  // namespace thornbeck

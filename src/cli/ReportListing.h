#pragma once

#include <ostream>
#include <string_view>

#include "core/report/FileLayout.h"
#include "core/report/RegistryReport.h"

namespace thornbeck::cli {

// `info`: one "label: value" line per fact, the file's name first, then one line per problem and
// note.
void PrintReport(std::string_view file, const RegistryReport& report, std::ostream& out);
// `info --layout`: one line per region (first offset, length, name, state), then one per loose
// value of the tail (offset and its text, escaped as list's TSV escapes it).
void PrintLayout(const FileLayout& layout, std::ostream& out);

}  // namespace thornbeck::cli

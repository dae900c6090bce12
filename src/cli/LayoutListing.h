#pragma once

#include <ostream>

#include "core/report/FileLayout.h"

namespace thornbeck::cli {

// `info --layout`: one line per region (first offset, length, name, state), then one per loose
// value of the tail (offset and its text, escaped as list's TSV escapes it).
void PrintLayout(const FileLayout& layout, std::ostream& out);

}  // namespace thornbeck::cli

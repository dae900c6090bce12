#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/EntryCompare.h"

namespace thornbeck::cli {

// One line of diff's output: "only in A", "only in B", or "changed" with a field and both texts.
struct DiffLine {
    std::string_view kind;
    std::string_view key;
    std::optional<std::string> field;
    std::string_view a;
    std::string_view b;
};

// The lines of the differences, in their order; they view the differences.
std::vector<DiffLine> DiffLinesOf(const std::vector<KeyDifference>& differences);

}  // namespace thornbeck::cli

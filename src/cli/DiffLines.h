#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/EntryCompare.h"

namespace thornbeck::cli {

// One line of diff's output: "only in A", "only in B", or "changed" with a field and both texts.
struct DiffLine {
    std::string_view kind;
    std::string_view key;
    std::optional<std::string> field;
    std::string_view a;
    std::string_view b;
};

// Hands on the lines of the differences one at a time, in their order; a line views the
// differences. Not collected: with thousands of keys the lines would take more than the files.
void ForEachDiffLine(const std::vector<KeyDifference>& differences,
                     const std::function<void(const DiffLine&)>& take);

}  // namespace thornbeck::cli

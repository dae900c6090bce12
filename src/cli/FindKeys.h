#pragma once

#include <string_view>
#include <vector>

#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck::cli {

// Every list row Find Next could stop at, in load order: the rows whose full key matches the
// search text as list mode matches it and, with `values`, the rows whose entry (the one the
// tree node holds) has a value that matches as tree mode compares values.
std::vector<std::string_view> FindKeys(const RegistryImage& image, const RegistryIndex& index,
                                       std::string_view text, bool values);

}  // namespace thornbeck::cli

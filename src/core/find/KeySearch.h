#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/find/WildcardPattern.h"
#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// "[" becomes "[[]" and "]" becomes "[]]", in one pass, so both stand for themselves.
std::string EscapeBrackets(std::string_view pattern);
// The pattern Find searches with: the text anywhere ("*" around it) unless it holds a "*" of its
// own, lower-cased, brackets escaped.
std::string FindPattern(std::string_view findText);

// One search text, matched against key and value texts in lower case.
class KeySearch {
public:
    explicit KeySearch(std::string_view findText);
    // Reuses one buffer for the lower-cased subject, so it is not const.
    bool matches(std::string_view subject);

private:
    WildcardPattern pattern;
    std::string lowered;
};

// What Find compares as a tree node's value: the entry's S value bytes from E + 9; empty for a
// folder, for E or S of 0, and for a value that does not lie wholly in the image.
std::string_view NodeValueText(const RegistryImage& image, const TreeNode& node);

// Tries positions start+1 .. count, then 1 .. start-1 (1-based; the one at `start` is never
// tried) and returns the first for which `hit` holds. A start below 1 counts as 1.
template <typename Hit>
std::optional<size_t> FindNextPosition(size_t count, size_t start, Hit&& hit) {
    start = start < 1 ? 1 : start;
    for (size_t p = start + 1; p <= count; ++p)
        if (hit(p)) return p;
    for (size_t p = 1; p < start && p <= count; ++p)
        if (hit(p)) return p;
    return std::nullopt;
}

// List mode: rows in the order shown, compared by their full keys. `start` is the selected
// position (1-based, 0 for none); the result is the position found.
std::optional<size_t> FindNextListPosition(const RegistryIndex& index,
                                           std::span<const int32_t> order, size_t start,
                                           KeySearch& search);
// Tree mode: nodes in the order they were added, compared by their own texts and, for entries,
// their values. `start` is the selected node's number + 1 (0 for none); nodes at
// `shownDepth` or deeper are not shown and so not tried. The result is the node's number.
std::optional<int32_t> FindNextTreeNode(const RegistryImage& image, const RegistryIndex& index,
                                        size_t start, KeySearch& search, int32_t shownDepth);

}  // namespace thornbeck

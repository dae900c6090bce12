#include "core/find/KeySearch.h"

#include "core/format/RegistryFormat.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {

std::string EscapeBrackets(std::string_view pattern) {
    std::string escaped;
    escaped.reserve(pattern.size());
    for (const char c : pattern) {
        if (c == '[') {
            escaped += "[[]";
        } else if (c == ']') {
            escaped += "[]]";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string FindPattern(std::string_view findText) {
    std::string pattern = findText.find('*') == std::string_view::npos
                              ? "*" + std::string(findText) + "*"
                              : std::string(findText);
    return EscapeBrackets(ToLowerAscii(pattern));
}

KeySearch::KeySearch(std::string_view findText) : pattern(FindPattern(findText)) {}

bool KeySearch::matches(std::string_view subject) {
    if (subject.size() < pattern.minimumLength()) return false;
    ToLowerAsciiInto(subject, lowered);
    return pattern.matches(lowered);
}

std::string_view NodeValueText(const RegistryImage& image, const TreeNode& node) {
    if (!node.entry || node.entry->offset == 0 || node.entry->size == 0) return {};
    const int64_t start = int64_t{node.entry->offset} + format::kValueAt;
    if (node.entry->size < 0 || !image.contains(start, node.entry->size)) return {};
    const auto bytes =
        image.bytes().subspan(static_cast<size_t>(start), static_cast<size_t>(node.entry->size));
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::optional<size_t> FindNextListPosition(const RegistryIndex& index,
                                           std::span<const int32_t> order, size_t start,
                                           KeySearch& search) {
    return FindNextPosition(order.size(), start, [&](size_t position) {
        const int32_t row = order[position - 1];
        return search.matches(index.keyOf(index.rows()[static_cast<size_t>(row)]));
    });
}

std::optional<int32_t> FindNextTreeNode(const RegistryImage& image, const RegistryIndex& index,
                                        size_t start, KeySearch& search, int32_t shownDepth) {
    const auto& nodes = index.nodes();
    const auto found = FindNextPosition(nodes.size(), start, [&](size_t position) {
        const TreeNode& node = nodes[position - 1];
        if (node.depth >= shownDepth) return false;
        return search.matches(node.text()) || search.matches(NodeValueText(image, node));
    });
    if (!found) return std::nullopt;
    return static_cast<int32_t>(*found - 1);
}

}  // namespace thornbeck

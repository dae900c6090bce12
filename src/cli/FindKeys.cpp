#include "cli/FindKeys.h"

#include "core/find/KeySearch.h"

namespace thornbeck::cli {

std::vector<std::string_view> FindKeys(const RegistryImage& image, const RegistryIndex& index,
                                       std::string_view text, bool values) {
    KeySearch search(text);
    std::vector<std::string_view> found;
    for (const ListRow& row : index.rows()) {
        const std::string_view key = index.keyOf(row);
        const bool hit = search.matches(key) ||
                         (values && search.matches(NodeValueText(
                                        image, index.nodes()[static_cast<size_t>(row.node)])));
        if (hit) found.push_back(key);
    }
    return found;
}

}  // namespace thornbeck::cli

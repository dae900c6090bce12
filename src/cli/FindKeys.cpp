#include "cli/FindKeys.h"

#include "window/KeySearch.h"

namespace thornbeck::cli {

std::vector<std::string_view> FindKeys(const RegistryImage& image, const RegistryIndex& index,
                                       std::string_view text, bool values) {
    KeySearch search(text);
    std::vector<std::string_view> found;
    for (const ListRow& row : index.rows()) {
        bool hit = search.matches(row.key);
        if (!hit && values) {
            const auto node = index.findNode(row.key);
            hit = node &&
                  search.matches(NodeValueText(image, index.nodes()[static_cast<size_t>(*node)]));
        }
        if (hit) found.push_back(row.key);
    }
    return found;
}

}  // namespace thornbeck::cli

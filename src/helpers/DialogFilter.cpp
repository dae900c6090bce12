#include "helpers/DialogFilter.h"

#include <algorithm>

namespace thornbeck {

std::vector<FileFilter> ParseFilter(std::string_view filter) {
    std::vector<std::string_view> parts;
    while (!filter.empty()) {
        const auto bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        filter = bar == std::string_view::npos ? std::string_view{} : filter.substr(bar + 1);
    }
    std::vector<FileFilter> filters;
    for (size_t i = 0; i < parts.size(); i += 2)
        filters.push_back({std::string(parts[i]),
                           i + 1 < parts.size() ? std::string(parts[i + 1]) : std::string()});
    return filters;
}

std::vector<std::string> NameFilters(std::string_view filter) {
    std::vector<std::string> names;
    for (const FileFilter& f : ParseFilter(filter)) {
        std::string patterns = f.patterns;
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        const std::string shown = "(" + f.patterns + ")";
        const bool hasPatterns =
            f.name.size() >= shown.size() &&
            f.name.compare(f.name.size() - shown.size(), shown.size(), shown) == 0;
        if (hasPatterns) {
            names.push_back(f.name.substr(0, f.name.size() - shown.size()) + "(" + patterns + ")");
        } else {
            names.push_back(f.name + " (" + patterns + ")");
        }
    }
    return names;
}

std::string DefaultExtension(std::string_view filter) {
    const auto filters = ParseFilter(filter);
    if (filters.empty()) return {};
    std::string_view pattern = filters.front().patterns;
    const auto dot = pattern.find('.');
    if (dot != std::string_view::npos) pattern = pattern.substr(dot);
    return pattern == ".*" ? std::string() : std::string(pattern);
}

std::string TrimAtNull(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace thornbeck

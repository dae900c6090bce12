#pragma once

#include <string>
#include <string_view>
#include <vector>

// Filter texts of the file dialogs: display names and patterns separated by "|", such as
// "xRegistry.sys|*.sys|All files (*.*)|*.*"; a trailing "|" is optional.
namespace thornbeck {

struct FileFilter {
    std::string name;
    std::string patterns;  // as written, several patterns separated by ";"
};

std::vector<FileFilter> ParseFilter(std::string_view filter);
// The filters as a toolkit name-filter list: "xRegistry.sys (*.sys)", patterns separated by spaces.
// A name that already ends with its patterns in parentheses is kept as it is.
std::vector<std::string> NameFilters(std::string_view filter);
// The extension a save dialog adds to a name typed without one, taken from the first filter's
// pattern from its first "." on (".csv"); "" for ".*" or when the first filter has no pattern.
std::string DefaultExtension(std::string_view filter);
// The text up to its first NUL, without leading and trailing spaces.
std::string TrimAtNull(std::string_view text);

}  // namespace thornbeck

#include "core/fileio/PathFunctions.h"

#include "core/text/TextFunctions.h"

namespace thornbeck {
namespace {

// Windows' file names cannot hold "?", so there it ends the part of a path that names the file
// (what follows is no part of any name). On Linux "?" is a character like any other.
std::string_view BeforeQuestionMark(std::string_view path) {
#ifdef _WIN32
    return path.substr(0, path.find('?'));
#else
    return path;
#endif
}

}  // namespace

size_t LastSeparatorPosition(std::string_view path) {
    const auto at = BeforeQuestionMark(path).find_last_of("/\\");
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string FileNameOf(std::string_view path, bool keepExtension) {
    std::string_view name = BeforeQuestionMark(path).substr(LastSeparatorPosition(path));
    if (!keepExtension) name = name.substr(0, name.rfind('.'));
    return std::string(name);
}

std::string FolderOf(std::string_view path) {
    const size_t p = LastSeparatorPosition(path);
    return std::string(p > 0 ? path.substr(0, p) : BeforeQuestionMark(path));
}

std::string StripQuotes(std::string_view text) {
    std::string_view trimmed = TrimmedOf(text);
    if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"')
        trimmed = trimmed.substr(1, trimmed.size() - 2);
    return std::string(trimmed);
}

}  // namespace thornbeck

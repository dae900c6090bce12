#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Path texts: "\" and "/" both separate. On Windows, where no file name holds it, a "?" ends the
// part of a path that is looked at; on Linux it is part of the name.
namespace thornbeck {

// 1-based position of the last separator (on Windows, before the first "?"); 0 when there is none.
size_t LastSeparatorPosition(std::string_view path);
// The last component of the path, with or without its last extension.
std::string FileNameOf(std::string_view path, bool keepExtension);
// The path up to and including its last separator; without a separator, the path itself.
std::string FolderOf(std::string_view path);
// The text without surrounding spaces and without one pair of enclosing double quotes.
std::string StripQuotes(std::string_view text);

}  // namespace thornbeck

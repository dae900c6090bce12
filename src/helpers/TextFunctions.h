#pragma once

#include <string>
#include <string_view>

namespace thornbeck {

// Only A-Z and a-z are folded; every other byte compares by its code.
char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace thornbeck

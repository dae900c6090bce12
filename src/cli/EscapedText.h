#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace thornbeck::cli {

// The text with control characters and the backslash made visible (\t, \n, \r, \\, \xNN), so that
// one text stays on one line and in one tab-separated column; every other byte as it is.
std::string VisibleText(std::string_view text);
// A JSON string literal, one character per byte: \" and \\, and \u00XX for every control
// character and every byte from 0x80 up, so the output is plain ASCII whatever the bytes.
std::string JsonString(std::string_view text);
// An offset as the window shows offsets, "0x" and at least 6 upper-case hex digits.
std::string OffsetText(int64_t offset);
// A field caption without its access-key "&" ("&Value:" gives "Value:").
std::string PlainCaption(std::string_view caption);

}  // namespace thornbeck::cli

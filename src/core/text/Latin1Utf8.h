#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace thornbeck {

// The bytes as text in UTF-8, each byte the Latin-1 character of its code (0xFC is "ü").
std::string Utf8OfLatin1(std::string_view bytes);
// UTF-8 text as bytes, one per character: each character's code is its byte. Nothing for text
// that is not UTF-8 or holds a character above U+00FF, which no byte holds.
std::optional<std::string> Latin1OfUtf8(std::string_view text);

}  // namespace thornbeck

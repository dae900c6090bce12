#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace thornbeck {

// A field's text as a tweak file writes it: \t, \n, \r, \\ and \xNN for the other control
// bytes (C0, DEL and C1), the bytes 0xA0-0xFF as their Latin-1 characters in UTF-8, every other
// byte as it is. A text that is exactly "*" is written "\x2A", since "*" alone means "anything".
std::string TweakTextOf(std::string_view bytes);

// The bytes a tweak file's text stands for: the escapes above undone and each UTF-8 character
// of U+0000-U+00FF made its byte. Nothing, and why in `problem`, for a bad escape or a character
// no byte holds.
std::optional<std::string> BytesOfTweakText(std::string_view text, std::string& problem);

}  // namespace thornbeck

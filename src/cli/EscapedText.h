#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The command line speaks the terminal's text, UTF-8, and the file's bytes are Latin-1, one
// character per byte: every text is mapped between the two, both ways, through Latin-1.
// On Windows the arguments come from the UTF-16 command line as UTF-8 and the console is set to
// UTF-8 output while the program runs, so the same mapping holds there.
namespace thornbeck::cli {

// Bytes of the file for the terminal (VisibleUtf8): control characters, the C1 controls
// 0x80-0x9F and the backslash as \t, \n, \r, \\ and \xNN, so that one text stays on one line
// and in one tab-separated column; bytes 0xA0-0xFF as the UTF-8 of their Latin-1 characters.
std::string VisibleText(std::string_view bytes);
// An argument as the user typed it, made visible for a message: its characters as they are
// (controls escaped as in VisibleText); one that no bytes can hold (no UTF-8, or a character
// above U+00FF) shows its bytes from 0x80 up as \xNN.
std::string ArgumentText(std::string_view argument);
// The bytes an argument stands for, one per character; nothing when it is no UTF-8 or holds a
// character no byte holds (above U+00FF, "€").
std::optional<std::string> BytesOfArgument(std::string_view argument);
// A JSON string literal, one character per byte: \" and \\, and \u00XX for every control
// character and every byte from 0x80 up, so the output is plain ASCII whatever the bytes.
std::string JsonString(std::string_view text);

}  // namespace thornbeck::cli

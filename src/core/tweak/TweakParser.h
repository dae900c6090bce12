#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "core/tweak/Tweak.h"

namespace thornbeck {

// Why a file is no tweak, and the line (from 1) that says so.
struct TweakFileError {
    int line = 0;
    std::string message;
};

// Reads a tweak file (docs/tweaks.md): UTF-8, LF or CR LF line ends, the header line first,
// then "#" comments ("# title: ..." and "# description: ..." are kept), empty lines, and lines
// of four tab-separated columns: key, field, expected text ("*" for anything), text to write.
// Every text is checked as the field's input rules check typing, so a line the field could
// never hold is an error here, not a refusal later. The first error ends the reading.
std::variant<Tweak, TweakFileError> ParseTweak(std::string_view file);

}  // namespace thornbeck

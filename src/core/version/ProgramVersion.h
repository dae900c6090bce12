#pragma once

#include <string>
#include <string_view>

// The program's name and version, for the window's --version and About box and for
// thornbeck-cli --version alike. The version is the project's version in CMake.
namespace thornbeck {

// "Thornbeck", as captions and message boxes name the program.
std::string_view ProgramName();
// "1.0.0".
std::string_view ProgramVersion();
// "thornbeck-cli 1.0.0" for the executable named `executable`.
std::string VersionLineOf(std::string_view executable);

}  // namespace thornbeck

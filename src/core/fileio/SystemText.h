#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Paths and system messages as UTF-8 texts, the same way on Linux and Windows. Linux paths are
// bytes and pass through unchanged; Windows paths are UTF-16 and are converted, so a folder
// named in Cyrillic or Japanese reaches a message or a file call intact.
namespace thornbeck {

// The path as UTF-8 bytes for a message.
std::string PathText(const std::filesystem::path& path);
// The path a UTF-8 text (a command-line argument) names.
std::filesystem::path PathFromText(std::string_view text);

#ifdef _WIN32
// The system's message for a Windows error code (GetLastError), in UTF-8, without the line end.
std::string SystemMessage(unsigned long code);
// The program's arguments after its own name, in UTF-8, from the UTF-16 command line; the
// narrow argv of main has them in the ANSI code page, which loses most of the world's letters.
std::vector<std::string> CommandLineArguments();
// A UTF-16 text as UTF-8.
std::string Utf8Of(std::wstring_view text);
#endif

}  // namespace thornbeck

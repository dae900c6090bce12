#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace thornbeck::cli {

// Runs thornbeck-cli with the arguments after the program's name; output goes to `out`,
// messages to `err`. Returns the exit code.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// Runs one command for RunCli. Whatever it throws (memory exhausted, or any other exception)
// is reported on `err` with the command's name and gives exit status 2, so that no input ends
// the program through an uncaught exception.
int RunCaught(std::string_view command, const std::function<int()>& run, std::ostream& err);

}  // namespace thornbeck::cli

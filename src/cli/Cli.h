#pragma once

#include <ostream>
#include <span>
#include <string>

namespace thornbeck::cli {

// Runs thornbeck-cli with the arguments after the program's name; output goes to `out`,
// messages to `err`. Returns the exit code.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace thornbeck::cli

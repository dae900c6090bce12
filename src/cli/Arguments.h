#pragma once

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace thornbeck::cli {

struct KnownOption {
    std::string_view name;  // with its dashes: "--value", "-o"
    bool takesValue = false;
};

// One command's arguments after the command name: its operands in order and the options given.
struct Arguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options;  // a flag maps to ""
    bool help = false;

    bool has(std::string_view option) const { return options.find(option) != options.end(); }
    std::optional<std::string> value(std::string_view option) const;
};

struct ParsedArguments {
    Arguments arguments;
    std::string problem;  // why the arguments are wrong; empty when they are not
};

// Options may stand anywhere, a value after its option or joined to it by "=". "--help" or "-h"
// asks for help; "--" makes every later argument an operand, so a key may start with "-".
// An unknown option, a missing value and an option given twice are wrong usage.
ParsedArguments ParseArguments(std::span<const std::string> args,
                               std::span<const KnownOption> options);

}  // namespace thornbeck::cli

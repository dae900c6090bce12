#include "cli/Arguments.h"

#include <algorithm>

namespace thornbeck::cli {

std::optional<std::string> Arguments::value(std::string_view option) const {
    const auto it = options.find(option);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

ParsedArguments ParseArguments(std::span<const std::string> args,
                               std::span<const KnownOption> options) {
    ParsedArguments parsed;
    Arguments& result = parsed.arguments;
    bool operandsOnly = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (operandsOnly || arg.size() < 2 || arg[0] != '-') {
            result.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            operandsOnly = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            continue;
        }
        const size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const auto known = std::find_if(options.begin(), options.end(),
                                        [&](const KnownOption& o) { return o.name == name; });
        if (known == options.end()) {
            parsed.problem = "unknown option " + name;
            return parsed;
        }
        std::string value;
        if (known->takesValue) {
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                parsed.problem = name + " needs a value";
                return parsed;
            }
        } else if (equals != std::string::npos) {
            parsed.problem = name + " takes no value";
            return parsed;
        }
        if (!result.options.emplace(name, std::move(value)).second) {
            parsed.problem = name + " is given twice";
            return parsed;
        }
    }
    return parsed;
}

}  // namespace thornbeck::cli

#pragma once

namespace thornbeck::cli {

// What a command's exit status tells a script.
enum ExitCode : int {
    kExitOk = 0,
    // A rejected edit, a difference, a problem in the file, a key or text not found.
    kExitNegative = 1,
    // Wrong usage, or a file that cannot be read, is no registry file, or cannot be written.
    kExitError = 2,
};

}  // namespace thornbeck::cli

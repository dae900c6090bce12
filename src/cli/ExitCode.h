#pragma once

namespace thornbeck::cli {

// What a command's exit status tells a script.
enum ExitCode : int {
    kExitOk = 0,
    // A rejected edit, a difference, a problem in the file, a key or text not found.
    kExitNegative = 1,
    // Wrong usage, or a file that cannot be read, is no registry file, or cannot be written.
    kExitError = 2,
    // The file was saved, but the listing of what was written could not be (a full disk or a
    // closed pipe behind standard output): the work is done, only its report is lost.
    kExitSavedOutputLost = 3,
};

}  // namespace thornbeck::cli

// thornbeck-cli: the editor's rules on the command line.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/ExitCode.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "core/fileio/SystemText.h"
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Texts are bytes: no line-end translation on the way out.
    _setmode(_fileno(stdout), _O_BINARY);
    // Paths and messages are UTF-8, on the console too; the console gets its own code page
    // back when the program ends.
    static const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    std::atexit([] { SetConsoleOutputCP(consoleCodePage); });
    (void)argc;
    (void)argv;
    const std::vector<std::string> args = thornbeck::CommandLineArguments();
#else
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
    std::ios::sync_with_stdio(false);
    const int code = thornbeck::cli::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout && code != thornbeck::cli::kExitSavedOutputLost) {
        std::cerr << "thornbeck-cli: cannot write the output\n";
        return 2;
    }
    return code;
}

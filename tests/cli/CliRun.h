#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace thornbeck::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    bool timedOut = false;  // killed after the time limit
};

// Runs the built thornbeck-cli with the arguments (passed as they are, no shell) and collects
// its exit code and both output streams. A run that takes longer than `limit` is killed: a
// limit far beyond any run's time, so that only a hang fails.
CliRun RunCli(const std::vector<std::string>& args,
              std::chrono::milliseconds limit = std::chrono::seconds(600));

#ifndef _WIN32
// Runs a program (its path first) the same way, for a test that wraps thornbeck-cli in a tool.
CliRun RunProgram(std::vector<std::string> argv,
                  std::chrono::milliseconds limit = std::chrono::seconds(600));
#endif

// A small registry for the command tests: an Integer, a 2-byte Integer, a String with a quote,
// a comma, a tab, a line feed and bytes from 0x80 up, a Binary, a key written twice (first
// value 1, then 2) and an entry of unknown type 7.
std::vector<uint8_t> CommandTestImage();

}  // namespace thornbeck::test

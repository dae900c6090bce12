#pragma once

#include <ostream>
#include <string_view>

#include "cli/Arguments.h"

namespace thornbeck::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// The commands, each given its operands (already counted) and options; each returns its exit
// code.
int RunInfo(const Arguments& args, const Streams& io);
int RunList(const Arguments& args, const Streams& io);
int RunExportCsv(const Arguments& args, const Streams& io);
int RunGet(const Arguments& args, const Streams& io);
int RunFind(const Arguments& args, const Streams& io);
int RunSet(const Arguments& args, const Streams& io);
int RunDiff(const Arguments& args, const Streams& io);
int RunMerge(const Arguments& args, const Streams& io);
int RunApply(const Arguments& args, const Streams& io);
int RunRedact(const Arguments& args, const Streams& io);

// Reports wrong usage of a command on `err` and gives the exit code for it.
int UsageError(std::string_view command, std::string_view problem, std::ostream& err);

}  // namespace thornbeck::cli

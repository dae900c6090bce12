#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace thornbeck::bench {

// Prints what the console reporter prints, then each measured benchmark's time as a multiple of
// its baseline from the same run, against the target.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Target {
        std::string measured, baseline;
        double limit;
    };
    explicit RatioReporter(std::vector<Target> targets) : targets(std::move(targets)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    // False when a target is missed.
    bool summarize() const {
        bool met = true;
        for (const Target& t : targets) {
            if (!times.count(t.measured) || !times.count(t.baseline)) continue;
            const double ratio = times.at(t.measured) / times.at(t.baseline);
            std::printf("%s / %s = %.2f (target at most %.2f): %s\n", t.measured.c_str(),
                        t.baseline.c_str(), ratio, t.limit, ratio <= t.limit ? "met" : "MISSED");
            met = met && ratio <= t.limit;
        }
        return met;
    }

private:
    std::vector<Target> targets;
    std::map<std::string, double> times;
};

}  // namespace thornbeck::bench

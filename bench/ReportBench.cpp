// The integrity report and the layout of the largest file the editor is built for (64 MiB of
// entries), against building its index, in the same run.
#include <benchmark/benchmark.h>

#include "RatioReporter.h"
#include "WorstCaseImage.h"
#include "core/index/RegistryIndex.h"
#include "core/report/FileLayout.h"
#include "core/report/RegistryReport.h"

namespace thornbeck::bench {
namespace {

struct Loaded {
    RegistryImage image{WorstCaseImage()};
    RegistryIndex index = IndexRegistry(image);
};

const Loaded& File() {
    static const Loaded loaded;
    return loaded;
}

void BM_IndexBaseline(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(IndexRegistry(File().image).nodes().size());
}

void BM_ReportAndLayout(benchmark::State& state) {
    for (auto _ : state) {
        // The window and `info` report on a file they have opened, its index built.
        benchmark::DoNotOptimize(InspectRegistry(File().image, File().index).entries);
        benchmark::DoNotOptimize(DescribeLayout(File().image).regions.size());
    }
}

BENCHMARK(BM_IndexBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportAndLayout)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace thornbeck::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    thornbeck::bench::RatioReporter reporter({{"BM_ReportAndLayout", "BM_IndexBaseline", 1.5}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.summarize() ? 0 : 1;
}

// The conversion with the core library alone, under Google Benchmark: the program is held in
// memory and served as the host's line source, the parser writes the NCI file, nothing is sent
// back. Measures what the plug-in itself costs, without the host's reading and writing.
//
//   convert_bench [benchmark flags] FORMAT:INPUT...
// Each INPUT is converted into INPUT.core.nci; lines/s counts input lines, moves/s NCI moves.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "frontend/conversion_run.h"
#include "program_file.h"

namespace {

using morvane::bench::ProgramFile;

struct Workload {
    std::string name;
    int format = -1;
    std::string output;
    ProgramFile program;
    std::uint64_t moves = 0;
};

void convert(const Workload& workload) {
    morvane::ConversionRun run;
    run.lines = workload.program.source();
    run.formatPosition = workload.format;
    run.nciPath = workload.output;
    morvane::Diagnostics diagnostics;
    morvane::runConversion(run, diagnostics);
}

void runWorkload(benchmark::State& state, Workload* workload) {
    for (auto _ : state)
        convert(*workload);
    using benchmark::Counter;
    state.counters["lines/s"] = Counter(static_cast<double>(workload->program.lineCount()),
                                        Counter::kIsIterationInvariantRate);
    state.counters["moves/s"] =
        Counter(static_cast<double>(workload->moves), Counter::kIsIterationInvariantRate);
    state.counters["MB/s"] = Counter(static_cast<double>(workload->program.bytes()) / 1e6,
                                     Counter::kIsIterationInvariantRate);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::vector<std::unique_ptr<Workload>> workloads;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto colon = argument.find(':');
        auto workload = std::make_unique<Workload>();
        if (colon != std::string::npos) {
            workload->format = morvane::bench::formatPosition(argument.substr(0, colon));
            const std::string input = argument.substr(colon + 1);
            workload->name = input.substr(input.find_last_of('/') + 1);
            workload->output = input + ".core.nci";
            if (workload->format >= 0 && !workload->program.load(input)) workload->format = -1;
        }
        if (workload->format < 0) {
            std::fprintf(stderr, "%s: %s: expected FORMAT:INPUT with a readable input\n", argv[0],
                         argv[i]);
            return 2;
        }
        convert(*workload);
        workload->moves = morvane::bench::countMoves(workload->output);
        benchmark::RegisterBenchmark(workload->name.c_str(), runWorkload, workload.get())
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        workloads.push_back(std::move(workload));
    }
    if (workloads.empty()) {
        std::fprintf(stderr, "usage: %s [benchmark flags] FORMAT:INPUT...\n", argv[0]);
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Converts one NC program file to NCI with the core library alone (no plug-in, no dialog) and
// reports the time it took. Handy for trying a program by hand.
//
//   convert_file FORMAT INPUT OUTPUT
//   FORMAT: fanuc | heidenhain | siemens | sinumerik | numeripath
#include <chrono>
#include <cstdio>

#include "frontend/conversion_run.h"
#include "program_file.h"

int main(int argc, char** argv) {
    using namespace morvane;
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: %s fanuc|heidenhain|siemens|sinumerik|numeripath INPUT OUTPUT\n",
                     argv[0]);
        return 2;
    }
    const int format = bench::formatPosition(argv[1]);
    bench::ProgramFile file;
    if (format < 0 || !file.load(argv[2])) {
        std::fprintf(stderr, "%s: unknown format or unreadable input\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    ConversionRun run;
    run.lines = file.source();
    run.formatPosition = format;
    run.nciPath = argv[3];
    Diagnostics diagnostics;
    const RunEnd end = runConversion(run, diagnostics);
    if (end == RunEnd::NoParser) {
        std::fprintf(stderr, "%s: format %s has no parser\n", argv[0], argv[1]);
        return 1;
    }
    if (end == RunEnd::Failed) {
        std::fprintf(stderr, "%s: %s\n", argv[3], diagnostics.failure().c_str());
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto lines = static_cast<double>(file.lineCount());
    std::printf("%.0f lines in %.3f s: %.0f lines/s\n", lines, seconds, lines / seconds);
    return 0;
}

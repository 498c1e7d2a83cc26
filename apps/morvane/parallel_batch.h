// `morvane convert -j N`: the programs of a batch converted N at once. The plug-in keeps one
// state per process, so a pool of N threads each drives a worker process of its own (this
// program, `morvane convert OPTIONS -- INPUT...`, told which input to convert next on its
// standard input); what a worker prints about a program is held and printed whole, in the order
// of the inputs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "command_line.h"
#include "exit_status.h"

namespace morvane::cli {

// Set in a worker's environment. A worker reads input numbers (from 0), one a line, from its
// standard input, converts each, and ends what it printed about it with a line: kCountsLine,
// the number, the exit status, the notes, warnings and errors printed, 1 when it was cut short
// at a bound (else 0).
inline constexpr const char* kBatchWorkerVariable = "MORVANE_BATCH_WORKER";
inline constexpr std::string_view kCountsLine = "morvane-batch-counts:";

// One program of a batch, done.
struct WorkerResult {
    ExitStatus status = ExitStatus::Done;
    std::string messages;                    // what the worker printed about it
    std::array<std::uint64_t, 3> printed{};  // notes, warnings, errors among them
    bool cutShort = false;                   // cut short at a bound of the conversion
};

// The counts line of input `index`, as a worker writes it.
std::string countsLine(std::size_t index, const WorkerResult& result);
// Takes a whole counts line off the end of `text` into `result`; false when `text` does not end
// with one.
bool takeCountsLine(std::string& text, WorkerResult& result);

// Converts options.inputs with `jobs` workers at most; `onDone` is called for each program in
// input order, on the calling thread, as soon as it and all before it are done.
void convertInParallel(const ConvertOptions& options, unsigned jobs,
                       const std::function<void(const std::string& input,
                                                const WorkerResult& result)>& onDone);

}  // namespace morvane::cli

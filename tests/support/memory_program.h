// Test support: a program held in memory, served through the host's line source, and a one-call
// conversion of such a program to NCI text through the parser entry the driver uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/convert.hpp"
#include "morvane/plugin_api.h"
#include "nci/diagnostics.h"
#include "nci/limits.h"
#include "nci/path_compare.h"
#include "nci/supported_cycle.h"

namespace morvane::test {

// Splits `text` at line feeds (a carriage return before a line feed is dropped); a last line
// without a line feed counts, a final line feed adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

// A LineSource over lines in memory. Answers null for every index outside 0..count-1, as a host
// must for the index equal to the count. Records every index asked for.
class MemoryProgram {
  public:
    explicit MemoryProgram(std::vector<std::string> lines);
    explicit MemoryProgram(std::string_view text) : MemoryProgram(splitLines(text)) {}

    const LineSource* source() const { return &source_; }
    const std::vector<std::int32_t>& requested() const { return requested_; }

  private:
    static std::int32_t count(void* context, std::int32_t* n);
    static std::int32_t line(void* context, std::int32_t index, const char** text);

    std::vector<std::string> lines_;
    std::vector<std::int32_t> requested_;
    LineSource source_;
};

// Runs the parser at format-list position `format` over `program`, within `limits`, reporting
// to `diagnostics` when given, and returns the NCI text it wrote (a rejected cycle parameter
// ends the program there, as in the plug-in). Fails the current test when the format has no
// parser.
std::string convertToNci(int format, std::string_view program,
                         const SupportedCycleList& cycles = {}, const RunLimits& limits = {},
                         Diagnostics* diagnostics = nullptr);

// The same over lines given one by one (a line may hold any byte but NUL).
std::string convertLinesToNci(int format, std::vector<std::string> lines,
                              const SupportedCycleList& cycles = {}, const RunLimits& limits = {},
                              Diagnostics* diagnostics = nullptr);

// The host texts of `diagnostics`, one a line.
std::string diagnosticLines(const Diagnostics& diagnostics);

// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::string& path);

// The tool path of `program` in the corrected semantics, cycles written longhand.
MovePath toolPathOf(std::string_view program, ProgramFormat format);

}  // namespace morvane::test

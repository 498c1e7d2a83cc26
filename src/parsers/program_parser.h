// The one entry through which the conversion driver runs a dialect's parser.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "morvane/plugin_api.h"
#include "nci/limits.h"
#include "nci/supported_cycle.h"

namespace morvane {

// A dialect's parser object for one conversion: built with the host's line source, the NCI file
// path and the post-processor's native cycle patterns; `run` reads the program through the line
// source and writes the complete NCI program into the file (opening, truncating and closing it).
//
// Every run is bounded (nci/limits.h): reaching a budget ends it cleanly with what was written.
class ProgramParser {
  public:
    virtual ~ProgramParser() = default;
    virtual void run() = 0;

    // Lowers the budgets of the run (for tests and fuzzing); call before run().
    void setLimits(const RunLimits& limits) { limits_ = limits; }

  protected:
    RunLimits limits_;
};

// Positions of the format list.
enum class InputFormat : int {
    Fanuc = 0,
    Heidenhain = 1,
    Siemens = 2,
    Sinumerik = 3,
    Numeripath = 4,
    Nci = 5
};

// Builds the parser of the format at `position` (0..4); null when that format has no parser.
// `cycles` is copied by the parser object.
std::unique_ptr<ProgramParser> makeParser(int position, const LineSource* lines,
                                          std::string nciPath, const SupportedCycleList& cycles);

}  // namespace morvane

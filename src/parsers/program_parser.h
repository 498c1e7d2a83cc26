// The one entry through which the conversion driver runs a dialect's parser.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "morvane/input_formats.hpp"
#include "morvane/plugin_api.h"
#include "nci/diagnostics.h"
#include "nci/limits.h"
#include "nci/nci_stream.h"
#include "nci/supported_cycle.h"

namespace morvane {

// A dialect's parser object for one conversion: built with the host's line source, the NCI file
// path and the post-processor's native cycle patterns; `run` reads the program through the line
// source and writes the complete NCI program into the file (opening, truncating and closing it).
//
// Every run is bounded (nci/limits.h): reaching a budget ends it cleanly with what was written,
// and is reported. A failed write of the NCI file is reported as a failure.
class ProgramParser {
  public:
    virtual ~ProgramParser() = default;
    virtual void run() = 0;

    // Sets the budgets of the run (tests, fuzzing, a host's output bound); call before run().
    // Without, the run takes the default budgets of the program's size.
    void setLimits(const RunLimits& limits) { limits_ = limits; }
    // Where the run reports; call before run(). Without, a failure is still kept (diagnostics()).
    void setDiagnostics(Diagnostics& diagnostics) { diagnostics_ = &diagnostics; }
    Diagnostics& diagnostics() const { return *diagnostics_; }
    // Hands the NCI text to `sink` instead of writing the file; call before run().
    void setOutput(NciSink& sink) { sink_ = &sink; }

  protected:
    // Opens `out` on the sink, else on the file at `nciPath`; false when the file cannot be made.
    bool openOutput(NciStream& out, const std::string& nciPath) {
        if (sink_ == nullptr) return out.open(nciPath);
        out.open(*sink_);
        return true;
    }

    // True when `label`, defined at line `index`, may go into `labels`: it is there already, or
    // the table is below the bound on labels. The first label refused is reported.
    template <class LabelTable, class Label>
    bool admitsLabel(const LabelTable& labels, Label label, std::uint32_t index) {
        if (labels.size() < limits::kLabels || labels.contains(label)) return true;
        if (!labelsCut_)
            diagnostics().reportAt(diagnostic::kLimitReached, index + 1,
                                   "the program defines more labels than the bound of " +
                                       groupedNumber(limits::kLabels) +
                                       "; this one and later ones are not entered");
        labelsCut_ = true;
        return false;
    }

    // The budgets of the run, for a program of `programBytes` bytes.
    RunLimits limitsFor(std::uint64_t programBytes) const {
        return limits_ ? *limits_ : RunLimits::forProgram(programBytes);
    }

  private:
    std::optional<RunLimits> limits_;
    bool labelsCut_ = false;
    Diagnostics ownDiagnostics_;
    Diagnostics* diagnostics_ = &ownDiagnostics_;
    NciSink* sink_ = nullptr;
};

// Builds the parser of the format at `position` of the format list (morvane/input_formats.hpp);
// null when that format has no parser (NCI, or a position out of the list).
// `cycles` is copied by the parser object.
std::unique_ptr<ProgramParser> makeParser(int position, const LineSource* lines,
                                          std::string nciPath, const SupportedCycleList& cycles);

}  // namespace morvane

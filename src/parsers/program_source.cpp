#include "parsers/program_source.h"

#include <string>

namespace morvane {

void ProgramSource::startRun(std::uint64_t repeatedBytes, Diagnostics* diagnostics) {
    repeatedBytes_ = repeatedBytes;
    readBudget_ = 2 * bytesRead_ + repeatedBytes;
    diagnostics_ = diagnostics;
    reportedUpTo_ = 0;
    if (diagnostics_ != nullptr && hostCount_ > limits::kProgramLines)
        diagnostics_->reportAt(diagnostic::kLimitReached,
                               static_cast<std::uint32_t>(limits::kProgramLines) + 1,
                               "the program has " + groupedNumber(static_cast<std::uint64_t>(
                                                        hostCount_)) +
                                   " lines, more than the bound of " +
                                   groupedNumber(limits::kProgramLines) +
                                   "; the lines from here on are not converted");
}

void ProgramSource::reportCut(std::int32_t index, bool tooLong) {
    reportedUpTo_ = index + 1;
    if (diagnostics_ == nullptr) return;
    const auto line = static_cast<std::uint32_t>(index) + 1;
    if (tooLong) {
        diagnostics_->reportAt(diagnostic::kLimitReached, line,
                               "the line is longer than the bound of " +
                                   groupedNumber(lineBytes_) +
                                   " bytes; the rest of it is not read");
    } else {
        diagnostics_->reportAt(diagnostic::kLineFeedInLine, line,
                               "the line holds a line feed; the text after it is not read");
    }
}

}  // namespace morvane

// The parser classes of the four ISO dialects. Each dialect namespace has its own Parser and its
// own endprogramException, the dialect's means of ending a run early; the work is done by the
// common IsoProgram run with the dialect's description.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "parsers/iso/dialect.h"
#include "parsers/iso/iso_program.h"

namespace morvane {

namespace iso {

// Ends the run of the dialect described by `D` early; caught only by that dialect's run.
template <const Dialect& D>
class EndOfProgram : public std::exception {
  public:
    const char* what() const noexcept override { return "NC program run ended"; }
};

// The run of the dialect described by `D`.
template <const Dialect& D>
class DialectParser final : public IsoProgram {
  public:
    DialectParser(const LineSource* lines, std::string nciPath, const SupportedCycleList& cycles)
        : IsoProgram(D, lines, std::move(nciPath), cycles) {}

  protected:
    void executeGuarded() override {
        try {
            executeProgram();
        } catch (const EndOfProgram<D>&) {
            // Ended early: no lines more and no CycleEnd; the run writes the trailer.
        }
    }
    [[noreturn]] void endProgram() override { throw EndOfProgram<D>(); }
};

}  // namespace iso

namespace FanucParser {
using endprogramException = iso::EndOfProgram<iso::kFanuc>;
using Parser = iso::DialectParser<iso::kFanuc>;
}  // namespace FanucParser

namespace SiemensParser {
using endprogramException = iso::EndOfProgram<iso::kSiemens>;
using Parser = iso::DialectParser<iso::kSiemens>;
}  // namespace SiemensParser

namespace SinumerikParser {
using endprogramException = iso::EndOfProgram<iso::kSinumerik>;
using Parser = iso::DialectParser<iso::kSinumerik>;
}  // namespace SinumerikParser

namespace NumeripathParser {
using endprogramException = iso::EndOfProgram<iso::kNumeripath>;
using Parser = iso::DialectParser<iso::kNumeripath>;
}  // namespace NumeripathParser

}  // namespace morvane

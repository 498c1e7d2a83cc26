// One parsed NC block: what a dialect's block parser fills from a line and what the NCI writer
// consumes. It lives beside the writer, not the parsers, because every parser and the writer share
// it and the writer must not depend on any dialect.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "nci/variable_set.h"
#include "nci/varstorage.h"

namespace morvane {

// Numbered parameters (Heidenhain Q parameters, cycle parameters under their Q numbers).
// Reading a missing number inserts it with 0.0.
using ParamMap = std::map<std::int32_t, double>;

// clang-tidy 14 reports the compiler's own name for the implicit copy of the array member.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
struct block {
    // Words by address index (A..Z are 0..25, dialect keywords above).
    varstorage vars[kVariableCount];
    // Bit k set when variable k was written for the current block.
    VariableSet defined;
    // G numbers in the order they were read, pseudo codes (1018, 1050, 5401 ...) included.
    std::vector<std::int32_t> gcodes;
    // Axes named without a value (X 1, Y 2, Z 4), for the mirror record of CYCL DEF 8.1 X Y.
    std::uint8_t namedAxes = 0;
    // Index of the source line the block came from.
    std::uint32_t line = 0;
    // The parser's parameter table; set by the run before the first block.
    ParamMap* params = nullptr;

    // Starts a new block. Values stay as they are (a letter not given keeps its modal value).
    void reset() {
        gcodes.clear();
        defined.reset();
        namedAxes = 0;
        line = 0;
    }

    bool has(std::uint32_t k) const { return defined.test(clampVariableIndex(k)); }
    double getDouble(std::uint32_t k) const { return vars[clampVariableIndex(k)].numeric(); }
    // The M word as an integer when the M slot holds an int, otherwise 0; callers test the
    // defined bit first.
    std::int32_t getMCode() const { return vars[addr::M].integral(); }

    void setDouble(std::uint32_t k, double v) {
        k = clampVariableIndex(k);
        vars[k].setDouble(v);
        defined.set(k);
    }
    void setInt(std::uint32_t k, std::int32_t n) {
        k = clampVariableIndex(k);
        vars[k].setInt(n);
        defined.set(k);
    }
    void clear(std::uint32_t k) { defined.reset(clampVariableIndex(k)); }
};

}  // namespace morvane

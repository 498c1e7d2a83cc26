// Records only the corrected semantics writes (docs/nci-format.md): the units in force, and a
// reference return that names the axes it sends home.
#pragma once

#include "writer/nci_frame.h"
#include "nci/nci_stream.h"

namespace morvane {

// 91020 / 1 for inches, 0 for millimetres.
inline void writeUnitsRecord(NciStream& out, bool inch) {
    out << rec::Units << eol << (inch ? '1' : '0') << eol;
}

// 91003 / 0 0 0 then 1 for each of X, Y, Z the return names.
inline void writeNamedReferenceReturn(NciStream& out, bool x, bool y, bool z) {
    out << rec::ReferenceReturn << eol << "0 0 0 " << x << ' ' << y << ' ' << z << eol;
}

}  // namespace morvane

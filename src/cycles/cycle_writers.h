// The cycles' side of the writer's longhand interface (nci/longhand_cycles.h): the parser that
// makes a writer hands it these.
#pragma once

#include "nci/longhand_cycles.h"

namespace morvane {

// The longhand writers of every cycle the cycle table knows; stateless, shared by all writers.
const LonghandCycles& longhandCycles();

}  // namespace morvane

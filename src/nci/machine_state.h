// Where the tool stands: the writer's position record, which a longhand cycle starts from and
// hands back.
#pragma once

namespace morvane {

// The default value is the state at the start of a conversion.
struct MachineState {
    double toolDiameter = 10.0;  // letter D of G99
    double toolLength = 0.0;     // letter L of G99
    double x = 0.0, y = 0.0, z = 0.0;
    double a = 0.0, b = 0.0, c = 0.0;
    double extra = 0.0;  // kept for the cycle writers
};

}  // namespace morvane

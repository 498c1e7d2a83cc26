// The ISO drill cycles G73..G89 written longhand with the corrected semantics: the moves a Fanuc
// control makes for one hole, from the levels and words that the writer keeps for the cycle.
#pragma once

#include <cstdint>
#include <string_view>

#include "cycles/nci_drilling.h"

namespace morvane {

// One hole of an ISO drill cycle, in absolute levels.
struct IsoHole {
    std::int32_t cycle = 81;  // 73, 74, 76, 81..89
    double x = 0.0, y = 0.0;  // hole position
    double referenceZ = 0.0;  // R: rapid down to it, feed below it (G87: the level under the part)
    double bottomZ = 0.0;     // Z of the hole bottom (G87: the top of the back bore)
    double returnZ = 0.0;     // G98: the initial level, at least R; G99: R
    double peck = 0.0;        // Q of G73 and G83; 0 for a single plunge
    double shift = 0.0;       // Q of G76 and G87: the tool moves off the wall by this along +X
    double dwell = 0.0;       // P, in seconds, at the bottom
    double retract = 0.0;     // G73: lift after each peck; G83: stop short of the last depth
};

// Writes the moves of one hole from where the cycle object starts (the tool's position).
class NCIIsoDrilling : public NCISimpleDrilling {
  public:
    NCIIsoDrilling(const CycleStart& start, const IsoHole& hole)
        : NCISimpleDrilling(start), hole_(hole) {}

    void Generate(NciStream& out) override;

  private:
    // Feeds from R to the bottom in pecks of Q: lifting by the retract distance (G73) or
    // rapiding back to R and down to just above the last depth (G83).
    void peckToBottom(NciStream& out, Point2 p, bool outToR);
    // Back boring (G87): off the wall down to R under the part, bore upwards, off the wall up.
    void backBore(NciStream& out, Point2 p);

    IsoHole hole_;
};

// The comment label of the longhand operation of cycle G`cycle` ("G81 drilling").
std::string_view isoCycleLabel(std::int32_t cycle);
// What of cycle G`cycle` the NCI moves cannot say (a spindle reversal, stop or orientation);
// empty when nothing is lost.
std::string_view isoCycleSpindleAction(std::int32_t cycle);

}  // namespace morvane

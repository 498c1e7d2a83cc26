// The ISO drill cycles G73..G89 written longhand with the corrected semantics: the moves a Fanuc
// control makes for one hole, from the levels and words that the writer keeps for the cycle.
#pragma once

#include <cstdint>
#include <string_view>

#include "cycles/nci_drilling.h"
#include "nci/longhand_cycles.h"

namespace morvane {

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

}  // namespace morvane

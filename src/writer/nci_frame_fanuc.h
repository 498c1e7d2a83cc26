// NCIFrameFanuc: the NCI writer of the ISO G-code dialects. It differs from NCIFrame in the ISO
// meaning of G17/G18/G19, modal drill cycles (G73, G74, G76, G81..G88) repeated at every new
// position until G80, the spindle direction from M3/M4, work offsets G54..G59, and record codes
// that stay in force from block to block.
//
// With the corrected semantics (docs/corrections.md) G4 is a dwell of its block, G28 moves to its
// intermediate point and leaves the position unknown, a block that ends a drill cycle keeps its
// move, and the drill cycles G73..G89 drill where a block gives a position, with the levels and
// words the control keeps for them (nci_frame_drilling.cpp).
#pragma once

#include "writer/nci_frame.h"

namespace morvane {

struct IsoHole;

class NCIFrameFanuc : public NCIFrame {
  public:
    explicit NCIFrameFanuc(const LonghandCycles& cycles);

    void InterpretCodes() override;
    void BuildSupportedCycleList() override;
    bool WriteSupportedCycle(NciStream& line) override;
    void LoadBlock(const block& b, const std::vector<double>& axes) override;
    void WriteBlock(NciStream& out) override;
    // With the corrected semantics, 91081 while a drill cycle is open.
    std::int32_t GetBlockCode() override;

  protected:
    double CycleTermValue(const CycleTerm& term) override;

    bool cycleCancelled_ = false;  // {G80 after an open drill cycle}: this block writes CycleEnd

  private:
    // What the drill cycle G73..G89 keeps from block to block (corrected semantics).
    struct Drilling {
        std::int32_t cycle = 0;        // the open cycle's G number; 0 when none is open
        bool returnToInitial = true;   // {G98: true, G99: false}
        double initialZ = 0.0;         // Z of the tool when the cycle opened
        double referenceZ = 0.0;       // R level, absolute
        double bottomZ = 0.0;          // hole bottom, absolute
        double depthBelowR = 0.0;      // Z under G91: the bottom's distance below R
        double peck = 0.0;             // Q
        double dwellMs = 0.0;          // P
        bool recordWritten = false;    // a native record of these values has been written
    };

    // The corrected semantics' interpretation and block writer.
    void InterpretCorrected();
    void WriteCorrectedBlock(NciStream& out, std::int32_t code);
    // Opens or changes the drill cycle G`g` (73, 74, 76, 81..89).
    void OpenDrillCycle(std::int32_t g);
    // Ends the open drill cycle: the block writes CycleEnd first.
    void EndDrillCycle(std::int32_t g);
    // Takes the block's R, Z, Q and P into the open cycle.
    void TakeDrillWords();
    // Drills the block's holes (K of them, stepping under G91), natively or longhand.
    void DrillHoles(NciStream& out);
    void DrillNative(NciStream& out, const IsoHole& hole, bool repeat);
    void DrillLonghand(NciStream& out, const IsoHole& hole);
    // The records of G28: the move to the intermediate point, then the return itself.
    void WriteReferenceReturn(NciStream& out);
    // The move of the block in the motion mode, arcs resolved.
    void WriteBlockMove(NciStream& out);
    // Reports, with the exact semantics, the corrections that apply to the block.
    void ReportExactBlock(std::int32_t code);

    Drilling drilling_;
    bool dwell_ = false;          // {G4}: the block dwells P milliseconds (corrected)
    bool cycleEnded_ = false;     // the block ends the open drill cycle (corrected)
    std::int32_t endingCode_ = 0;  // the G code that ends it
    bool incremental_ = false;    // {G90: false, G91: true}
    bool inch_ = false;           // {G20: true, G21: false}
    bool unitsGiven_ = false;     // the block gives G20 or G21 (corrected)
    bool unitsWritten_ = false;   // a units record is in the NCI, of `writtenInch_` (corrected)
    bool writtenInch_ = false;
    double modalFeed_ = 0.0;      // the last F of any block
    const IsoHole* hole_ = nullptr;  // the native hole being composed (CycleTermValue)
    double holeStartZ_ = 0.0;        // the tool's Z before that hole
};

}  // namespace morvane

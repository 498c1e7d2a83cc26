// NCIFrame: the NCI writer. It keeps the modal machine state, decides which NCI record each
// parsed block yields and writes it. One object per conversion, owned by the dialect's parser.
//
// Calling order per conversion: SetSupportedCycles once; then per executed block, optionally
// SetMessageText, LoadBlock, optionally QueueComment, WriteBlock; GetBlockCode after the last one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nci/block.h"
#include "nci/nci_stream.h"
#include "nci/supported_cycle.h"
#include "nci/varstorage.h"

namespace morvane {

// Record codes of the NCI catalogue.
namespace rec {
inline constexpr std::int32_t RapidMove = 0, LinearMove = 1, ArcCW = 2, ArcCCW = 3, DwellTime = 4,
                              OperationEnd = 999, OperationStart = 1000, ToolChange = 1001,
                              ProgramEnd = 1003, Comment = 1005, Tolerance = 1011,
                              SubprogramLabel = 1018, SubprogramReturn = 1019, StockBlank = 1020,
                              Message = 1050, SubprogramCall = 10181, ReferenceReturn = 91003,
                              Scaling = 91011, Mirror = 91012, Rotation = 91014, Chamfer = 91024,
                              Rounding = 91025, DatumSelect = 91054, CycleEnd = 91080,
                              CycleCall = 91081, CycleCallRepeat = 91083, SpindleLimit = 92,
                              SurfaceSpeed = 96, PlaneRotation = 9101301, None = -1;
}  // namespace rec

// The writer's position record: what a cycle object starts from and what it hands back.
struct MachineState {
    double toolDiameter = 10.0;  // letter D of G99
    double toolLength = 0.0;     // letter L of G99
    double x = 0.0, y = 0.0, z = 0.0;
    double a = 0.0, b = 0.0, c = 0.0;
    double extra = 0.0;  // kept for the cycle writers
};

class NCIFrame {
public:
    NCIFrame();
    NCIFrame(const NCIFrame&) = delete;
    NCIFrame& operator=(const NCIFrame&) = delete;
    virtual ~NCIFrame() = default;

    virtual std::int32_t ResolveBlockCode();
    virtual double RoundValue(double v);
    virtual double GetDouble(std::uint32_t index);
    virtual std::int32_t GetInt(std::uint32_t index);
    virtual void ArcCenterFromRadius(std::int32_t direction);
    virtual void DetectArcCenterMode();
    virtual void ResolveArcCenter();
    virtual void InterpretCodes();
    virtual void WriteCycleByNumber(std::int32_t cycle, NciStream& out);
    virtual bool IsCycleSupported(SupportedCycle mask);
    virtual void BuildSupportedCycleList();
    // Composes the native cycle line of the active cycle; false when it is not supported.
    virtual bool WriteSupportedCycle(NciStream& out);

    // Cycle writers: expand one cycle call into explicit moves, bracketed by comment, operation
    // start and operation end records.
    virtual void WriteCycle200(NciStream& out);
    virtual void WriteCycle201(NciStream& out);
    virtual void WriteCycle202(NciStream& out);
    virtual void WriteCycle203(NciStream& out);
    virtual void WriteCycle204(NciStream& out);
    virtual void WriteCycle205(NciStream& out);
    virtual void WriteCycle206(NciStream& out);
    virtual void WriteCycle207(NciStream& out);
    virtual void WriteCycle208(NciStream& out);
    virtual void WriteCycle209(NciStream& out);
    virtual void WriteCycle1001(NciStream& out);
    virtual void WriteCycle1003(NciStream& out);
    virtual void WriteCycle1004(NciStream& out);
    virtual void WriteCycle1005(NciStream& out);
    virtual void WriteCycle210(NciStream& out);
    virtual void WriteCycle211(NciStream& out);
    virtual void WriteCycle212(NciStream& out);
    virtual void WriteCycle213(NciStream& out);
    virtual void WriteCycle214(NciStream& out);
    virtual void WriteCycle215(NciStream& out);
    virtual void WriteCycle221(NciStream& out);
    virtual void WriteCycle230(NciStream& out);
    virtual void WriteCycle231(NciStream& out);
    virtual void WriteCycle232(NciStream& out);
    virtual void WriteCycle251(NciStream& out);
    virtual void WriteCycle252(NciStream& out);
    virtual void WriteCycle253(NciStream& out);
    virtual void WriteCycle254(NciStream& out);
    virtual void WriteCycle263(NciStream& out);
    virtual void WriteCycle267(NciStream& out);

    virtual void SetSupportedCycles(SupportedCycleList patterns);
    virtual void QueueComment(std::string text);
    virtual void SetMessageText(std::string text);
    virtual void LoadBlock(const block& b, const std::vector<double>& axes);
    virtual std::int32_t GetBlockCode();
    virtual void WriteBlock(NciStream& out);

protected:
    // Entry n of the Q-parameter table; a missing number is entered with 0.0.
    double Q(std::int32_t n) { return (*params_)[n]; }

    std::int32_t recordCode_ = rec::None;      // record chosen for the current block
    std::int32_t previousRecordCode_ = rec::None;
    std::int32_t motionMode_ = -1;             // {G0,G1,G2,G3,G4}; -1 none yet; modal
    std::uint32_t compensation_ = 0;           // {G40,G41,G42} of this block, else 0
    std::uint32_t plane_ = 0;                  // 0 XY, 1 YZ, 2 XZ; modal
    std::uint32_t definedCycle_ = 0;           // last cycle defined
    std::uint32_t activeCycle_ = 0;            // cycle a call refers to
    bool cycleCalled_ = false;                 // a call of the defined cycle was written
    bool noToolChangeYet_ = true;
    double blankMin_[3] = {0, 0, 0};           // X Y Z of the last G30 block
    double blankMax_[3] = {0, 0, 0};           // X Y Z of the last G31 block
    MachineState current_;
    MachineState previous_;                    // state before the block: X0 Y0 Z0
    NciStream line_;                           // scratch line for the cycle writers
    std::string storedText_;                   // queued comment or message text
    bool commentPending_ = false;
    std::vector<double> axes_;                 // the parser's axis values
    std::uint32_t arcCentreMode_ = 0;          // 0 unknown, 1 absolute, 2 from start, 3 from end
    SupportedCycleList patterns_;
    std::vector<std::int32_t> supportedCycles_;
    std::int32_t spindleDirection_ = 1;        // {M3: +1, M4: -1}
    varstorage vars_[kVariableCount];          // the block's variables, modal between blocks
    std::bitset<kVariableCount> defined_;      // given in the current block
    std::vector<std::int32_t> gcodes_;         // G codes of the current block, in order
    // The parser's Q-parameter table, shared rather than copied per block: the writer only
    // reads it (a missing entry is entered as 0.0, which reads the same everywhere).
    ParamMap ownParams_;
    ParamMap* params_ = &ownParams_;
};

}  // namespace morvane

// Heidenhain conversational text: numbered blocks between BEGIN PGM and END PGM, L with FMAX or
// F, CC and C (or CR, or CP for a helix) with DR+/DR-, TOOL CALL, CYCL DEF 200/203 with their Q
// parameters and a call per hole, comments after ";".
#pragma once

#include <string>

#include "nc_modal.h"
#include "post_output.h"
#include "post_settings.h"

namespace morvane::post {

class HeidenhainOutput final : public PostOutput {
  public:
    HeidenhainOutput(const PostSettings& settings, OutputBuffer& out);

    void begin(std::string_view programName, bool inch) override;
    void end() override;
    // BEGIN PGM names one unit for the whole program.
    bool units(bool) override { return false; }
    void move(const LinearMove& move) override;
    void arc(const ArcMove& arc) override;
    void dwell(double seconds) override;
    void toolChange(std::int32_t tool, double speed) override;
    void comment(std::string_view text) override;
    void cycle(const CycleCall& call) override;
    void cycleEnd() override {}
    void datum(std::int32_t number) override;
    void referenceReturn(const std::array<bool, 3>& axes) override;
    void stockBlank(const Point& min, const Point& max) override;
    void subprogramLabel(std::int32_t number) override;
    void subprogramReturn() override;
    void subprogramCall(std::int32_t number, std::int32_t repeats) override;
    void spindle(SpindleSetting setting, double speed) override;
    void corner(bool chamfer, double size) override;
    void tolerance(double value) override;
    void mirror(bool x, bool y, bool z) override;

  private:
    void emitBlock();  // line_ with its block number
    void emitText(std::string_view text, std::string_view axes = {});
    void commentBlock(std::string_view text);
    void compensationWord(Compensation comp);
    void feedWord(double feed, Compensation comp);
    void straightBlock(const LinearMove& move, const std::array<bool, 3>& named);
    void positionStart(const ArcMove& arc);
    void centreBlock(const ArcMove& arc);
    struct PolarTurn {
        double degrees;  // IPA as written
        double endH;     // where the turn leaves the control
        double endV;
    };
    void polarStart(const ArcMove& arc, double& h, double& v) const;
    void choosePole(ArcMove& arc, double fromH, double fromV) const;
    PolarTurn polarTurn(const ArcMove& arc, double fromH, double fromV) const;
    void cycleDefinition(const CycleCall& call);
    void cycleCallBlock(const CycleCall& call);

    const PostSettings& settings_;
    OutputBuffer& out_;
    NumberStyle length_;
    NumberStyle feedStyle_;
    NumberStyle feedQ_;  // feeds as Q parameter values carry a sign
    NumberStyle angle_;
    std::string line_;
    std::string scratch_;
    std::string programName_;
    bool inch_ = false;  // the unit of BEGIN PGM and END PGM
    std::int64_t block_ = 0;  // number of the next block
    KnownPosition position_;
    KnownFeed feed_;
    // The circle centre the control holds (CC), in the axes of `centrePlane_`; a CR block
    // leaves our reader's centre elsewhere, so it makes the centre unknown.
    bool centreKnown_ = false;
    Plane centrePlane_ = Plane::XY;
    double centreH_ = 0.0;
    double centreV_ = 0.0;
    // The last block was a CP: the control stands where its own rotation put it, which the
    // next CP continues from; any other block names its position again.
    bool afterPolarArc_ = false;
    double polarX_ = 0.0;  // where the control's rotation left X and Y after that CP
    double polarY_ = 0.0;
};

}  // namespace morvane::post

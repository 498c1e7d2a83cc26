// ISO G-code in the Fanuc style: modal words written only when they change, arcs with I J K or
// R, native drill cycles as G81/G82/G83/G73/G74/G76 until G80, comments in parentheses. Every
// word it writes is one that a Fanuc control and Morvane's own Fanuc reader both read the same
// way; where the two differ (a block without G words inside an open cycle drills there for our
// reader), the output avoids the difference.
#pragma once

#include <string>

#include "nc_modal.h"
#include "post_output.h"
#include "post_settings.h"

namespace morvane::post {

class IsoOutput final : public PostOutput {
  public:
    IsoOutput(const PostSettings& settings, OutputBuffer& out);

    void begin(std::string_view programName, bool inch) override;
    void end() override;
    bool units(bool inch) override;
    void move(const LinearMove& move) override;
    void arc(const ArcMove& arc) override;
    void dwell(double seconds) override;
    void toolChange(std::int32_t tool, double speed) override;
    void comment(std::string_view text) override;
    void cycle(const CycleCall& call) override;
    void cycleEnd() override;
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
    // Closes an open cycle and writes a held comment: every block that is not a cycle call
    // starts with this, since our reader drills at any block without G words in an open cycle.
    void prepareBlock();
    void emitBlock();                       // line_ with its N number
    // Lengths in the unit that comes into force: their places, and no known position.
    void lengthUnit(bool inch);
    // A converter's line as it is (program start and end, reference return).
    void emitPlain(std::string_view text, std::string_view axes = {});
    void commentLine(std::string_view text);
    void motionWord(int g);
    void compensationWords(Compensation comp);
    void feedWord(double feed);
    void straightBlock(const LinearMove& move, const std::array<bool, 3>& named);
    void positionStart(const ArcMove& arc);
    // The words of a native cycle as the control keeps them until G80.
    struct OpenCycle {
        int code = 0;              // 81, 82, 83 or 73, 74, 76
        bool toReference = false;  // G99, else G98
        double bottomZ = 0.0;
        double referenceZ = 0.0;
        double peck = 0.0;
        double shift = 0.0;
        std::int32_t dwellMs = 0;
        double feed = -1.0;
    };
    OpenCycle openCycleOf(const CycleCall& call) const;
    void cycleWords(const OpenCycle& cycle, double x, double y, const OpenCycle* was);

    const PostSettings& settings_;
    OutputBuffer& out_;
    NumberStyle length_;
    NumberStyle feedStyle_;
    std::string line_;  // the block being composed
    std::string scratch_;
    std::string programName_;
    std::string heldComment_;  // comments met while a cycle is open
    KnownPosition position_;
    KnownFeed feed_;
    int motion_ = -1;              // {G0,G1,G2,G3} in force; -1 after G4, cycles, start
    int plane_ = -1;               // {G17,G18,G19} as NCI plane code; -1 not written yet
    std::int32_t tool_ = 0;        // T of the last tool change, for D with G41/G42
    std::int32_t lineNumber_ = 0;  // N of the next block
    bool cycleOpen_ = false;       // G81..G76 in force until G80
    OpenCycle open_;               // the words of that cycle
    // Our Fanuc reader decides at its first arc with I J K whether they are relative to the
    // start point; a planar arc with matching radii decides it reliably, a helix does not (the
    // third centre word stays from an earlier block).
    bool centreModeSettled_ = false;
};

}  // namespace morvane::post

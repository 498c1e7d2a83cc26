// Turns one Heidenhain conversational line into the ISO-style block that the NCI writer reads:
// axis words into the letter slots, feed, speed, tool and M functions into F, S, T, M, and the
// path conditions into the block's code list as ISO numbers (1 linear, 0 rapid, 2 and 3 arcs,
// 40 no radius compensation, 24 chamfer, 25 rounding, 20 and 21 units, cycle numbers).
// Q parameters go into the parameter table, which every block links to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nci/block.h"
#include "nci/diagnostics.h"
#include "parsers/heidenhain/lexer.h"

namespace morvane::HHParser {

// What the current line turned out to be. The run clears all of them before each line; the
// block parser also clears the first three itself.
struct LineFlags {
    bool centreBlock = false;       // CC: the X Y Z words give the circle centre (slots I J K)
    bool datum = false;             // CYCL DEF 7 (datum shift): the words feed the axis vector
    bool stop = false;              // CALL LBL 0: ends the running section
    bool arc = false;               // C, CR or CP: DR+ / DR- give the arc direction
    bool message = false;           // BEGIN PGM: the comment text holds the program name
    bool parameterComment = false;  // a Q assignment: its comment is not written
    bool mirror = false;            // CYCL DEF 8.1: axes named without a value count
    bool cycleDefinition = false;   // CYCL DEF: the words behind the cycle number name it
    bool polarLine = false;         // LP (corrected): PR and PA give the end point
    bool tangentArc = false;        // CT (corrected): the arc's centre follows from the tangent
    bool labelEnd = false;          // LBL 0: ends a called section (corrected)
    bool repeatGiven = false;       // REP behind CALL LBL
    bool multiTurn = false;         // CP beyond a full turn: its whole turns come first (corrected)
};

// The whole turns of a polar arc of more than one turn (corrected): full circles from and back
// to its start point, written before the line's own arc, which cuts the rest. The depth (along
// the axis off the arc's plane) changes with the angle, the same share per degree in every turn
// and in the rest.
struct HelixTurns {
    std::int32_t count = 0;         // full circles before the line's own arc
    std::array<double, 3> start{};  // X Y Z of the start point
    std::uint32_t depthAxis = 2;    // 0 X, 1 Y, 2 Z
    double perTurn = 0.0;
};

// The direction in which the last contour element (a straight move or an arc) left its end
// point, for an arc tangent to it (CT).
struct ContourTangent {
    double x = 0.0;
    double y = 0.0;
    bool known = false;
};

// Code list entries of the conversational words (ISO numbers and pseudo codes).
namespace code {
inline constexpr std::int32_t Rapid = 0, Linear = 1, ArcCW = 2, ArcCCW = 3, NoCompensation = 40,
                              CompensationLeft = 41, CompensationRight = 42, Chamfer = 24,
                              Rounding = 25, Inch = 20, Metric = 21, ToolData = 99,
                              DatumSelect = 247, Message = 1050, BlankFormBase = 29,
                              PlaneXY = 17, PlaneYZ = 18, PlaneXZ = 19;
}

// Axis order of the position, the circle centre and the axis vector.
enum Axis : std::uint32_t { AxisX = 0, AxisY, AxisZ, AxisA, AxisB, AxisC, kAxisCount };

// Block slot of each axis, and of the circle-centre word of X, Y, Z.
inline constexpr std::uint32_t kAxisSlot[kAxisCount] = {addr::X, addr::Y, addr::Z,
                                                        addr::A, addr::B, addr::C};
inline constexpr std::uint32_t kCentreSlot[3] = {addr::I, addr::J, addr::K};

// Values of the last datum shift (CYCL DEF 7), handed to the writer with every block.
struct AxisVector {
    std::vector<double> values = std::vector<double>(kAxisCount, 0.0);
    std::array<bool, kAxisCount> given{};  // set by a datum-shift line

    void clear() {
        values.assign(kAxisCount, 0.0);
        given.fill(false);
    }
};

class BlockParser {
  public:
    BlockParser() { blk.params = &params; }
    // Where the reports of the lines go, and the semantics the lines are read by.
    void setDiagnostics(Diagnostics& diagnostics);
    BlockParser(const BlockParser&) = delete;
    BlockParser& operator=(const BlockParser&) = delete;

    // Starts a new line: empty block, no comment, every line flag cleared.
    void beginLine();
    // Parses one line into `blk` (the block number in front is skipped).
    void parseLine(std::string_view line);
    // Carries what the parsed line gave into the modal state: the circle centre of a CC line,
    // the last X Y Z A B C, and the axis vector of a datum-shift line.
    void rememberLine();

    block blk;
    ParamMap params;  // the Q parameters, linked into the block
    Lexer lexer{params};
    LineFlags flags;
    std::array<double, kAxisCount> position{};  // last X Y Z A B C of the program
    std::array<double, 3> centre{};             // last circle centre (CC), X Y Z
    std::array<bool, 3> centreGiven{};
    AxisVector axes;
    ContourTangent tangent;  // kept with the corrected semantics only
    HelixTurns helix;        // of the current line, when flags.multiTurn

  private:
    // A keyword's action: false ends the line (the rest is ignored).
    using Action = bool (BlockParser::*)(std::int32_t arg);
    struct KeywordAction {
        Action action;
        std::int32_t arg;
    };
    using ActionTable = std::array<KeywordAction, kw::Count + 1>;
    // The conversion rules as they stand, and with the corrections (docs/corrections.md).
    static const ActionTable kActions;
    static const ActionTable kCorrectedActions;

    double value() { return lexer.readValue(line_, cursor_); }
    // The word after blanks; inline, as it is read between all the words of a line.
    std::int32_t nextKeyword() {
        Lexer::skipSpaces(line_, cursor_);
        wordStart_ = cursor_;
        return lexer.readKeyword(line_, cursor_);
    }
    void appendCode(std::int32_t code) { blk.gcodes.push_back(code); }
    void stepBack(std::int32_t chars);

    bool appendCodeAction(std::int32_t code);
    bool linearToAxis(std::int32_t back);
    bool axisWord(std::int32_t axis);
    bool slotWord(std::int32_t slot);
    bool integerWord(std::int32_t slot);
    bool slotWordIfNumber(std::int32_t slot);
    bool circle(std::int32_t);
    bool circleToAxis(std::int32_t back);
    bool incrementalAxis(std::int32_t axis);
    bool centreBlock(std::int32_t);
    bool centreToAxis(std::int32_t back);
    bool polar(std::int32_t);
    bool arcFlag(std::int32_t);
    bool direction(std::int32_t);
    bool radius(std::int32_t);
    bool rapid(std::int32_t);
    bool tool(std::int32_t);
    bool call(std::int32_t);
    bool toolCall(std::int32_t);
    bool repeat(std::int32_t);
    bool noAction(std::int32_t);
    bool blankForm(std::int32_t);
    bool cycle(std::int32_t);
    bool chamfer(std::int32_t);
    bool assignParameter(std::int32_t);
    bool dwell(std::int32_t);
    bool parameterWord(std::int32_t q);
    bool cycleRadius(std::int32_t);
    bool beginProgram(std::int32_t);
    bool labelWord(std::int32_t);

    // The corrections of the Heidenhain lines (corrected_words.cpp).
    bool compensation(std::int32_t code);
    bool autoFeed(std::int32_t);
    bool fnFunction(std::int32_t);
    bool polarLine(std::int32_t);
    bool polarRadius(std::int32_t);
    bool polarAngle(std::int32_t incremental);
    bool tangentArc(std::int32_t);
    // The end point of an LP line, the centre and direction of a CT line.
    void finishCorrectedLine();
    // Updates `tangent` from the line just parsed (before the position takes it over).
    void rememberTangent();
    // An arc about a CC in Y and Z, or X and Z, goes in that plane (corrected); the next move
    // outside it brings the XY plane back.
    void arcPlane();
    // A CP line beyond a full turn: reported, and its turns planned with the corrected semantics.
    void planHelixTurns();

    // FN n: Qq = a op b. `q` and `value` are set when the function is one of FN 0 to FN 4 and
    // its operands read; `function` is n, -1 when no number follows FN.
    struct FnResult {
        std::int32_t function = -1;
        std::int32_t q = 0;
        double value = 0.0;
        bool computed = false;
    };
    FnResult readFn();
    double readOperand();

    // The reports of what a line loses (ignored_words.cpp); called only when diagnostics are
    // wanted. `keyword` is the word the line ended at, read from wordStart_.
    void reportLineEnd(std::int32_t keyword);
    void reportFnLineEnd();
    void reportLostWords();
    void reportToolName();
    // Quotes the text of the line from `from` up to its comment, shortened, for a message.
    std::string quoteFrom(std::uint32_t from) const;

    // Cycle definitions (cycle_definition.cpp).
    void defineCycle();
    double readOldCycleValue();

    std::string_view line_;
    std::uint32_t cursor_ = 0;
    std::uint32_t wordStart_ = 0;  // where the last keyword read began
    std::uint32_t lineStart_ = 0;  // where the first word of the line begins
    const ActionTable* actions_ = &kActions;
    Diagnostics* diagnostics_ = nullptr;
    bool reporting_ = false;  // diagnostics are wanted
    double polarRadius_ = 0.0;
    double polarAngle_ = 0.0;  // degrees
    double arcTurn_ = 0.0;     // IPA of the CP line, degrees
    // A CT line gave the writer its own centre: the arcs after it are given the CC centre again.
    bool restoreCentre_ = false;
    std::int32_t centrePlane_ = code::PlaneXY;   // the plane of the last CC's two axes
    std::int32_t writtenPlane_ = code::PlaneXY;  // the plane the writer holds (corrected)
};

// Repeat counts that fit the thousandths of a label call's L value.
inline constexpr std::int32_t kMaxRepeatCount = 999;
// A polar arc's IPA this much beyond a whole number of turns is still that many turns (degrees).
inline constexpr double kTurnTolerance = 1e-6;

}  // namespace morvane::HHParser

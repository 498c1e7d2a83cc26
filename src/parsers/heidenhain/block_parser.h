// Turns one Heidenhain conversational line into the ISO-style block that the NCI writer reads:
// axis words into the letter slots, feed, speed, tool and M functions into F, S, T, M, and the
// path conditions into the block's code list as ISO numbers (1 linear, 0 rapid, 2 and 3 arcs,
// 40 no radius compensation, 24 chamfer, 25 rounding, 20 and 21 units, cycle numbers).
// Q parameters go into the parameter table, which every block links to.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "nci/block.h"
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
};

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

  private:
    // A keyword's action: false ends the line (the rest is ignored).
    using Action = bool (BlockParser::*)(std::int32_t arg);
    struct KeywordAction {
        Action action;
        std::int32_t arg;
    };
    static const std::array<KeywordAction, 90> kActions;

    double value() { return lexer.readValue(line_, cursor_); }
    // The word after blanks; inline, as it is read between all the words of a line.
    std::int32_t nextKeyword() {
        Lexer::skipSpaces(line_, cursor_);
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

    // Cycle definitions (cycle_definition.cpp).
    void defineCycle();
    double readOldCycleValue();

    std::string_view line_;
    std::uint32_t cursor_ = 0;
};

// Repeat counts that fit the thousandths of a label call's L value.
inline constexpr std::int32_t kMaxRepeatCount = 999;

}  // namespace morvane::HHParser

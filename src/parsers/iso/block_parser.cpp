#include "parsers/iso/block_parser.h"

#include <algorithm>
#include <string>
#include <utility>

#include "nci/int_conversion.h"
#include "writer/iso_codes.h"
#include "nci/nci_stream.h"
#include "parsers/iso/m_words.h"

namespace morvane::iso {

namespace {

// "M8 (coolant on)".
std::string mWordText(std::int32_t m) {
    std::string text = "M" + std::to_string(m);
    if (const std::string_view name = mWordName(m); !name.empty())
        text.append(" (").append(name).append(")");
    return text;
}

bool contains(const std::vector<std::int32_t>& codes, std::int32_t g) {
    return std::find(codes.begin(), codes.end(), g) != codes.end();
}

}  // namespace

void exchangeSlots(block& b, std::uint32_t first, std::uint32_t second) {
    std::swap(b.vars[first], b.vars[second]);
    const bool firstDefined = b.defined.test(first);
    b.defined.set(first, b.defined.test(second));
    b.defined.set(second, firstDefined);
}

namespace {

// A dialect that names the axes Y and Z the other way round: the block's words exchanged.
void exchangeYZ(block& b) {
    if (b.has(addr::J) || b.has(addr::K)) exchangeSlots(b, addr::J, addr::K);
    if (b.has(addr::Y) || b.has(addr::Z)) exchangeSlots(b, addr::Y, addr::Z);
}

}  // namespace

void BlockParser::storeIncrement(std::uint32_t slot, double value, block& b) const {
    const std::size_t axis = slot - addr::U;
    const double base = axes_->absolute ? axes_->position[positionOf(axis)] : 0.0;
    b.setDouble(addr::X + static_cast<std::uint32_t>(axis), base + value);
}

std::size_t BlockParser::positionOf(std::size_t axis) const {
    if (!reader_->dialect().block.exchangesYZ || axis == 0) return axis;
    return 3 - axis;
}

void BlockParser::convertWordsRead(block& b, double sign) const {
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const double offset = sign * axes_->position[positionOf(axis)];
        for (const std::uint32_t slot : {addr::X + static_cast<std::uint32_t>(axis),
                                         addr::I + static_cast<std::uint32_t>(axis)}) {
            if (b.has(slot)) b.setDouble(slot, b.getDouble(slot) + offset);
        }
    }
}

void BlockParser::storeGCode(std::int32_t g, block& b) {
    const BlockRules& rules = reader_->dialect().block;
    if (rules.arcDirectionExchanged && (g == 2 || g == 3)) g = 5 - g;
    if (rules.planeSelectionDropped && g >= 17 && g <= 19) {
        // G18 names the turning plane the dialect reads in: nothing is lost.
        if (g != 18 && diagnostics_->wanted())
            diagnostics_->report(diagnostic::kWordIgnored,
                                 std::string("G") + std::to_string(g) +
                                     " is not converted: " + std::string(reader_->dialect().name) +
                                     " programs are read in the turning plane");
        return;
    }
    if (g == 90 || g == 91) {
        // A mode change takes effect where it stands: the words before it keep the mode they
        // were read in, so they are re-expressed for the new one (the run reads X Y Z by the
        // mode in force at the end of the line).
        const bool toAbsolute = g == 90;
        if (axes_->absolute != toAbsolute) {
            convertWordsRead(b, toAbsolute ? 1.0 : -1.0);
            axes_->absolute = toAbsolute;
        }
        // The block carries at most one of 90 and 91: the last one written.
        const auto other = std::find(b.gcodes.begin(), b.gcodes.end(), toAbsolute ? 91 : 90);
        if (other != b.gcodes.end()) {
            *other = g;
        } else if (!contains(b.gcodes, g)) {
            b.gcodes.push_back(g);
        }
        return;
    }
    // With the corrected semantics the position is the intermediate point of the return.
    if (g == 28 && !diagnostics_->corrected())
        std::fill(std::begin(axes_->position), std::end(axes_->position), 0.0);
    if (isIsoDrillCycle(g)) axes_->drilling = true;
    if (g == 80 || (g >= 0 && g <= 3)) axes_->drilling = false;
    b.gcodes.push_back(g);
}

void BlockParser::storeMWord(std::int32_t m, std::int32_t previous, block& b) {
    const bool corrected = diagnostics_->corrected();
    const bool keepsEvery = reader_->dialect().block.keepsEveryMWord;
    if (keepsEvery || isStoredMWord(m) || (corrected && isToolOrSpindleMWord(m)))
        b.setInt(addr::M, m);
    if (!diagnostics_->wanted()) return;
    // Dropped by the exact semantics, converted by the corrected one.
    if ((!keepsEvery && isToolOrSpindleMWord(m)) || (keepsEvery && (m == 2 || m == 5))) {
        const std::string word = mWordText(m);
        const char* effect = m == 2   ? "ends the program like M30"
                             : m == 6 ? "writes the tool change with the last T"
                             : m == 5 ? "gives the next tool or speed record the speed 0"
                                      : "sets the spindle direction of the next tool or speed record";
        diagnostics_->correction(
            diagnostic::kToolAndSpindle,
            word + " is not converted (the corrected semantics " + effect + ")",
            word + " " + effect);
    } else if (!mWordActs(m, corrected)) {
        diagnostics_->report(diagnostic::kWordIgnored, mWordText(m) + " is not converted");
    }
    // One M word a block: the one written last takes the place of the one before.
    if (previous >= 0 && mWordActs(previous, corrected) && b.has(addr::M) &&
        b.getMCode() == m)
        diagnostics_->report(diagnostic::kWordIgnored,
                             mWordText(previous) + " gives way to " + mWordText(m) +
                                 ": a block keeps one M word, the last");
}

void BlockParser::readDwell(block& b) {
    const bool inF = reader_->dialect().block.dwellSecondsInF;
    const std::uint32_t word = inF ? addr::F : (b.has(addr::P) ? addr::P : addr::X);
    const double given = b.has(word) ? b.getDouble(word) : 0.0;
    const double seconds = word == addr::P ? given / 1000.0 : given;
    if (diagnostics_->wanted()) {
        const std::string time = realToString(seconds) + " s";
        diagnostics_->correction(
            diagnostic::kDwellNonmodal,
            std::string("G4 is taken as a motion mode: the following moves are written as dwells") +
                (word == addr::X && b.has(word) ? " and its X as a position" : "") +
                " (the corrected semantics writes a dwell of " + time + " for this block only)",
            "G4 writes a dwell of " + time +
                "; the motion mode and the position stay as they were");
    }
    if (!diagnostics_->corrected()) return;
    b.clear(word);
    b.setDouble(addr::P, seconds * 1000.0);
}

void BlockParser::parse(std::string_view line, std::size_t start, block& b) {
    const BlockRules& rules = reader_->dialect().block;
    reader_->startLine();
    const std::uint32_t lostBefore = reader_->lostNumbers();
    std::uint32_t words = 0;  // for the reports (checkLine)
    std::uint32_t gWords = 0;
    std::size_t cursor = start;
    std::int32_t previousM = -1;
    for (std::int32_t address = reader_->readAddress(line, cursor); address >= 0;
         address = reader_->readAddress(line, cursor)) {
        const double value = reader_->readNumber(line, cursor);
        const auto slot = static_cast<std::uint32_t>(address);
        ++words;
        switch (slot) {
            case addr::G:
                ++gWords;
                storeGCode(wordToInt32(value), b);
                break;
            case addr::M: {
                const std::int32_t m = wordToInt32(value);
                storeMWord(m, previousM, b);
                previousM = m;
                break;
            }
            case addr::T:
            case addr::TC:
                b.setInt(addr::T, wordToInt32(value));
                if (rules.toolWordChangesTool) b.setInt(addr::M, 6);
                break;
            case addr::U:
            case addr::V:
            case addr::W:
                storeIncrement(slot, value, b);
                break;
            case addr::X:
                b.setDouble(addr::X, rules.xIsDiameter ? value / 2.0 : value);
                break;
            case addr::S:
                b.setDouble(addr::S, value);
                if (rules.speedSetsSurfaceSpeed && !contains(b.gcodes, 92)) b.gcodes.push_back(96);
                break;
            case addr::LIMS:
                b.setDouble(addr::S, value);
                b.gcodes.push_back(92);
                break;
            case addr::CR:
                b.setDouble(addr::R, value);
                break;
            default:
                b.setDouble(slot, value);
                break;
        }
    }
    if (diagnostics_->wanted()) checkLine(line, start, b, words, gWords, lostBefore);
    if (contains(b.gcodes, 4)) readDwell(b);
    if (rules.exchangesYZ) exchangeYZ(b);
}

}  // namespace morvane::iso

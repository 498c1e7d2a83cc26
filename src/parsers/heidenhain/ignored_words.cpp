// The reports of what a Heidenhain line loses: the word a line ends at and the text behind it,
// the words read but not converted (M128, rotary axes, a tool called by name), and in the exact
// semantics the corrections that would have read on (docs/diagnostics.md). Called only when
// diagnostics are wanted.
#include <cmath>
#include <string>

#include "nci/int_conversion.h"
#include "nci/nci_stream.h"
#include "parsers/heidenhain/block_parser.h"
#include "parsers/heidenhain/keyword_table.h"

namespace morvane::HHParser {

namespace {

constexpr std::size_t kMaxQuote = 60;

bool startsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (nctext::toUpper(text[i]) != word[i]) return false;
    return true;
}

}  // namespace

std::string BlockParser::quoteFrom(std::uint32_t from) const {
    const std::string_view rest = line_.substr(std::min<std::size_t>(from, line_.size()));
    std::string_view text = rest.substr(0, rest.find(';'));
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    if (text.size() <= kMaxQuote) return std::string(text);
    return std::string(text.substr(0, kMaxQuote)) + "...";
}

void BlockParser::reportLineEnd(std::int32_t keyword) {
    const std::uint32_t afterWord = cursor_;
    const std::string rest = quoteFrom(afterWord);
    const std::string lost = rest.empty() ? "" : " and \"" + rest + "\" after it is not read";
    switch (keyword) {
        case kw::RL:
        case kw::RR:
            diagnostics_->correction(
                diagnostic::kRadiusCompensation,
                std::string(keyword == kw::RL ? "RL" : "RR") +
                    " ends the line: no radius compensation is written" + lost +
                    "; the corrected semantics writes " + (keyword == kw::RL ? "41" : "42") +
                    " and reads on",
                {});
            return;
        case kw::FAUTO:
            diagnostics_->correction(diagnostic::kFautoFeed,
                                     "FAUTO ends the line" + lost +
                                         "; the corrected semantics keeps the feed and reads on",
                                     {});
            return;
        case kw::LP:
            diagnostics_->correction(diagnostic::kPolarLine,
                                     "LP ends the line: the polar move is not written; the "
                                     "corrected semantics moves straight to the polar point "
                                     "about the circle centre",
                                     {});
            return;
        case kw::CT:
            diagnostics_->correction(diagnostic::kTangentArc,
                                     "CT ends the line: the arc is not written; the corrected "
                                     "semantics writes an arc tangent to the element before",
                                     {});
            return;
        case kw::LBL: {
            const double label = value();
            if (!std::isnan(label) && std::fabs(label) < 1e-8) flags.labelEnd = true;
            return;
        }
        case kw::FN:
            reportFnLineEnd();
            return;
        default:
            break;
    }
    const std::string text = quoteFrom(wordStart_);
    if (text.empty() || text.front() == '*' || flags.cycleDefinition) return;
    if (startsWithWord(text, "END PGM")) return;
    const bool wholeLine = wordStart_ == lineStart_;
    diagnostics_->report(diagnostic::kWordIgnored,
                         "\"" + text + "\" is not converted" +
                             (wholeLine ? "; the line is passed over"
                                        : ": the rest of the line is passed over"));
}

// FN ends the line: why its Q parameter is not set.
void BlockParser::reportFnLineEnd() {
    cursor_ = wordStart_ + 2;
    const FnResult r = readFn();
    const std::string fn = "FN " + std::to_string(r.function);
    if (r.function < 0 || r.function > 4) {
        diagnostics_->report(diagnostic::kWordIgnored,
                             "\"" + quoteFrom(wordStart_) +
                                 "\" is not converted: only FN 0 to FN 4 are; the line "
                                 "is passed over");
    } else if (!r.computed) {
        diagnostics_->report(diagnostic::kWordIgnored,
                             "\"" + quoteFrom(wordStart_) +
                                 "\" cannot be computed (an operand that is no number, "
                                 "or a division by 0); the Q parameter keeps its value");
    } else if (!diagnostics_->corrected()) {
        diagnostics_->correction(diagnostic::kFnAssign,
                                 fn + " ends the line: Q" + std::to_string(r.q) +
                                     " is not set and keeps its value; the corrected "
                                     "semantics " +
                                     (r.function == 0 ? "assigns it" : "computes it"),
                                 {});
    }
}

void BlockParser::reportLostWords() {
    if (blk.has(addr::M) && blk.getMCode() == 128)
        diagnostics_->report(diagnostic::kWordIgnored,
                             "M128 (the tool tip follows the rotary axes) is not converted: "
                             "the moves are written as programmed");
    if (flags.datum || flags.cycleDefinition) return;
    std::string words;
    for (const std::uint32_t k : {addr::A, addr::B, addr::C}) {
        if (!blk.has(k)) continue;
        if (!words.empty()) words += ' ';
        words += static_cast<char>('A' + (k - addr::A));
        words += preciseRealToString(blk.getDouble(k));
    }
    if (!words.empty())
        diagnostics_->report(diagnostic::kWordIgnored,
                             "the rotary axis move " + words +
                                 " is not converted: the NCI moves hold X, Y and Z only");
}

// TOOL CALL "name": a name reads as the sum of its character codes.
void BlockParser::reportToolName() {
    std::uint32_t at = cursor_;
    Lexer::skipSpaces(line_, at);
    if (at >= line_.size() || line_[at] != '"') return;
    const double number = lexer.readValue(line_, at);
    diagnostics_->report(diagnostic::kWordIgnored,
                         "the tool is called by its name: the NCI takes tool " +
                             std::to_string(wordToInt32(number)) +
                             ", the sum of the name's character codes");
}

}  // namespace morvane::HHParser

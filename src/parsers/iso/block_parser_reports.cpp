// What the ISO block parser tells the user about a line: the words it reads past without
// converting them (word-ignored) and the whole-number words it cannot hold (number-out-of-range).
// Called only when diagnostics are wanted; nothing here runs for a conversion without them.
#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "nci/int_conversion.h"
#include "parsers/iso/block_parser.h"

namespace morvane::iso {

namespace {

using namespace nctext;

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// Program text in a message is cut to this many bytes.
constexpr std::size_t kShownLength = 60;

// The address as the program writes it: "X", "LIMS".
std::string_view addressName(const Dialect& dialect, std::uint32_t slot) {
    if (slot < kLetters.size()) return kLetters.substr(slot, 1);
    for (const Keyword& keyword : dialect.keywords)
        if (keyword.index == static_cast<std::int32_t>(slot)) return keyword.text;
    return "?";
}

// `text` without trailing blanks, cut (at a character boundary) when long.
std::string shown(std::string_view text) {
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    if (text.size() <= kShownLength) return std::string(text);
    std::size_t cut = kShownLength - 3;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;  // not inside a UTF-8 sequence
    return std::string(text.substr(0, cut)) + "...";
}

std::string quoted(std::string_view text) {
    std::string result = "\"";
    return result.append(shown(text)).append("\"");
}

// The character at `at` as a message shows it: quoted, a UTF-8 sequence whole, a control
// character by its code.
std::string characterAt(std::string_view line, std::size_t at) {
    const auto byte = static_cast<unsigned char>(line[at]);
    if (byte < 0x20 || byte == 0x7F) {
        constexpr std::string_view kHex = "0123456789ABCDEF";
        return std::string("the character 0x") + kHex[byte >> 4] + kHex[byte & 0xF];
    }
    std::size_t end = at + 1;
    while (end < line.size() && end < at + 4 &&
           (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
        ++end;
    std::string character = "\"";
    return character.append(line.substr(at, end - at)).append("\"");
}

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isSpace);
}

std::string numberText(double v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// The length of the valid decimal prefix of `text`, 0 when it holds no digit ("--5", "-").
std::size_t validLength(std::string_view text) {
    const DecimalPrefix prefix = readDecimalPrefix(text.data(), text.data() + text.size());
    const auto length = static_cast<std::size_t>(prefix.end - text.data());
    return std::any_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), isDigit)
               ? length
               : 0;
}

// What the reports need to know of an address, in one byte: the slot its word is stored in (the
// low six bits), and kWholeNumber when its value is read as a whole number. Addresses are the
// letters and the dialect keywords; index 26 is never assigned, so a word "stored" there is
// never found twice: G, which may stand more than once, and M, whose handling reports on its
// own.
constexpr std::uint8_t kWholeNumber = 0x80;
constexpr std::uint8_t kNoSlot = 26;
constexpr std::array<std::uint8_t, 64> makeWordTraits() {
    std::array<std::uint8_t, 64> traits{};
    for (std::uint32_t slot = 0; slot < traits.size(); ++slot)
        traits[slot] = static_cast<std::uint8_t>(slot);
    traits[addr::G] = traits[addr::M] = kNoSlot | kWholeNumber;
    traits[addr::T] = traits[addr::TC] = addr::T | kWholeNumber;
    for (const std::uint32_t slot : {addr::U, addr::V, addr::W})
        traits[slot] = static_cast<std::uint8_t>(addr::X + (slot - addr::U));
    traits[addr::LIMS] = addr::S;
    traits[addr::CR] = addr::R;
    return traits;
}
constexpr std::array<std::uint8_t, 64> kWordTraits = makeWordTraits();
static_assert(addr::CR < kWordTraits.size());

// A number read not in full: `text` as the reader collected it, empty when there was none.
void reportNumber(Diagnostics& diagnostics, std::string_view name, std::string_view text) {
    const std::size_t used = validLength(text);
    const std::string word(name);
    if (text.empty()) {
        diagnostics.report(diagnostic::kWordIgnored,
                           word + " has no number and is read as " + word + "0");
    } else if (used == 0) {
        diagnostics.report(diagnostic::kWordIgnored, word + shown(text) + " is read as " + word +
                                                         "0: " + quoted(text) + " is not a number");
    } else {
        diagnostics.report(diagnostic::kWordIgnored, word + shown(text) + " is read as " + word +
                                                         shown(text.substr(0, used)) + ": the " +
                                                         quoted(text.substr(used)) +
                                                         " after the number is ignored");
    }
}

// The text the line leaves unread after its last word, and a macro call.
void reportLineEnd(Diagnostics& diagnostics, const GCodeReader& reader, std::string_view line,
                   std::size_t start, const block& b) {
    const std::size_t unread = reader.unreadFrom();
    const std::size_t dropped = reader.droppedFrom();
    std::string where;  // where the block ends, when it loses text
    std::size_t lost = line.size();
    if (unread < line.size()) {
        lost = unread;
        const char c = line[unread];
        if (isLetter(c)) {
            where = std::string(reader.unknownWord()) + ", which is not an address of " +
                    std::string(reader.dialect().name) + " programs";
        } else if (c == '#') {
            where = "a macro variable, which is not read";
        } else if (c == '[') {
            where = "an expression in brackets, which is not computed";
        } else if ((c == '%' && blank(line.substr(start, unread - start))) ||
                   (c == ')' && blank(line.substr(unread + 1)))) {
            // A line that begins with "%" is a tape mark or a program header; a parenthesis
            // with nothing after it closes Sinumerik's TC(n), or is a stray one.
        } else {
            where = characterAt(line, unread);
        }
    } else if (dropped != std::string_view::npos && !blank(line.substr(dropped + 1))) {
        lost = dropped;
        where = line[dropped] == '/' ? "the block skip \"/\"" : characterAt(line, dropped);
    }
    if (!where.empty())
        diagnostics.report(diagnostic::kWordIgnored,
                           std::string("the block ends at ") + where + ": the rest of the line, " +
                               quoted(line.substr(lost)) + ", is not converted");
    for (const std::int32_t g : b.gcodes) {
        if (g != 65 && g != 66) continue;
        std::string call = "G";
        call += std::to_string(g);
        if (b.has(addr::P)) call.append(" P").append(numberText(b.getDouble(addr::P)));
        diagnostics.report(diagnostic::kWordIgnored,
                           call +
                               " calls a macro, which is not run: the other words of the "
                               "block are converted as they stand");
    }
}

}  // namespace

std::string wholeNumberBeyondRange(std::string_view word, double value) {
    const std::string name(word);
    return name + numberText(value) + " is beyond the range of whole-number words and is read as " +
           name + std::to_string(wordToInt32(value));
}

void BlockParser::reportLine(std::string_view line, std::size_t start, const block& b) {
    GCodeReader& reader = reportReader_;
    const Dialect& dialect = reader.dialect();
    reader.clearComment();
    reader.startLine();
    std::uint64_t stored = 0;  // the slots the words read so far are stored in
    std::size_t cursor = start;
    for (std::int32_t address = reader.readAddress(line, cursor); address >= 0;
         address = reader.readAddress(line, cursor)) {
        const std::uint32_t lostBefore = reader.lostNumbers();
        const double value = reader.readNumber(line, cursor);
        const auto slot = static_cast<std::uint32_t>(address);
        const std::string_view name = addressName(dialect, slot);
        if (reader.lostNumbers() != lostBefore)
            reportNumber(*diagnostics_, name, reader.lastLostNumber());
        const std::uint8_t traits = kWordTraits[slot % kWordTraits.size()];
        if ((traits & kWholeNumber) != 0 && wordBeyondInt32(value))
            diagnostics_->report(diagnostic::kNumberOutOfRange,
                                 wholeNumberBeyondRange(name, value));
        const std::uint32_t into = traits % 64;
        if (into == kNoSlot) continue;
        if ((stored >> into & 1) != 0) {
            const std::string storedName(addressName(dialect, into));
            diagnostics_->report(diagnostic::kWordIgnored,
                                 into == slot
                                     ? storedName + " stands twice in the block: the first " +
                                           storedName + " is dropped, the last one counts"
                                     : std::string(name) + " sets " + storedName +
                                           " again in the block: the " + storedName +
                                           " before it is dropped");
        }
        stored |= std::uint64_t{1} << into;
    }
    reportLineEnd(*diagnostics_, reader, line, start, b);
}

}  // namespace morvane::iso

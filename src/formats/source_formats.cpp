#include "formats/source_formats.h"

#include <algorithm>
#include <cctype>
#include <span>

namespace morvane {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (equalsIgnoringCase(text.substr(i, word.size()), word)) return true;
    return false;
}

// Extensions that settle the format whatever the content (compared without case, except .H:
// Heidenhain conversational programs are .H, while .h is as often a C header).
struct ExtensionRule {
    std::string_view extension;
    bool exactCase;
    SourceFormat format;
};
constexpr ExtensionRule kExtensions[] = {
    {".H", true, SourceFormat::Heidenhain},
    {".nci", false, SourceFormat::Nci},
    {".mpf", false, SourceFormat::Sinumerik},
    {".spf", false, SourceFormat::Sinumerik},
};

// Words that only a Sinumerik program contains: its rest-of-line comments, messages, named
// cycles, definitions, tool calls and keywords.
constexpr std::string_view kSinumerikMarks[] = {
    "MSG(", "CYCLE", "DEF ", "TC(", "LIMS=", "CR=", "G642", "T=\"", "%_N_"};

// `word` (any case) in the code of `line`: not in comments in parentheses, where a Fanuc program
// says things like "(T1 D=0.25 CR=0)", nor after a ';', which ends the code in both dialects.
bool containsOutsideComments(std::string_view line, std::string_view word) {
    int depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (depth == 0 && line[i] == ';') return false;
        // A word starts here: "_encoder_cycles" holds no CYCLE.
        const bool starts = i == 0 || !(std::isalnum(static_cast<unsigned char>(line[i - 1])) ||
                                        line[i - 1] == '_' || line[i - 1] == '<');
        if (depth == 0 && starts && equalsIgnoringCase(line.substr(i, word.size()), word))
            return true;
        if (line[i] == '(') ++depth;
        if (line[i] == ')' && depth > 0) --depth;
    }
    return false;
}

bool isNumberToken(std::string_view token) {
    if (token.empty()) return false;
    bool digit = false;
    for (char c : token) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else if (c != '-' && c != '+' && c != '.' && c != 'e' && c != 'E') {
            return false;
        }
    }
    return digit;
}

// Blank-separated numbers only, at least one.
bool isNumberLine(std::string_view line) {
    bool any = false;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r')
            ++end;
        if (end > i) {
            if (!isNumberToken(line.substr(i, end - i))) return false;
            any = true;
        }
        i = end;
    }
    return any;
}

// NCI text is pairs of lines: a record code, then its parameters (numbers, or the text of a
// comment record 1005).
bool looksLikeNci(const std::vector<std::string_view>& head) {
    if (head.size() < 2) return false;
    for (std::size_t i = 0; i + 1 < head.size() && i < 20; i += 2) {
        const std::string_view code = head[i];
        if (!isNumberLine(code) || code.find(' ') != std::string_view::npos) return false;
        if (code != "1005" && !isNumberLine(head[i + 1])) return false;
    }
    return true;
}

bool hasBangComment(std::string_view line) {
    int depth = 0;
    for (char c : line) {
        if (c == '(') ++depth;
        if (c == ')' && depth > 0) --depth;
        if (c == '!' && depth == 0) return true;
    }
    return false;
}

// An ISO block: comments in parentheses and an optional block number, then an address letter
// with a number, or a program start ("%", "O1000").
bool looksLikeIsoBlock(std::string_view line) {
    std::size_t i = 0;
    const auto skipBlanksAndComments = [&] {
        while (i < line.size()) {
            if (line[i] == ' ' || line[i] == '\t') {
                ++i;
            } else if (line[i] == '(') {
                const std::size_t close = line.find(')', i);
                i = close == std::string_view::npos ? line.size() : close + 1;
            } else {
                break;
            }
        }
    };
    const auto upper = [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    skipBlanksAndComments();
    if (i < line.size() && line[i] == '%') return true;
    if (i < line.size() && upper(line[i]) == 'N') {
        ++i;
        while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])))
            ++i;
        skipBlanksAndComments();
    }
    if (i + 1 >= line.size()) return false;
    const char address = upper(line[i]);
    const char next = line[i + 1];
    const bool numberFollows =
        std::isdigit(static_cast<unsigned char>(next)) || next == '-' || next == '.' || next == '+';
    return std::string_view("GMTXYZOSF").find(address) != std::string_view::npos && numberFollows;
}

std::string lineReason(std::size_t index, std::string_view what) {
    return "line " + std::to_string(index + 1) + " " + std::string(what);
}

// What the words of a program say about its machine: a mill (the XY plane, Y words, milling
// cycles) or a lathe (the ZX plane with X and Z alone, diameter programming, turning cycles).
struct MachineEvidence {
    enum class Kind { None, Milling, Lathe };
    Kind kind = Kind::None;
    std::string reason;
};

constexpr std::string_view kMillingCycles[] = {"61",  "71",  "72",  "76",  "77",
                                               "79",  "800", "801", "802", "832"};
constexpr std::string_view kTurningCycles[] = {"93",  "94",  "95",  "96",  "97",  "98",
                                               "99",  "930", "940", "950", "951", "952"};

bool isOneOf(std::string_view number, std::span<const std::string_view> list) {
    return std::find(list.begin(), list.end(), number) != list.end();
}

// The evidence of one word: its letters in upper case and the digits that follow them.
const char* evidenceOfWord(std::string_view letters, std::string_view digits, bool valueFollows,
                           MachineEvidence::Kind& kind) {
    using Kind = MachineEvidence::Kind;
    kind = Kind::Milling;
    if (letters == "Y" && valueFollows) return "a Y word";
    if (letters == "G" && (digits == "17" || digits == "19"))
        return digits == "17" ? "G17" : "G19";
    if (letters == "CYCLE" && isOneOf(digits, kMillingCycles)) return "a milling cycle";
    if (letters == "POCKET" || letters == "SLOT" || letters == "LONGHOLE")
        return "a milling cycle";
    kind = Kind::Lathe;
    if (letters == "G" && digits == "18") return "G18";
    if (letters == "G" && digits == "96") return "G96 (constant surface speed)";
    if (letters == "DIAMON" || (letters == "DIAM" && digits == "90")) return "diameter programming";
    if (letters == "LIMS") return "LIMS";
    if (letters == "CYCLE" && isOneOf(digits, kTurningCycles)) return "a turning cycle";
    kind = Kind::None;
    return nullptr;
}

MachineEvidence machineOf(const std::vector<std::string_view>& head) {
    using Kind = MachineEvidence::Kind;
    // The first evidence decides: a lathe program that selects G17 for a moment stays one.
    MachineEvidence first;
    std::optional<std::size_t> xLine, zLine;
    for (std::size_t n = 0; n < head.size() && first.kind == Kind::None; ++n) {
        const std::string_view line = head[n];
        std::size_t i = 0;
        while (i < line.size()) {
            const char c = line[i];
            // Comments, arguments and texts say nothing about the machine.
            if (c == ';') break;
            if (c == '(' || c == '"') {
                const std::size_t close = line.find(c == '(' ? ')' : '"', i + 1);
                i = close == std::string_view::npos ? line.size() : close + 1;
                continue;
            }
            const bool starts = std::isalpha(static_cast<unsigned char>(c)) &&
                                (i == 0 || !(std::isalnum(static_cast<unsigned char>(line[i - 1])) ||
                                             line[i - 1] == '_' || line[i - 1] == '$'));
            if (!starts) {
                ++i;
                continue;
            }
            std::string letters;
            while (i < line.size() && std::isalpha(static_cast<unsigned char>(line[i])) &&
                   letters.size() < 8)
                letters += static_cast<char>(std::toupper(static_cast<unsigned char>(line[i++])));
            const std::size_t digitsStart = i;
            while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])))
                ++i;
            const std::string_view digits = line.substr(digitsStart, i - digitsStart);
            const bool valueFollows =
                !digits.empty() ||
                (i < line.size() && std::string_view("=-+.").find(line[i]) != std::string_view::npos);
            if (letters == "X" && valueFollows && !xLine) xLine = n;
            if (letters == "Z" && valueFollows && !zLine) zLine = n;
            Kind kind = Kind::None;
            const char* what = evidenceOfWord(letters, digits, valueFollows, kind);
            if (what != nullptr) {
                first = {kind, lineReason(n, std::string("has ") + what)};
                break;
            }
        }
    }
    if (first.kind != Kind::None) return first;
    if (xLine && zLine)
        return {Kind::Lathe, "it moves in X and Z and never in Y"};
    return {};
}

// A program in the words of a lathe dialect, Sinumerik or G&L Numeripath, which read it as a
// lathe's: read as a milling program, in `milling`, when its words are a mill's.
Detection latheOrMilling(SourceFormat lathe, SourceFormat milling, const std::string& reason,
                         const std::vector<std::string_view>& head) {
    const std::string latheName(formatInfo(lathe).dialogEntry);
    const MachineEvidence machine = machineOf(head);
    switch (machine.kind) {
        case MachineEvidence::Kind::Milling:
            return {milling, reason + "; a milling program (" + machine.reason + "), so " +
                                 std::string(formatInfo(milling).dialogEntry) + ": " + latheName +
                                 " would read it as a lathe program"};
        case MachineEvidence::Kind::Lathe:
            return {lathe, reason + "; a lathe program (" + machine.reason + ")"};
        case MachineEvidence::Kind::None:
            break;
    }
    return {lathe, reason + "; nothing tells a mill from a lathe, read as a lathe program: give "
                            "--from " +
                       std::string(formatInfo(milling).option) + " for a milling program"};
}

}  // namespace

const FormatInfo& formatInfo(SourceFormat format) {
    for (const FormatInfo& info : kFormats)
        if (info.format == format) return info;
    return kFormats.front();
}

std::optional<SourceFormat> formatByOption(std::string_view name) {
    for (const FormatInfo& info : kFormats)
        if (equalsIgnoringCase(info.option, name) || equalsIgnoringCase(info.dialogEntry, name))
            return info.format;
    return std::nullopt;
}

Detection detectFormat(std::string_view path, const std::vector<std::string_view>& head) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) {
        const std::string_view extension = name.substr(dot);
        for (const ExtensionRule& rule : kExtensions) {
            const bool same = rule.exactCase ? extension == rule.extension
                                             : equalsIgnoringCase(extension, rule.extension);
            if (!same) continue;
            std::string reason = "from the file name's extension " + std::string(extension);
            if (rule.format == SourceFormat::Sinumerik)
                return latheOrMilling(rule.format, SourceFormat::Siemens, reason, head);
            return {rule.format, reason};
        }
    }
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (containsIgnoringCase(head[i], "BEGIN PGM"))
            return {SourceFormat::Heidenhain, lineReason(i, "has BEGIN PGM")};
    }
    if (looksLikeNci(head)) return {SourceFormat::Nci, "the first lines are NCI records"};
    for (std::size_t i = 0; i < head.size(); ++i) {
        for (std::string_view mark : kSinumerikMarks)
            if (containsOutsideComments(head[i], mark))
                return latheOrMilling(SourceFormat::Sinumerik, SourceFormat::Siemens,
                                      lineReason(i, "has " + std::string(mark)), head);
    }
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (hasBangComment(head[i]))
            return latheOrMilling(SourceFormat::Numeripath, SourceFormat::Fanuc,
                                  lineReason(i, "has a ! comment"), head);
    }
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (looksLikeIsoBlock(head[i]))
            return {SourceFormat::Fanuc, lineReason(i, "is an ISO block (Siemens reads the same)")};
    }
    return {std::nullopt, "neither its extension nor its first lines tell the format"};
}

}  // namespace morvane

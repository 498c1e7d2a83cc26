#include "support/nci_check.h"

#include <cstdint>

namespace morvane::test {

namespace {

constexpr std::string_view kIsoHeader = "1050\n0 0 0 0 0 0 0 0 1\n";
constexpr std::string_view kIsoTrailer = "1003\n0 0 0\n";
constexpr std::string_view kMessagePrefix = "0 0 0 0 0 0 0 0 ";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Consumes one or more digits at `i`.
bool digits(std::string_view t, std::size_t& i) {
    const std::size_t start = i;
    while (i < t.size() && isDigit(t[i]))
        ++i;
    return i > start;
}

// An integer or a real as the writer writes it: -12, 0.5, -0, 1.23457e+06, 1e-05.
bool isNumber(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-') ++i;
    if (!digits(t, i)) return false;
    if (i < t.size() && t[i] == '.') {
        ++i;
        if (!digits(t, i)) return false;
    }
    if (i < t.size() && t[i] == 'e') {
        ++i;
        if (i >= t.size() || (t[i] != '+' && t[i] != '-')) return false;
        ++i;
        if (!digits(t, i)) return false;
    }
    return i == t.size();
}

bool isInteger(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-') ++i;
    return digits(t, i) && i == t.size();
}

// Numbers separated by single blanks; one trailing blank is part of some records.
bool isNumberList(std::string_view line) {
    if (line.empty()) return false;
    if (line.back() == ' ') line.remove_suffix(1);
    while (true) {
        const std::size_t blank = line.find(' ');
        if (!isNumber(line.substr(0, blank))) return false;
        if (blank == std::string_view::npos) return true;
        line.remove_prefix(blank + 1);
    }
}

bool parameterLineFits(std::string_view code, std::string_view line) {
    if (code == "1005") return true;  // comment: free text
    if (code == "1050")               // message: the program name after eight zeros
        return line.substr(0, kMessagePrefix.size()) == kMessagePrefix;
    if (code == "4" && line.empty()) return true;  // a dwell block
    return isNumberList(line);
}

}  // namespace

std::string checkNciRecords(std::string_view nci) {
    if (!nci.empty() && nci.back() != '\n') return "the text does not end with a line feed";
    std::size_t lineNumber = 0;
    while (!nci.empty()) {
        const std::size_t codeEnd = nci.find('\n');
        const std::string_view code = nci.substr(0, codeEnd);
        nci.remove_prefix(codeEnd + 1);
        lineNumber += 2;
        if (!isInteger(code))
            return "line " + std::to_string(lineNumber - 1) + " is not a record code: [" +
                   std::string(code.substr(0, 80)) + "]";
        if (nci.empty()) return "record " + std::string(code) + " has no parameter line";
        const std::size_t parametersEnd = nci.find('\n');
        const std::string_view parameters = nci.substr(0, parametersEnd);
        nci.remove_prefix(parametersEnd + 1);
        if (!parameterLineFits(code, parameters))
            return "line " + std::to_string(lineNumber) + " does not fit record " +
                   std::string(code) + ": [" + std::string(parameters.substr(0, 120)) + "]";
    }
    return {};
}

std::string checkIsoProgram(std::string_view nci, bool ended) {
    if (nci.substr(0, kIsoHeader.size()) != kIsoHeader) return "no header record";
    if (ended && (nci.size() < kIsoHeader.size() + kIsoTrailer.size() ||
                  nci.substr(nci.size() - kIsoTrailer.size()) != kIsoTrailer))
        return "no trailer record";
    return checkNciRecords(nci);
}

}  // namespace morvane::test

#include "support/tool_path_check.h"

#include <charconv>
#include <cmath>

#include "support/memory_program.h"

namespace morvane::test {

namespace {

// The fields of a parameter line; false when one of them is not a finite number.
bool readFields(std::string_view line, std::vector<double>& fields) {
    fields.clear();
    std::size_t start = 0;
    while (start < line.size()) {
        while (start < line.size() && line[start] == ' ')
            ++start;
        if (start >= line.size()) break;
        std::size_t end = line.find(' ', start);
        if (end == std::string_view::npos) end = line.size();
        double value = 0.0;
        const auto result = std::from_chars(line.data() + start, line.data() + end, value);
        if (result.ec != std::errc{} || result.ptr != line.data() + end || !std::isfinite(value))
            return false;
        fields.push_back(value);
        start = end;
    }
    return true;
}

bool isArc(const std::string& code) {
    return code == "2" || code == "3";
}
bool isMove(const std::string& code) {
    return code == "0" || code == "1" || isArc(code);
}

}  // namespace

std::vector<std::string> checkToolPath(std::string_view nci, double tolerance) {
    std::vector<std::string> problems;
    const std::vector<std::string> lines = splitLines(nci);
    double x = 0.0, y = 0.0;
    bool known = false;  // no move seen yet: the first arc has no start point to check against
    std::vector<double> f;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& code = lines[i];
        if (!isMove(code)) continue;
        const std::string where = "line " + std::to_string(i + 2) + " [" + lines[i + 1] + "]";
        ++i;
        if (!readFields(lines[i], f)) {
            problems.push_back(where + ": not a finite number");
            continue;
        }
        if (!isArc(code)) {
            if (f.size() < 4) {
                problems.push_back(where + ": too few fields for a move");
                continue;
            }
            x = f[1], y = f[2], known = true;
            continue;
        }
        if (f.size() < 7) {
            problems.push_back(where + ": too few fields for an arc");
            continue;
        }
        if (f[0] != 0.0) continue;  // another plane
        const double ex = f[2], ey = f[3], cx = f[4], cy = f[5];
        if (known) {
            const double fromStart = std::hypot(x - cx, y - cy);
            const double fromEnd = std::hypot(ex - cx, ey - cy);
            if (std::fabs(fromStart - fromEnd) > tolerance)
                problems.push_back(where + ": centre " + std::to_string(fromStart) +
                                   " from the start and " + std::to_string(fromEnd) +
                                   " from the end");
        }
        x = ex, y = ey, known = true;
    }
    return problems;
}

int countArcs(std::string_view nci) {
    const std::vector<MoveRecord> moves = readMoves(nci);
    return countCode(moves, 2) + countCode(moves, 3);
}

}  // namespace morvane::test

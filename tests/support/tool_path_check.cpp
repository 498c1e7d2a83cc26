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
    // Per plane code (0 XY, 1 YZ, 2 XZ): the coordinates an arc writes, its depth and its sign.
    static constexpr struct {
        int h, v, depth;
        double sign;
    } kPlanes[] = {{0, 1, 2, 1.0}, {1, 2, 0, 1.0}, {0, 2, 1, -1.0}};
    std::vector<std::string> problems;
    const std::vector<std::string> lines = splitLines(nci);
    double p[3] = {0.0, 0.0, 0.0};
    bool known = false;  // no move seen yet: the first arc has no start point to check against
    std::vector<double> f;
    // Record by record: a code line, then its parameter line.
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string& code = lines[i];
        if (!isMove(code)) continue;
        const std::string where = "line " + std::to_string(i + 2) + " [" + lines[i + 1] + "]";
        if (!readFields(lines[i + 1], f)) {
            problems.push_back(where + ": not a finite number");
            continue;
        }
        if (!isArc(code)) {
            if (f.size() < 4) {
                problems.push_back(where + ": too few fields for a move");
                continue;
            }
            p[0] = f[1], p[1] = f[2], p[2] = f[3], known = true;
            continue;
        }
        if (f.size() < 7) {
            problems.push_back(where + ": too few fields for an arc");
            continue;
        }
        const auto& plane = kPlanes[f[0] == 1.0 ? 1 : f[0] == 2.0 ? 2 : 0];
        const double eh = f[2], ev = f[3], ch = f[4], cv = f[5];
        if (known) {
            const double fromStart = std::hypot(p[plane.h] - ch, p[plane.v] - cv);
            const double fromEnd = std::hypot(eh - ch, ev - cv);
            if (std::fabs(fromStart - fromEnd) > tolerance)
                problems.push_back(where + ": centre " + std::to_string(fromStart) +
                                   " from the start and " + std::to_string(fromEnd) +
                                   " from the end");
        }
        p[plane.h] = eh, p[plane.v] = ev, p[plane.depth] = plane.sign * f[6], known = true;
    }
    return problems;
}

int countArcs(std::string_view nci) {
    const std::vector<MoveRecord> moves = readMoves(nci);
    return countCode(moves, 2) + countCode(moves, 3);
}

}  // namespace morvane::test

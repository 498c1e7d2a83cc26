// The corrected cycles against their drawing: every point a cycle cuts below the surface (move
// ends and points along each arc) lies inside the pocket or slot outline, which already holds the
// tool radius the tool centre keeps from the wall; no move goes below the programmed depth; no
// rapid below the set-up clearance over the part. Each row is one cycle call with its outline.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "nci/diagnostics.h"
#include "support/memory_program.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTolerance = 1e-3;

// A rectangle turned by `angle` degrees, or (halfWidth > 0) an arc-shaped slot of pitch radius
// `halfX` from `angle` over `sweep` degrees with round ends, both about (cx, cy).
struct Outline {
    double cx, cy, halfX, halfY, angle;
    double halfWidth = 0.0, sweep = 0.0;

    bool holds(double x, double y) const {
        const double dx = x - cx, dy = y - cy;
        if (halfWidth == 0.0) {
            const double a = -angle * kPi / 180.0;
            const double u = dx * std::cos(a) - dy * std::sin(a);
            const double v = dx * std::sin(a) + dy * std::cos(a);
            return std::fabs(u) <= halfX + kTolerance && std::fabs(v) <= halfY + kTolerance;
        }
        // Within the ring and the sweep, or within a round end.
        const double from = angle * kPi / 180.0, to = (angle + sweep) * kPi / 180.0;
        const auto nearEnd = [&](double t) {
            return std::hypot(x - cx - halfX * std::cos(t), y - cy - halfX * std::sin(t)) <=
                   halfWidth + kTolerance;
        };
        if (nearEnd(from) || nearEnd(to)) return true;
        if (std::fabs(std::hypot(dx, dy) - halfX) > halfWidth + kTolerance) return false;
        double t = (std::atan2(dy, dx) - std::min(from, to)) / (2.0 * kPi);
        t -= std::floor(t);
        return t * 360.0 <= std::fabs(sweep) + kTolerance;
    }
};

struct Case {
    const char* name;
    const char* definition;  // CYCL DEF and Q lines, Z of the surface 0
    const char* call;        // the calling block
    double bottom, clearance;
    Outline outline;
};

const Case kCases[] = {
    {"pocket 251 turned",
     "CYCL DEF 251\nQ201=-9\nQ202=4\nQ218=60\nQ219=40\nQ220=6\nQ224=30",
     "L X+50 Y+50 FMAX M99",
     -9,
     2,
     {50, 50, 30 - 5, 20 - 5, 30}},
    {"pocket 251 with allowances, conventional, reciprocating plunge",
     "CYCL DEF 251\nQ201=-9\nQ202=4\nQ218=60\nQ219=40\nQ220=6\nQ224=30\nQ368=0.5\nQ369=0.3\n"
     "Q351=-1\nQ366=2",
     "L X+50 Y+50 FMAX M99",
     -9,
     2,
     {50, 50, 30 - 5, 20 - 5, 30}},
    {"pocket 252 with allowances, conventional, helical plunge",
     "CYCL DEF 252\nQ201=-7\nQ202=3\nQ223=50\nQ368=0.4\nQ369=0.2\nQ370=1\nQ351=-1\nQ366=1",
     "L X+50 Y+50 FMAX M99",
     -7,
     2,
     {50, 50, 0, 0, 0, 25 - 5, 360}},
    {"old pocket 4",
     "CYCL DEF 4.0\nCYCL DEF 4.1 SET UP 2\nCYCL DEF 4.2 DEPTH -5\n"
     "CYCL DEF 4.3 PECKG -2\nCYCL DEF 4.4 X+40\nCYCL DEF 4.5 Y+20\nCYCL DEF 4.6 F100",
     "L X+50 Y+50 Z+2 FMAX M99",
     -5,
     2,
     {50, 50, 20 - 5, 10 - 5, 0}},
    {"slot 211 of 270 degrees",
     "CYCL DEF 211\nQ201=-6\nQ202=3\nQ216=+50\nQ217=+50\nQ244=60\n"
     "Q219=22\nQ245=+30\nQ248=270",
     "L X+0 Y+0 FMAX M99",
     -6,
     2,
     {50, 50, 30, 0, 30, 11 - 5, 270}},
    {"slot 254 clockwise",
     "CYCL DEF 254\nQ201=-4\nQ202=4\nQ219=16\nQ375=40\nQ367=0\nQ216=+0\n"
     "Q217=+0\nQ376=+90\nQ248=-200",
     "L X+80 Y+0 FMAX M99",
     -4,
     2,
     {0, 0, 20, 0, 90, 8 - 5, -200}},
    {"slot 254 with allowances, conventional, reciprocating plunge, finishing infeed",
     "CYCL DEF 254\nQ201=-5\nQ202=2\nQ219=16\nQ375=40\nQ367=0\nQ216=+0\nQ217=+0\n"
     "Q376=+90\nQ248=-200\nQ368=0.5\nQ369=0.3\nQ351=-1\nQ366=2\nQ338=2",
     "L X+80 Y+0 FMAX M99",
     -5,
     2,
     {0, 0, 20, 0, 90, 8 - 5, -200}},
    {"finishing 214 without Q202",
     "CYCL DEF 214\nQ201=-6\nQ202=0\nQ216=+50\nQ217=+50\nQ222=36\n"
     "Q223=40",
     "L X+10 Y+10 FMAX M99",
     -6,
     2,
     {50, 50, 0, 0, 0, 20 - 5, 360}},
};

// The points an arc from `from` passes through on its way to its end.
std::vector<test::MoveRecord> arcPoints(const test::MoveRecord& from, const test::MoveRecord& arc) {
    const double cx = arc.cx(), cy = arc.cy();
    const double r = std::hypot(from.x() - cx, from.y() - cy);
    const double a0 = std::atan2(from.y() - cy, from.x() - cx);
    double sweep = std::atan2(arc.y() - cy, arc.x() - cx) - a0;
    const bool ccw = arc.code == 3;
    if (ccw && sweep <= 0.0) sweep += 2.0 * kPi;
    if (!ccw && sweep >= 0.0) sweep -= 2.0 * kPi;
    std::vector<test::MoveRecord> points;
    for (int i = 1; i < 16; ++i) {
        const double a = a0 + sweep * i / 16.0;
        points.push_back({1, {0, cx + r * std::cos(a), cy + r * std::sin(a), arc.z()}});
    }
    return points;
}

TEST(CycleGeometry, CorrectedCyclesStayInTheirOutline) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string program =
            std::string("0 BEGIN PGM P MM\nL X+0 Y+0 Z+30 R0 FMAX\n") + c.definition +
            "\nQ200=2\nQ203=+0\nQ204=20\nQ206=100\nQ207=100\n" + c.call + "\nEND PGM P MM\n";
        Diagnostics corrected(false, Semantics::Corrected);
        const std::vector<test::MoveRecord> records =
            test::readMoves(test::convertToNci(1, program, {}, {}, &corrected));
        bool inCycle = false;
        int cuts = 0;
        test::MoveRecord last{0, {0, 0, 0, 30}};
        for (const test::MoveRecord& m : records) {
            inCycle = m.code == 1000 ? true : (m.code == 999 ? false : inCycle);
            if (!inCycle || m.code < 0 || m.code > 3) continue;
            std::vector<test::MoveRecord> points;
            if (m.code >= 2) points = arcPoints(last, m);
            points.push_back(m);
            for (const test::MoveRecord& p : points) {
                EXPECT_GE(p.z(), c.bottom - kTolerance);
                if (m.code == 0) {
                    EXPECT_GE(p.z(), c.clearance - kTolerance)
                        << "a rapid at " << p.x() << ' ' << p.y();
                }
                if (p.z() >= 0.0) continue;
                ++cuts;
                EXPECT_TRUE(c.outline.holds(p.x(), p.y())) << p.x() << ' ' << p.y() << ' ' << p.z();
            }
            last = m;
        }
        EXPECT_GT(cuts, 0);
    }
}

}  // namespace
}  // namespace morvane

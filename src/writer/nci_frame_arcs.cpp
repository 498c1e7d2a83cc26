// Arc centres: from the radius word, and from I J K in whichever of the three meanings the
// program uses (absolute, relative to the start point, relative to the end point). The exact
// semantics works on rounded values; the corrected one on the unrounded words, in the working
// plane (docs/corrections.md). Where the two differ, the arc's line is reported.
#include <cmath>
#include <string>
#include <utility>

#include "nci/arc_centre.h"
#include "writer/frame_rules.h"
#include "writer/nci_frame.h"
#include "nci/nci_stream.h"

namespace morvane {
namespace {

struct Vec3 {
    double x, y, z;
};
Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double length(Vec3 v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

Vec3 position(const MachineState& s) {
    return {s.x, s.y, s.z};
}

void storeCentre(varstorage* vars, Vec3 centre) {
    vars[addr::I].setDouble(centre.x);
    vars[addr::J].setDouble(centre.y);
    vars[addr::K].setDouble(centre.z);
}

constexpr CentreReading kNoReading = CentreReading::Unknown, kAbsolute = CentreReading::Absolute,
                        kFromStart = CentreReading::FromStart, kFromEnd = CentreReading::FromEnd;

// Centre words and the two ends may differ by this much and still be taken as one reading: in
// the exact semantics (3-D lengths of rounded values) and in the corrected one (in the plane,
// unrounded: the words of a program written to 3 decimals are up to 0.0005 off each).
constexpr double kCentreTolerance = 0.001;
constexpr double kPlaneCentreTolerance = 0.005;
// Centres of the two semantics further apart than this are reported.
constexpr double kReportedShift = 0.001;

// The first reading of centre words `c` that puts the centre as far from `p0` as from `p1`,
// within `tolerance`: from the start point, absolute, from the end point; kNoReading if none.
CentreReading fittingReading(Vec3 c, Vec3 p0, Vec3 p1, double tolerance) {
    if (std::fabs(length(c) - length(c + p0 - p1)) < tolerance) return kFromStart;
    if (std::fabs(length(c - p1) - length(c - p0)) < tolerance) return kAbsolute;
    if (std::fabs(length(c) - length(c + p1 - p0)) < tolerance) return kFromEnd;
    return kNoReading;
}

// A point of the working plane: horizontal and vertical coordinate.
struct PlanePoint {
    double h, v;
};

// The arc's centre (nci/arc_centre.h) in the plane's axes: `direction` is -1 for a clockwise,
// +1 for a counter-clockwise arc; a negative radius asks for the arc longer than a half circle.
// The exact semantics finds it from a quadratic in the first axis, the corrected one along the
// chord's normal.
PlanePoint quadraticCentre(PlanePoint p0, PlanePoint p1, double radiusWord, std::int32_t direction) {
    const Point2 c = arcCentre({p0.h, p0.v}, {p1.h, p1.v}, radiusWord, direction);
    return {c.x, c.y};
}

PlanePoint normalCentre(PlanePoint p0, PlanePoint p1, double radiusWord, std::int32_t direction) {
    const Point2 c = arcCentreOnNormal({p0.h, p0.v}, {p1.h, p1.v}, radiusWord, direction);
    return {c.x, c.y};
}

bool farApart(PlanePoint a, PlanePoint b) {
    return std::hypot(a.h - b.h, a.v - b.v) > kReportedShift;
}

std::string pointText(PlanePoint p) {
    return preciseRealToString(p.h) + ", " + preciseRealToString(p.v);
}

// How a reading takes I J K, for the messages.
const char* readingText(CentreReading reading) {
    return reading == kAbsolute    ? "as the centre's coordinates"
           : reading == kFromStart ? "from the start point"
                                   : "from the end point";
}

}  // namespace

double NCIFrame::UnroundedCoordinate(bool end, double MachineState::*field) const {
    const double rounded = (end ? current_ : previous_).*field;
    const double word = (end ? unroundedCurrent_ : unroundedPrevious_).*field;
    // A position the writer set itself (a drill cycle, the stock blank) has no unrounded word.
    return RoundAsWritten(word) == rounded ? word : rounded;
}

void NCIFrame::ArcCenterFromRadius(std::int32_t direction) {
    const PlaneAxes& axes = planeAxes(plane_);
    const bool corrected = diagnostics_->corrected();
    // The exact semantics' centre, from the values rounded to 3 decimals.
    const auto asExact = [&](bool end, double MachineState::*field) {
        return corrected ? RoundToThousandths(UnroundedCoordinate(end, field))
                         : (end ? current_ : previous_).*field;
    };
    const PlanePoint rounded = quadraticCentre(
        {asExact(false, axes.horizontal), asExact(false, axes.vertical)},
        {asExact(true, axes.horizontal), asExact(true, axes.vertical)},
        corrected ? RoundToThousandths(vars_[addr::R].numeric()) : GetDouble(addr::R), direction);
    PlanePoint centre = rounded;
    if (corrected || diagnostics_->wanted()) {
        const PlanePoint unrounded = normalCentre(
            {UnroundedCoordinate(false, axes.horizontal), UnroundedCoordinate(false, axes.vertical)},
            {UnroundedCoordinate(true, axes.horizontal), UnroundedCoordinate(true, axes.vertical)},
            vars_[addr::R].numeric(), direction);
        if (diagnostics_->wanted() && farApart(rounded, unrounded))
            diagnostics_->correction(
                diagnostic::kArcRadiusUnrounded,
                "the centre is computed from the end points and the radius rounded to 3 "
                "decimals: " + pointText(rounded) + "; from the numbers written it is " +
                    pointText(unrounded) + " (corrected semantics)",
                "the centre " + pointText(unrounded) + " is computed from the numbers written "
                    "(the exact semantics rounds them to 3 decimals first and finds " +
                    pointText(rounded) + ")");
        if (corrected) centre = unrounded;
    }
    vars_[axes.centreH].setDouble(centre.h);
    vars_[axes.centreV].setDouble(centre.v);
    vars_[axes.centreDepth].setDouble(previous_.*axes.depth);
}

void NCIFrame::DetectArcCenterMode() {
    const bool corrected = diagnostics_->corrected();
    // The exact reading: 3-D lengths of the values rounded to 3 decimals.
    const auto exactWord = [&](std::uint32_t word) {
        return corrected ? RoundToThousandths(vars_[word].numeric()) : GetDouble(word);
    };
    const auto exactPoint = [&](bool end) {
        if (!corrected) return position(end ? current_ : previous_);
        return Vec3{RoundToThousandths(UnroundedCoordinate(end, &MachineState::x)),
                    RoundToThousandths(UnroundedCoordinate(end, &MachineState::y)),
                    RoundToThousandths(UnroundedCoordinate(end, &MachineState::z))};
    };
    const Vec3 c{exactWord(addr::I), exactWord(addr::J), exactWord(addr::K)};
    const Vec3 p0 = exactPoint(false);
    const Vec3 p1 = exactPoint(true);
    const CentreReading exact = fittingReading(c, p0, p1, kCentreTolerance);
    if (corrected || diagnostics_->wanted()) {
        // The corrected reading: the working plane's two axes, unrounded.
        const PlaneAxes& axes = planeAxes(plane_);
        const auto planePoint = [&](bool end) {
            return Vec3{UnroundedCoordinate(end, axes.horizontal),
                        UnroundedCoordinate(end, axes.vertical), 0.0};
        };
        const CentreReading inPlane =
            fittingReading({vars_[axes.centreH].numeric(), vars_[axes.centreV].numeric(), 0.0},
                           planePoint(false), planePoint(true), kPlaneCentreTolerance);
        // Two misses differ too: the exact one writes the offsets as the centre.
        if ((exact != inPlane || exact == kNoReading) && diagnostics_->wanted())
            ReportCentreReadings(exact, inPlane);
        if (corrected) {
            // No reading that fits leaves the mode open and takes the offsets from the start.
            if (inPlane != kNoReading) arcCentreMode_ = inPlane;
            ResolvePlaneCentre(inPlane == kNoReading ? kFromStart : inPlane);
            return;
        }
    }
    if (exact == kNoReading) return;  // the offsets stay as the centre; the next arc decides
    arcCentreMode_ = exact;
    if (exact != kAbsolute) storeCentre(vars_, c + (exact == kFromStart ? p0 : p1));
}

void NCIFrame::ReportCentreReadings(CentreReading exact, CentreReading inPlane) {
    const std::string exactText =
        exact == kNoReading ? "fit no reading within 0.001 and are written as the centre"
                            : std::string("are read ") + readingText(exact) +
                                  " for the rest of the program";
    const std::string inPlaneText =
        inPlane == kNoReading
            ? "fit no reading within 0.005 and are taken from the start point for this arc"
            : std::string("are read ") + readingText(inPlane) + " for the rest of the program";
    diagnostics_->correction(
        diagnostic::kArcCentreDetection,
        "I J K " + exactText + " (3-D lengths of values rounded to 3 decimals); in the working "
            "plane, unrounded, they " + inPlaneText + " (corrected semantics)",
        "I J K, in the working plane and unrounded, " + inPlaneText +
            " (from 3-D lengths of values rounded to 3 decimals, the exact semantics: they " +
            exactText + ")");
}

void NCIFrame::ResolveArcCenter() {
    if (arcCentreMode_ == kNoReading) {
        DetectArcCenterMode();
        return;
    }
    if (diagnostics_->corrected()) {
        ResolvePlaneCentre(arcCentreMode_);
        return;
    }
    if (arcCentreMode_ == kAbsolute) return;
    const Vec3 c{GetDouble(addr::I), GetDouble(addr::J), GetDouble(addr::K)};
    storeCentre(vars_, c + (arcCentreMode_ == kFromStart ? position(previous_) : position(current_)));
}

void NCIFrame::ResolvePlaneCentre(CentreReading reading) {
    if (reading == kAbsolute) return;
    const PlaneAxes& axes = planeAxes(plane_);
    const bool end = reading == kFromEnd;
    for (const auto& [word, field] : {std::pair{axes.centreH, axes.horizontal},
                                      std::pair{axes.centreV, axes.vertical}})
        vars_[word].setDouble(vars_[word].numeric() + UnroundedCoordinate(end, field));
}

void NCIFrame::ReadOmittedCentreWords() {
    const PlaneAxes& axes = planeAxes(plane_);
    for (const std::uint32_t word : {axes.centreH, axes.centreV}) {
        if (Given(word)) continue;
        const double kept = vars_[word].numeric();
        if (diagnostics_->wanted() && RoundToThousandths(kept) != 0.0) {
            const std::string letter(1, static_cast<char>('A' + word));
            diagnostics_->correction(
                diagnostic::kArcIjkNonmodal,
                "the arc omits " + letter + ": it keeps " + preciseRealToString(kept) +
                    ", the value the previous arc left (the corrected semantics reads 0, as "
                    "the control does)",
                "the arc omits " + letter + ": read as 0, as the control does (the exact "
                    "semantics keeps " + preciseRealToString(kept) +
                    ", the value the previous arc left)");
        }
    }
    if (!diagnostics_->corrected()) return;
    for (const std::uint32_t word : {addr::I, addr::J, addr::K})
        if (!Given(word)) vars_[word].setDouble(0.0);
}

void NCIFrame::ResolveIsoArc() {
    if (RadiusGiven()) {
        ArcCenterFromRadius(motionMode_ == rec::ArcCW ? -1 : 1);
        return;
    }
    ReadOmittedCentreWords();
    ResolveArcCenter();
}

}  // namespace morvane

// Where an arc ends: a full circle programmed without an axis word, the full-circle flag of the
// arc record, and an arc that ends off the circle it started on.
#include <cmath>
#include <string>

#include "writer/frame_rules.h"
#include "writer/nci_frame.h"
#include "nci/nci_stream.h"

namespace morvane {
namespace {

// An arc whose start and end lie further apart than this in distance from the centre is
// reported.
constexpr double kOffCircle = 0.01;

const char* const kAxisLetters[] = {"X", "Y", "Z"};

// The letter of a position field.
const char* axisLetter(double MachineState::*field) {
    return field == &MachineState::x ? kAxisLetters[0]
           : field == &MachineState::y ? kAxisLetters[1]
                                       : kAxisLetters[2];
}

}  // namespace

bool NCIFrame::FullCircleInPlace() {
    const PlaneAxes& axes = planeAxes(plane_);
    // Centre words that are all 0 (or missing) give no circle, nor does a radius.
    const auto offset = [&](std::uint32_t word) {
        return Given(word) && RoundAsWritten(vars_[word].numeric()) != 0.0;
    };
    if (!(offset(axes.centreH) || offset(axes.centreV)) || Given(addr::R)) return false;
    if (diagnostics_->wanted())
        diagnostics_->correction(
            diagnostic::kFullCircleNoAxis,
            "an arc with a centre word and no axis word writes nothing; the control cuts a full "
            "circle where the tool stands (corrected semantics)",
            "an arc with a centre word and no axis word: a full circle where the tool stands");
    return diagnostics_->corrected();
}

bool NCIFrame::FullCircleFlag() {
    const bool inXY = current_.x == previous_.x && current_.y == previous_.y;
    if (plane_ == WorkingPlane::XY || (motionMode_ != rec::ArcCW && motionMode_ != rec::ArcCCW)) return inXY;
    const PlaneAxes& axes = planeAxes(plane_);
    const bool inPlane = current_.*axes.horizontal == previous_.*axes.horizontal &&
                         current_.*axes.vertical == previous_.*axes.vertical;
    if (inPlane != inXY && diagnostics_->wanted()) {
        const std::string plane = std::string(axisLetter(axes.horizontal)) + " and " +
                                  axisLetter(axes.vertical);
        const auto verdict = [](bool full) { return full ? "a full circle" : "no full circle"; };
        diagnostics_->correction(
            diagnostic::kFullFlagPlane,
            std::string("the full-circle flag compares X and Y: ") + verdict(inXY) +
                "; in the arc's plane, " + plane + ", it is " + verdict(inPlane) +
                " (corrected semantics)",
            "the full-circle flag compares the arc's plane, " + plane + ": " + verdict(inPlane) +
                " (the exact semantics compares X and Y: " + verdict(inXY) + ")");
    }
    return diagnostics_->corrected() ? inPlane : inXY;
}

void NCIFrame::ReportOffCircle() {
    if (!diagnostics_->wanted()) return;
    const PlaneAxes& axes = planeAxes(plane_);
    const double ch = RoundAsWritten(vars_[axes.centreH].numeric());
    const double cv = RoundAsWritten(vars_[axes.centreV].numeric());
    const double fromStart =
        std::hypot(previous_.*axes.horizontal - ch, previous_.*axes.vertical - cv);
    const double fromEnd = std::hypot(current_.*axes.horizontal - ch, current_.*axes.vertical - cv);
    if (!(std::fabs(fromStart - fromEnd) > kOffCircle)) return;
    diagnostics_->report(diagnostic::kArcOffCircle,
                         "the arc starts " + preciseRealToString(fromStart) +
                             " from its centre " + preciseRealToString(ch) + ", " +
                             preciseRealToString(cv) + " and ends " +
                             preciseRealToString(fromEnd) +
                             " from it: the control stops with a radius alarm or cuts a "
                             "different path; check the arc's centre words");
}

}  // namespace morvane

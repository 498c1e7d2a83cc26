#include "nc_modal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace morvane::post {

void appendWord(std::string& line, std::string_view letter, double value,
                const NumberStyle& style) {
    if (!line.empty()) line += ' ';
    line += letter;
    appendNumber(line, value, style);
}

void appendWord(std::string& line, std::string_view letter, std::int64_t value) {
    if (!line.empty()) line += ' ';
    line += letter;
    appendInteger(line, value);
}

void appendText(std::string& line, std::string_view text) {
    if (!line.empty()) line += ' ';
    line += text;
}

std::array<bool, 3> axesToName(const LinearMove& move, const KnownPosition& position) {
    std::array<bool, 3> name{};
    bool any = false;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (position.at(axis, move.to[axis])) continue;
        if (move.rapid && !move.placed[axis]) continue;
        name[axis] = true;
        any = true;
    }
    if (any) return name;
    // Our readers write a move only for a block with an axis word: a move that names no axis so
    // still names one, where the machine stays if it can: the first placed axis, else X (a
    // move across at the height the tool has, never a plunge).
    std::size_t kept = 0;
    while (kept < 3 && !move.placed[kept])
        ++kept;
    name[kept < 3 ? kept : 0] = true;
    return name;
}

std::array<bool, 3> axesToReachArcStart(const ArcMove& arc, const KnownPosition& position,
                                        bool normalToo) {
    const PlaneAxes axes = axesOf(arc.plane);
    std::array<bool, 3> name{};
    for (std::size_t axis : {axes.h, axes.v, axes.n}) {
        if (axis == axes.n && !normalToo) continue;
        name[axis] = !position.known(axis) && arc.placed[axis];
    }
    return name;
}

double arcRadius(const ArcMove& arc) {
    const PlaneAxes axes = axesOf(arc.plane);
    return std::hypot(arc.start[axes.h] - arc.centreH, arc.start[axes.v] - arc.centreV);
}

double arcRadiusMismatch(const ArcMove& arc) {
    const PlaneAxes axes = axesOf(arc.plane);
    const double end = std::hypot(arc.end[axes.h] - arc.centreH, arc.end[axes.v] - arc.centreV);
    return std::fabs(end - arcRadius(arc));
}

double radiusFormCentreShift(const ArcMove& arc, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const auto rounded = [scale](double v) { return std::round(v * scale) / scale; };
    const PlaneAxes axes = axesOf(arc.plane);
    const double sh = rounded(arc.start[axes.h]), sv = rounded(arc.start[axes.v]);
    const double dh = rounded(arc.end[axes.h]) - sh, dv = rounded(arc.end[axes.v]) - sv;
    const double half = std::hypot(dh, dv) / 2.0, r = rounded(arcRadius(arc));
    if (r < half || half == 0.0) return std::numeric_limits<double>::infinity();
    const double off = std::sqrt(r * r - half * half) / (2.0 * half);
    const double mh = sh + dh / 2.0, mv = sv + dv / 2.0;
    const double a = std::hypot(mh - dv * off - arc.centreH, mv + dh * off - arc.centreV);
    const double b = std::hypot(mh + dv * off - arc.centreH, mv - dh * off - arc.centreV);
    return std::min(a, b);
}

ArcFault arcFault(const ArcMove& arc) {
    if (arcRadius(arc) < 1e-9) return ArcFault::NoRadius;
    if (arcRadiusMismatch(arc) > kArcRadiusTolerance) return ArcFault::OffCircle;
    return ArcFault::None;
}

double roundedDegrees(double degrees, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(degrees * scale) / scale;
}

double arcSweepDegrees(const ArcMove& arc) {
    constexpr double kTurn = 2.0 * std::numbers::pi;
    const PlaneAxes axes = axesOf(arc.plane);
    const double from =
        std::atan2(arc.start[axes.v] - arc.centreV, arc.start[axes.h] - arc.centreH);
    const double to = std::atan2(arc.end[axes.v] - arc.centreV, arc.end[axes.h] - arc.centreH);
    double sweep = 0.0;
    if (!arc.fullCircle) {
        sweep = arc.clockwise ? from - to : to - from;
        while (sweep <= 0.0)
            sweep += kTurn;
        while (sweep > kTurn)
            sweep -= kTurn;
    } else {
        sweep = kTurn;
    }
    const double degrees = sweep * 180.0 / std::numbers::pi;
    return arc.clockwise ? -degrees : degrees;
}

void expandTemplate(std::string_view text, std::string_view programName, std::string_view axes,
                    std::string& out) {
    static constexpr std::string_view kName = "{name}";
    static constexpr std::string_view kAxes = "{axes}";
    out.clear();
    for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{')) {
        const std::string_view rest = text.substr(at);
        const bool name = rest.starts_with(kName);
        if (!name && !rest.starts_with(kAxes)) {
            out += text.substr(0, at + 1);
            text.remove_prefix(at + 1);
            continue;
        }
        out += text.substr(0, at);
        out += name ? programName : axes;
        text.remove_prefix(at + kName.size());
    }
    out += text;
}

std::string returnAxesText(const std::array<bool, 3>& axes, const NumberStyle& style) {
    std::string text;
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (axes[axis]) appendWord(text, std::string_view(&kAxisLetters[axis], 1), 0.0, style);
    return text;
}

std::string_view plainText(std::string_view text, std::string& scratch) {
    scratch.assign(text);
    for (char& c : scratch)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return scratch;
}

}  // namespace morvane::post

// Move primitives of the longhand cycles: the exact NCI lines of every move a cycle writes.
#include "cycles/nci_drilling.h"

namespace morvane {
namespace {

// Arc record code: counter-clockwise (3) or clockwise (2).
constexpr std::int32_t arcCode(bool counterClockwise) {
    return counterClockwise ? 3 : 2;
}

}  // namespace

void NCISimpleDrilling::straightMove(NciStream& out, std::int32_t code, double x, double y,
                                     double z, double feed) {
    out << code << eol << "0 " << x << ' ' << y << ' ' << z << ' ' << feed << " 0" << eol;
    x_ = x;
    y_ = y;
    z_ = z;
}

void NCISimpleDrilling::arcMove(NciStream& out, std::int32_t code, double ex, double ey,
                                Point2 centre, double z, bool full, bool trailingBlank) {
    out << code << eol << "0 0 " << ex << ' ' << ey << ' ' << centre.x << ' ' << centre.y << ' '
        << z << ' ' << feed() << " 0 " << full;
    if (trailingBlank) out << ' ';
    out << eol;
    x_ = ex;
    y_ = ey;
    z_ = z;
}

void NCISimpleDrilling::RapidTo(NciStream& out, Point2 p, double z) {
    straightMove(out, 0, p.x, p.y, z);
}

void NCISimpleDrilling::RapidXY(NciStream& out, double x, double y) {
    straightMove(out, 0, x, y, z_);
}

void NCISimpleDrilling::FeedTo(NciStream& out, Point2 p, double z) {
    straightMove(out, 1, p.x, p.y, z);
}

void NCISimpleDrilling::Dwell(NciStream& out, double t) {
    out << std::int32_t{4} << eol << t << " 1 0" << eol;
}

void NCISimpleDrilling::FeedXYZ(NciStream& out, double x, double y, double z) {
    straightMove(out, 1, x, y, z);
}

void NCISimpleDrilling::FeedXY(NciStream& out, double x, double y) {
    straightMove(out, 1, x, y, z_);
}

void NCISimpleDrilling::ArcAround(NciStream& out, double cx, double cy, double ex, double ey,
                                  Turn dir) {
    arcMove(out, arcCode(dir == Turn::CounterClockwise), ex, ey, {cx, cy}, z_, false, false);
}

void NCISimpleDrilling::ArcRadius(NciStream& out, double ex, double ey, double r, double side) {
    // A flat helix: the same lines at the current height.
    HelixArc(out, r, ex, ey, z_, side);
}

void NCISimpleDrilling::ArcSigned(NciStream& out, double ex, double ey, double r) {
    if (r == 0.0) return;
    arcMove(out, arcCode(r > 0.0), ex, ey, arcCentre(here(), {ex, ey}, r, 1.0), z_, false, true);
}

void NCISimpleDrilling::FullCircle(NciStream& out, double cx, double cy, Turn dir) {
    arcMove(out, arcCode(dir == Turn::CounterClockwise), x_, y_, {cx, cy}, z_, true, false);
}

void NCISimpleDrilling::Approach(NciStream& out, double fromX, double fromY, double fromZ,
                                 double travelZ) {
    const Point2 call = here();
    x_ = fromX;
    y_ = fromY;
    z_ = fromZ;
    if (fromZ < travelZ) RapidTo(out, here(), travelZ);
    if (fromX != call.x || fromY != call.y) RapidTo(out, call, travelZ);
    x_ = call.x;
    y_ = call.y;
    z_ = travelZ;
}

void NCISimpleDrilling::HelixArc(NciStream& out, double r, double ex, double ey, double ez,
                                 double side) {
    if (!(r > 0.0)) return;
    const double turn = side > 0.0 ? 1.0 : -1.0;
    arcMove(out, arcCode(side > 0.0), ex, ey, arcCentre(here(), {ex, ey}, r, turn), ez, false,
            true);
}

void NCISimpleDrilling::HelixCircle(NciStream& out, double cx, double cy, double z, Turn dir) {
    arcMove(out, arcCode(dir == Turn::CounterClockwise), x_, y_, {cx, cy}, z, true, false);
}

}  // namespace morvane

#include "path_drawing.h"

#include <algorithm>
#include <cmath>

#include "text/real_format.h"

namespace morvane::cli {

namespace {

constexpr double kCos30 = 0.8660254037844386;

}  // namespace

void Projection::flat(const PathPoint& p, double& u, double& v) const {
    switch (view_) {
        case View::Top: u = p.x, v = p.y; return;
        case View::Front: u = p.x, v = p.z; return;
        case View::Side: u = p.y, v = p.z; return;
        case View::Iso: u = (p.x - p.y) * kCos30, v = (p.x + p.y) * 0.5 + p.z; return;
    }
}

Projection::Projection(View view, const Box& box, double left, double top, double width,
                       double height)
    : view_(view) {
    double uLow = 1e300, uHigh = -1e300, vLow = 1e300, vHigh = -1e300;
    for (int corner = 0; corner < 8 && !box.empty(); ++corner) {
        const PathPoint p{corner & 1 ? box.high.x : box.low.x, corner & 2 ? box.high.y : box.low.y,
                          corner & 4 ? box.high.z : box.low.z};
        double u, v;
        flat(p, u, v);
        uLow = std::min(uLow, u), uHigh = std::max(uHigh, u);
        vLow = std::min(vLow, v), vHigh = std::max(vHigh, v);
    }
    if (box.empty()) uLow = uHigh = vLow = vHigh = 0;
    const double spanU = std::max(uHigh - uLow, 1e-6), spanV = std::max(vHigh - vLow, 1e-6);
    scale_ = std::min(width / spanU, height / spanV);
    if (uHigh - uLow < 1e-6 && vHigh - vLow < 1e-6) scale_ = 1.0;
    offsetX_ = left + (width - (uHigh - uLow) * scale_) / 2 - uLow * scale_;
    offsetY_ = top + (height - (vHigh - vLow) * scale_) / 2 + vHigh * scale_;
}

void Projection::at(const PathPoint& p, double& x, double& y) const {
    double u = 0.0, v = 0.0;
    flat(p, u, v);
    x = offsetX_ + u * scale_;
    y = offsetY_ - v * scale_;
}

bool Projection::facesPlane(int plane) const {
    return (view_ == View::Top && plane == 0) || (view_ == View::Front && plane == 2) ||
           (view_ == View::Side && plane == 1);
}

int depthBand(double z, double lowZ, double highZ) {
    if (!(highZ - lowZ > 1e-9)) return kDepthBands - 1;
    const double band = (z - lowZ) / (highZ - lowZ) * kDepthBands;
    if (!(band >= 0)) return 0;  // below, or not a number for extents beyond a double
    return band >= kDepthBands - 1 ? kDepthBands - 1 : static_cast<int>(band);
}

void appendTenths(std::string& out, double value) {
    static constexpr RealFormat kTenths{.digits = 1, .trailingZeros = true, .negativeZero = true};
    appendReal(out, value, kTenths);
}

}  // namespace morvane::cli

// The tool path of a program kept for drawing (`morvane show`): its moves in a compact form,
// and the projection of the four views onto a picture.
#pragma once

#include <cstdint>
#include <string>

#include "morvane/convert.hpp"
#include "nci/path_compare.h"
#include "path_figures.h"
#include "view_options.h"

namespace morvane::cli {

// A view of the part onto the picture: x to the right, y down, in pixels.
class Projection {
  public:
    // Fits `box` into the rectangle [left, left + width] x [top, top + height].
    Projection(View view, const Box& box, double left, double top, double width, double height);

    void at(const PathPoint& p, double& x, double& y) const;
    double scale() const { return scale_; }  // pixels per mm
    View view() const { return view_; }
    // True when the view looks straight at arcs of `plane`: they stay circular arcs.
    bool facesPlane(int plane) const;

  private:
    void flat(const PathPoint& p, double& u, double& v) const;
    View view_;
    double scale_ = 1.0, offsetX_ = 0.0, offsetY_ = 0.0;
};

// Feed moves are coloured by depth in kDepthBands bands from the lowest Z of the feed moves
// (first colour) to the highest.
inline constexpr int kDepthBands = 6;
inline constexpr const char* kDepthColours[kDepthBands] = {"#1f3fbf", "#2b8fd6", "#1fae9b",
                                                          "#6cbf3c", "#e2a81b", "#e0512a"};
inline constexpr const char* kRapidColour = "#8c8c8c";
inline constexpr const char* kSecondColour = "#e0207f";   // the second program compared
inline constexpr const char* kFirstColour = "#1f3fbf";    // the first program, when compared
inline constexpr const char* kDifferenceColour = "#ff0000";

int depthBand(double z, double lowZ, double highZ);

// `v` to the nearest whole number, halves away from zero, as std::lround (a library call) for
// |v| < 2^31.
inline int nearestWhole(double v) {
    const int whole = static_cast<int>(v);  // towards zero
    const double part = v - whole;          // exact
    return whole + (part >= 0.5) - (part <= -0.5);
}

// A picture's coordinate or size with one decimal, as printf's %.1f writes it.
void appendTenths(std::string& out, double value);

}  // namespace morvane::cli

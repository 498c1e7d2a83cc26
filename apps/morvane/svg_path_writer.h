// SVG path data for many moves in little text: whole pixels, relative steps, collinear steps
// merged, and steps that paint no pixel not painted before in the same layer dropped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvane::cli {

class SvgPathWriter {
  public:
    SvgPathWriter(int width, int height);

    // A straight line from (x0, y0) to (x1, y1), in pixels.
    void line(double x0, double y0, double x1, double y1);
    // Marks the pixels of a chord of an arc; true when one was not painted before.
    bool marksNew(double x0, double y0, double x1, double y1);
    // A circular arc of radius r (pixels) from (x0, y0) to (x1, y1); `large` and `sweep` are
    // the SVG arc flags. Always written: the caller asks marksNew() along it first.
    void arc(double x0, double y0, double r, bool large, bool sweep, double x1, double y1);
    // The path data ("M..l.."), pending steps included.
    const std::string& data();
    bool empty() { return data().empty(); }

  private:
    void flush();
    void moveTo(int x, int y);
    // Marks the pixels of the step (Bresenham); true when one of them was not marked yet.
    bool paints(int x0, int y0, int x1, int y1);
    bool inside(int x, int y) const;
    // True when every tile the step can touch is painted whole: it paints nothing new.
    bool covered(int x0, int y0, int x1, int y1) const;
    bool mark(int x, int y);
    std::uint64_t& tile(int x, int y, std::uint64_t& mask);

    int width_, height_;
    int tilesAcross_;
    // A bit per pixel, a word per tile of 8 x 8 pixels: a full word is a tile painted whole.
    std::vector<std::uint64_t> painted_;
    std::string data_;
    bool hasPen_ = false;  // data_ ends at (penX_, penY_)
    int penX_ = 0, penY_ = 0;
    bool pending_ = false;  // a straight step from the pen to (pendingX_, pendingY_) not written
    int pendingX_ = 0, pendingY_ = 0;
};

}  // namespace morvane::cli

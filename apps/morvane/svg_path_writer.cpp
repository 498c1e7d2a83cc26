#include "svg_path_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace morvane::cli {

namespace {

int pixel(double v) {
    if (!(v > -1e6)) return -1000000;
    if (!(v < 1e6)) return 1000000;
    return static_cast<int>(std::lround(v));
}

void appendInt(std::string& out, int v) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    out.append(text, end);
}

}  // namespace

SvgPathWriter::SvgPathWriter(int width, int height)
    : width_(width), height_(height),
      painted_((static_cast<std::size_t>(width) * static_cast<std::size_t>(height) + 63) / 64) {}

bool SvgPathWriter::mark(int x, int y) {
    const bool inside = static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
                        static_cast<unsigned>(y) < static_cast<unsigned>(height_);
    if (!inside) return true;  // outside the picture: always drawn
    const std::size_t bit = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                            static_cast<std::size_t>(x);
    const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
    const bool fresh = (painted_[bit / 64] & mask) == 0;
    painted_[bit / 64] |= mask;
    return fresh;
}

bool SvgPathWriter::paints(int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    bool fresh = false;
    for (int steps = 0; steps < 100000; ++steps) {
        fresh = mark(x0, y0) || fresh;
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * error;
        if (e2 >= dy) error += dy, x0 += sx;
        if (e2 <= dx) error += dx, y0 += sy;
    }
    return fresh;
}

void SvgPathWriter::moveTo(int x, int y) {
    if (hasPen_ && x == penX_ && y == penY_) return;
    data_ += 'M';
    appendInt(data_, x);
    data_ += ' ';
    appendInt(data_, y);
    hasPen_ = true;
    penX_ = x, penY_ = y;
}

void SvgPathWriter::flush() {
    if (!pending_) return;
    pending_ = false;
    data_ += 'l';
    appendInt(data_, pendingX_ - penX_);
    data_ += ' ';
    appendInt(data_, pendingY_ - penY_);
    penX_ = pendingX_, penY_ = pendingY_;
}

void SvgPathWriter::line(double fx0, double fy0, double fx1, double fy1) {
    const int x0 = pixel(fx0), y0 = pixel(fy0), x1 = pixel(fx1), y1 = pixel(fy1);
    if (!paints(x0, y0, x1, y1)) return;
    const int endX = pending_ ? pendingX_ : penX_, endY = pending_ ? pendingY_ : penY_;
    if (!hasPen_ || x0 != endX || y0 != endY) {
        flush();
        moveTo(x0, y0);
    }
    if (x0 == x1 && y0 == y1) {
        flush();
        data_ += "h0";  // a dot: a plunge seen from above
        return;
    }
    if (pending_) {
        // Collinear with the pending step and going on in its direction: one step.
        const long ax = pendingX_ - penX_, ay = pendingY_ - penY_;
        const long bx = x1 - penX_, by = y1 - penY_;
        const double cross = static_cast<double>(ax * by - ay * bx);
        const double along = static_cast<double>(ax * bx + ay * by);
        if (std::fabs(cross) <= 0.5 * std::hypot(static_cast<double>(bx), static_cast<double>(by)) &&
            along > static_cast<double>(ax * ax + ay * ay) - 1e-9) {
            pendingX_ = x1, pendingY_ = y1;
            return;
        }
        flush();
    }
    pending_ = true;
    pendingX_ = x1, pendingY_ = y1;
}

void SvgPathWriter::arc(double fx0, double fy0, double r, bool large, bool sweep, double fx1,
                        double fy1) {
    const int x0 = pixel(fx0), y0 = pixel(fy0), x1 = pixel(fx1), y1 = pixel(fy1);
    flush();
    moveTo(x0, y0);
    char text[96];
    std::snprintf(text, sizeof text, "a%.1f %.1f 0 %d %d %d %d", r, r, large ? 1 : 0,
                  sweep ? 1 : 0, x1 - x0, y1 - y0);
    data_ += text;
    penX_ = x1, penY_ = y1;
}

bool SvgPathWriter::marksNew(double x0, double y0, double x1, double y1) {
    return paints(pixel(x0), pixel(y0), pixel(x1), pixel(y1));
}

const std::string& SvgPathWriter::data() {
    flush();
    return data_;
}

}  // namespace morvane::cli

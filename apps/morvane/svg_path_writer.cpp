#include "svg_path_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "path_drawing.h"

namespace morvane::cli {

namespace {

int pixel(double v) {
    if (!(v > -1e6)) return -1000000;
    if (!(v < 1e6)) return 1000000;
    return nearestWhole(v);
}

void appendInt(std::string& out, int v) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    out.append(text, end);
}

}  // namespace

SvgPathWriter::SvgPathWriter(int width, int height)
    : width_(width), height_(height), tilesAcross_((width + 7) / 8),
      painted_(static_cast<std::size_t>(tilesAcross_) *
               static_cast<std::size_t>((height + 7) / 8)) {}

bool SvgPathWriter::inside(int x, int y) const {
    return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height_);
}

std::uint64_t& SvgPathWriter::tile(int x, int y, std::uint64_t& mask) {
    mask = std::uint64_t{1} << (((y & 7) << 3) | (x & 7));
    return painted_[static_cast<std::size_t>(y >> 3) * static_cast<std::size_t>(tilesAcross_) +
                    static_cast<std::size_t>(x >> 3)];
}

bool SvgPathWriter::mark(int x, int y) {
    if (!inside(x, y)) return true;  // outside the picture: always drawn
    std::uint64_t mask;
    std::uint64_t& word = tile(x, y, mask);
    const bool fresh = (word & mask) == 0;
    word |= mask;
    return fresh;
}

// Both ends inside the picture. A Bresenham pixel lies within half a pixel of the line: the
// tiles within two pixels of it, column by column of tiles along the longer axis, hold them all.
bool SvgPathWriter::covered(int x0, int y0, int x1, int y1) const {
    const auto full = [this](int x, int y) {
        return painted_[static_cast<std::size_t>(y >> 3) * static_cast<std::size_t>(tilesAcross_) +
                        static_cast<std::size_t>(x >> 3)] == ~std::uint64_t{0};
    };
    if (!full(x0, y0) || !full(x1, y1) || !full((x0 + x1) / 2, (y0 + y1) / 2)) return false;
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) std::swap(x0, y0), std::swap(x1, y1);  // now along u = x, across v = y
    if (x0 > x1) std::swap(x0, x1), std::swap(y0, y1);
    const int du = x1 - x0, dv = y1 - y0;
    const int acrossLimit = (steep ? width_ : height_) - 1;
    for (int from = x0; from <= x1; from = (from | 7) + 1) {
        const int to = std::min(from | 7, x1);
        const int a = du == 0 ? y0 : y0 + dv * (from - x0) / du;
        const int b = du == 0 ? y0 : y0 + dv * (to - x0) / du;
        const int low = std::max(std::min(a, b) - 2, 0) >> 3;
        const int high = std::min(std::max(a, b) + 2, acrossLimit) >> 3;
        for (int v = low; v <= high; ++v)
            if (!(steep ? full(v << 3, from) : full(from, v << 3))) return false;
    }
    return true;
}

bool SvgPathWriter::paints(int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    bool fresh = false;
    if (inside(x0, y0) && inside(x1, y1)) {  // and every pixel between
        if (covered(x0, y0, x1, y1)) return false;
        for (;;) {
            std::uint64_t mask;
            std::uint64_t& word = tile(x0, y0, mask);
            fresh |= (word & mask) == 0;
            word |= mask;
            if (x0 == x1 && y0 == y1) return fresh;
            const int e2 = 2 * error;
            if (e2 >= dy) error += dy, x0 += sx;
            if (e2 <= dx) error += dx, y0 += sy;
        }
    }
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
    data_ += 'a';
    appendTenths(data_, r);
    data_ += ' ';
    appendTenths(data_, r);
    data_ += large ? " 0 1 " : " 0 0 ";
    data_ += sweep ? "1 " : "0 ";
    appendInt(data_, x1 - x0);
    data_ += ' ';
    appendInt(data_, y1 - y0);
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

// The SVG picture of `morvane show`.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "arc_geometry.h"
#include "check_report.h"
#include "picture.h"
#include "svg_path_writer.h"

namespace morvane::cli {

namespace {

// The drawing's place in the picture; the legend is at its right, the caption below.
constexpr double kLeft = 40, kTop = 40, kWidth = 720, kHeight = 540;
constexpr double kLegendX = 800;
constexpr double kCaptionY = 640;

struct Layers {
    explicit Layers(int count) {
        for (int i = 0; i < count; ++i) writers.emplace_back(kPictureWidth, kPictureHeight);
    }
    std::vector<SvgPathWriter> writers;
};

// Draws a move into the layer of its depth (`layer` gives it for a Z); an arc that the view does
// not see face on is drawn chord by chord, each chord in the layer of its own depth.
template <class LayerOf>
void drawMove(const PathMove& m, const Projection& view, LayerOf layer) {
    double x0, y0, x1, y1;
    view.at(m.from, x0, y0);
    view.at(m.to, x1, y1);
    if (m.kind != PathMove::Arc) return layer((m.from.z + m.to.z) / 2).line(x0, y0, x1, y1);
    const ArcGeometry arc(m.arcEvent());
    const double radius = arc.radius() * view.scale();
    // Chords that stay within half a pixel of the arc.
    const double step = radius > 0.5 ? 2 * std::acos(1 - 0.5 / radius) : std::numbers::pi;
    const int chords = chordCount(arc.sweep(), step, 720);
    if (!view.facesPlane(m.plane) || radius < 1.5) {
        double px = x0, py = y0, pz = m.from.z;
        for (int i = 1; i <= chords; ++i) {
            const PathPoint p = arc.at(static_cast<double>(i) / chords);
            double x, y;
            view.at(p, x, y);
            layer((pz + p.z) / 2).line(px, py, x, y);
            px = x, py = y, pz = p.z;
        }
        return;
    }
    SvgPathWriter& out = layer((m.from.z + m.to.z) / 2);
    bool fresh = false;
    double px = x0, py = y0;
    for (int i = 1; i <= chords; ++i) {
        double x, y;
        view.at(arc.at(static_cast<double>(i) / chords), x, y);
        fresh = out.marksNew(px, py, x, y) || fresh;
        px = x, py = y;
    }
    if (!fresh) return;
    const bool sweepFlag = m.clockwise;
    if (std::fabs(arc.sweep()) > 2 * std::numbers::pi - 1e-9) {  // a whole turn: two halves
        double mx, my;
        view.at(arc.at(0.5), mx, my);
        out.arc(x0, y0, radius, false, sweepFlag, mx, my);
        out.arc(mx, my, radius, false, sweepFlag, x1, y1);
        return;
    }
    out.arc(x0, y0, radius, std::fabs(arc.sweep()) > std::numbers::pi, sweepFlag, x1, y1);
}

void pathElement(std::string& svg, SvgPathWriter& layer, const char* colour, double width,
                 bool dashed) {
    if (layer.empty()) return;
    svg += "<path stroke=\"";
    svg += colour;
    svg += "\" stroke-width=\"" + millimetres(width) + "\"";
    if (dashed) svg += " stroke-dasharray=\"5 4\"";
    svg += " d=\"" + layer.data() + "\"/>\n";
}

std::string text(double x, double y, std::string_view content, std::string_view extra = {}) {
    std::string element = "<text x=\"";
    appendTenths(element, x);
    element += "\" y=\"";
    appendTenths(element, y);
    element += '"';
    if (!extra.empty()) element.append(" ").append(extra);
    return element.append(">").append(escapeXml(content)).append("</text>\n");
}

std::string lineElement(double x0, double y0, double x1, double y1, std::string_view style) {
    std::string element = "<line";
    const std::pair<const char*, double> ends[] = {{" x1=\"", x0}, {"\" y1=\"", y0},
                                                   {"\" x2=\"", x1}, {"\" y2=\"", y1}};
    for (const auto& [name, value] : ends) {
        element += name;
        appendTenths(element, value);
    }
    return element.append("\" ").append(style).append("/>\n");
}

// The box's twelve edges, and its sizes along the axes the view shows.
std::string boxElements(const Box& box, const Projection& view) {
    if (box.empty()) return {};
    std::string svg;
    const auto corner = [&](int i) {
        return PathPoint{i & 1 ? box.high.x : box.low.x, i & 2 ? box.high.y : box.low.y,
                         i & 4 ? box.high.z : box.low.z};
    };
    double left = 1e300, right = -1e300, bottom = -1e300, top = 1e300;
    for (int i = 0; i < 8; ++i)
        for (int bit = 1; bit < 8; bit <<= 1) {
            if (i & bit) continue;
            double x0, y0, x1, y1;
            view.at(corner(i), x0, y0);
            view.at(corner(i | bit), x1, y1);
            svg += lineElement(x0, y0, x1, y1, "stroke=\"#555555\" stroke-width=\"0.6\"");
            left = std::min({left, x0, x1}), right = std::max({right, x0, x1});
            top = std::min({top, y0, y1}), bottom = std::max({bottom, y0, y1});
        }
    const PathPoint size{box.high.x - box.low.x, box.high.y - box.low.y, box.high.z - box.low.z};
    const char* const style = "font-size=\"12\" fill=\"#333333\" text-anchor=\"middle\"";
    switch (view.view()) {
        case View::Top:
            svg += text((left + right) / 2, bottom + 16, "X " + millimetres(size.x) + " mm", style);
            svg += text(right + 6, (top + bottom) / 2, "Y " + millimetres(size.y) + " mm",
                        "font-size=\"12\" fill=\"#333333\"");
            break;
        case View::Front:
        case View::Side:
            svg += text((left + right) / 2, bottom + 16,
                        std::string(view.view() == View::Front ? "X " : "Y ") +
                            millimetres(view.view() == View::Front ? size.x : size.y) + " mm",
                        style);
            svg += text(right + 6, (top + bottom) / 2, "Z " + millimetres(size.z) + " mm",
                        "font-size=\"12\" fill=\"#333333\"");
            break;
        case View::Iso:
            svg += text((left + right) / 2, bottom + 16,
                        millimetres(size.x) + " x " + millimetres(size.y) + " x " +
                            millimetres(size.z) + " mm",
                        style);
            break;
    }
    return svg;
}

std::string legend(const PictureInput& input, double lowZ, double highZ) {
    std::string svg = "<g font-size=\"12\" fill=\"#222222\">\n";
    double y = kTop;
    const auto swatch = [&](const char* colour, std::string_view label) {
        svg += "<rect x=\"" + std::to_string(static_cast<int>(kLegendX)) + "\" y=\"" +
               std::to_string(static_cast<int>(y) - 10) + "\" width=\"18\" height=\"12\" fill=\"" +
               colour + "\"/>\n" + text(kLegendX + 24, y, label);
        y += 20;
    };
    if (input.programs.size() == 2) {
        swatch(kFirstColour, "1: " + input.programs[0].file);
        swatch(kSecondColour, "2: " + input.programs[1].file);
    } else {
        svg += text(kLegendX, y, "feed moves by Z", "font-weight=\"bold\"");
        y += 20;
        const bool flat = !(highZ - lowZ > 1e-9);
        for (int band = kDepthBands - 1; band >= (flat ? kDepthBands - 1 : 0); --band) {
            const double from = lowZ + (highZ - lowZ) * band / kDepthBands;
            const double to = lowZ + (highZ - lowZ) * (band + 1) / kDepthBands;
            swatch(kDepthColours[band],
                   flat ? "Z " + millimetres(lowZ) : "Z " + millimetres(from) + " .. " + millimetres(to));
        }
    }
    svg += lineElement(kLegendX, y - 4, kLegendX + 18, y - 4,
                       "stroke=\"#8c8c8c\" stroke-width=\"1.5\" stroke-dasharray=\"5 4\"");
    svg += text(kLegendX + 24, y, "rapid");
    return svg + "</g>\n";
}

// The moves of every program, rapids dashed, feed moves in the colour of their depth (or of
// their program, when two are compared).
std::string pathElements(const PictureInput& input, const Projection& projection, const Box& feed) {
    const bool compared = input.programs.size() == 2;
    // Layers: the rapids, then the depth bands (or one per program compared).
    Layers rapids(static_cast<int>(input.programs.size()));
    Layers feeds(compared ? 2 : kDepthBands);
    for (std::size_t p = 0; p < input.programs.size(); ++p)
        for (const PathMove& m : input.programs[p].path->moves())
            drawMove(m, projection, [&](double z) -> SvgPathWriter& {
                if (m.kind == PathMove::Rapid) return rapids.writers[p];
                const int band = compared ? static_cast<int>(p)
                                          : depthBand(z, feed.low.z, feed.high.z);
                return feeds.writers[static_cast<std::size_t>(band)];
            });
    std::string svg = "<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
    for (std::size_t p = 0; p < rapids.writers.size(); ++p)
        pathElement(svg, rapids.writers[p], p == 0 ? kRapidColour : kSecondColour, 1, true);
    for (std::size_t band = 0; band < feeds.writers.size(); ++band)
        pathElement(svg, feeds.writers[band],
                    compared ? (band == 0 ? kFirstColour : kSecondColour) : kDepthColours[band],
                    compared && band == 1 ? 1.2 : 2, false);
    return svg + "</g>\n";
}

// A numbered circle where each listed difference is.
std::string differenceMarks(const PathComparison& comparison, const Projection& projection) {
    std::string svg;
    std::size_t number = 0;
    for (const PathDifference& d : comparison.differences) {
        double x, y;
        projection.at(d.first, x, y);
        svg += "<circle cx=\"";
        appendTenths(svg, x);
        svg += "\" cy=\"";
        appendTenths(svg, y);
        svg += "\" r=\"7\" fill=\"none\" stroke=\"";
        svg += kDifferenceColour;
        svg += "\" stroke-width=\"2\"/>\n";
        svg += text(x + 9, y - 6, std::to_string(++number), "font-size=\"11\" fill=\"#ff0000\"");
    }
    return svg;
}

// Each program's name and figures, then the view and what the comparison found.
std::string caption(const PictureInput& input, View view) {
    static constexpr const char* kViewNames[] = {"top (XY)", "front (XZ)", "side (YZ)", "iso"};
    std::string svg;
    double y = kCaptionY;
    for (const ShownProgram& p : input.programs) {
        svg += text(kLeft, y, p.file, "font-weight=\"bold\"");
        svg += text(kLeft, y + 17, p.summary, "font-size=\"12\"");
        y += 40;
    }
    std::string last = std::string("view: ") + kViewNames[static_cast<int>(view)];
    if (input.programs.size() == 2)
        last += input.comparison.count == 0
                    ? "; the paths agree within " + millimetres(input.tolerance) + " mm"
                    : "; " + std::to_string(input.comparison.count) + " differences beyond " +
                          millimetres(input.tolerance) + " mm (circled, listed by morvane show)";
    return svg + text(kLeft, y, last, "font-size=\"12\"");
}

}  // namespace

std::string escapeXml(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

PictureBoxes boxesOf(const PictureInput& input) {
    PictureBoxes boxes;
    for (const ShownProgram& p : input.programs) {
        boxes.all.add(p.figures.allBox);
        boxes.feed.add(p.figures.feedBox);
    }
    return boxes;
}

std::string svgPicture(const PictureInput& input, View view) {
    const PictureBoxes boxes = boxesOf(input);
    const Projection projection(view, boxes.all, kLeft, kTop, kWidth, kHeight);
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"800\" "
        "viewBox=\"0 0 1000 800\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"13\">\n"
        "<rect width=\"1000\" height=\"800\" fill=\"#ffffff\"/>\n";
    svg += boxElements(boxes.all, projection);
    svg += pathElements(input, projection, boxes.feed);
    svg += differenceMarks(input.comparison, projection);
    svg += legend(input, boxes.feed.low.z, boxes.feed.high.z);
    svg += caption(input, view);
    return svg + "</svg>\n";
}

}  // namespace morvane::cli

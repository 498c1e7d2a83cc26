// The HTML page of `morvane show`: the SVG view, and a 3-D view on a canvas whose points are
// carried in the page (16-bit numbers, base64), so the page needs nothing from elsewhere.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "arc_geometry.h"
#include "check_report.h"
#include "picture.h"

namespace morvane::cli {

namespace {

// Points of the 3-D view: x, y, z on a grid of 0..kGrid over the part's largest extent, and a
// code: 0 the pen goes there without drawing, 1 a rapid, 2..7 a feed move of a depth band,
// 8 a feed move of the second program, 9 its rapid.
constexpr double kGrid = 32000;
constexpr std::size_t kMaxPoints = 150000;

class PointList {
  public:
    explicit PointList(const Box& box) : low_(box.low) {
        const double span = std::max({box.high.x - box.low.x, box.high.y - box.low.y,
                                      box.high.z - box.low.z, 1e-9});
        scale_ = kGrid / span;
    }

    void add(const PathPoint& p, int code) {
        const auto q = [&](double v, double low) {
            const double grid = (v - low) * scale_;
            return static_cast<std::int16_t>(grid >= 0 ? nearestWhole(std::min(grid, 32767.0)) : 0);
        };
        const std::int16_t x = q(p.x, low_.x), y = q(p.y, low_.y), z = q(p.z, low_.z);
        const std::size_t n = points_.size();
        if (n >= 4 && points_[n - 4] == x && points_[n - 3] == y && points_[n - 2] == z) return;
        points_.insert(points_.end(), {x, y, z, static_cast<std::int16_t>(code)});
    }
    // Room for `count` points, so that a long path's points are not copied as they grow.
    void reserve(std::size_t count) { points_.reserve(4 * count); }
    void moveTo(const PathPoint& p) {
        if (points_.size() >= 4 && at_.x == p.x && at_.y == p.y && at_.z == p.z) return;
        add(p, 0);
    }
    void drawTo(const PathPoint& p, int code) {
        add(p, code);
        at_ = p;
    }
    // Every `step`th point when there are more than kMaxPoints (the pen moves are kept).
    std::size_t thin() {
        const std::size_t count = points_.size() / 4;
        const std::size_t step = (count + kMaxPoints - 1) / kMaxPoints;
        if (step <= 1) return 1;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < count; ++i)
            if (i % step == 0 || points_[4 * i + 3] == 0)
                std::copy_n(points_.begin() + 4 * i, 4, points_.begin() + 4 * kept++);
        points_.resize(4 * kept);
        return step;
    }
    std::string base64() const {
        static constexpr char kDigits[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        // Each number low byte first, whatever the machine's order.
        const auto byte = [this](std::size_t i) -> std::uint32_t {
            const auto u = static_cast<std::uint16_t>(points_[i / 2]);
            return i % 2 == 0 ? u & 0xffu : u >> 8;
        };
        const std::size_t size = points_.size() * 2;
        std::string out;
        out.reserve((size + 2) / 3 * 4);
        std::size_t i = 0;
        for (; i + 3 <= size; i += 3) {
            const std::uint32_t bits = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
            for (const int shift : {18, 12, 6, 0}) out += kDigits[(bits >> shift) & 63];
        }
        if (i < size) {
            const std::uint32_t bits = byte(i) << 16 | (i + 1 < size ? byte(i + 1) << 8 : 0);
            out += kDigits[bits >> 18 & 63];
            out += kDigits[bits >> 12 & 63];
            out += i + 1 < size ? kDigits[bits >> 6 & 63] : '=';
            out += '=';
        }
        return out;
    }

  private:
    PathPoint low_;
    double scale_;
    std::vector<std::int16_t> points_;
    PathPoint at_{1e300, 1e300, 1e300};
};

constexpr const char* kScript = R"JS(
const show = (() => {
  const raw = atob(document.getElementById('points').textContent.trim());
  const bytes = new Uint8Array(raw.length);
  for (let i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
  const p = new Int16Array(bytes.buffer, 0, Math.floor(bytes.length / 2));
  const canvas = document.getElementById('view3d');
  const g = canvas.getContext('2d');
  const views = {top: [0, Math.PI / 2], front: [0, 0], side: [-Math.PI / 2, 0],
                 iso: [Math.PI / 4, 0.6155]};
  let [yaw, pitch] = views.iso;
  let zoom = 1;
  let cx = 0, cy = 0, cz = 0;
  for (let i = 0; i < p.length; i += 4) { cx += p[i]; cy += p[i + 1]; cz += p[i + 2]; }
  const n = Math.max(1, p.length / 4);
  cx /= n; cy /= n; cz /= n;
  let radius = 1;
  for (let i = 0; i < p.length; i += 4)
    radius = Math.max(radius, Math.hypot(p[i] - cx, p[i + 1] - cy, p[i + 2] - cz));
  function draw() {
    const w = canvas.width, h = canvas.height;
    g.fillStyle = '#ffffff';
    g.fillRect(0, 0, w, h);
    const s = zoom * 0.45 * Math.min(w, h) / radius;
    const cyaw = Math.cos(yaw), syaw = Math.sin(yaw), cp = Math.cos(pitch), sp = Math.sin(pitch);
    const u = new Float32Array(n), v = new Float32Array(n);
    for (let k = 0; k < n; ++k) {
      const x = p[4 * k] - cx, y = p[4 * k + 1] - cy, z = p[4 * k + 2] - cz;
      const x1 = x * cyaw - y * syaw, y1 = x * syaw + y * cyaw;
      u[k] = w / 2 + s * x1;
      v[k] = h / 2 - s * (y1 * sp + z * cp);
    }
    for (let code = 1; code <= 9; ++code) {
      if (!COLOURS[code]) continue;
      g.beginPath();
      for (let k = 1; k < n; ++k)
        if (p[4 * k + 3] === code) { g.moveTo(u[k - 1], v[k - 1]); g.lineTo(u[k], v[k]); }
      g.strokeStyle = COLOURS[code];
      g.lineWidth = code === 1 || code === 9 ? 1 : 2;
      g.setLineDash(code === 1 || code === 9 ? [5, 4] : []);
      g.stroke();
    }
    g.setLineDash([]);
    g.font = '12px sans-serif';
    let ly = 20;
    for (const [colour, label] of LEGEND) {
      g.fillStyle = colour;
      g.fillRect(w - 190, ly - 10, 18, 12);
      g.fillStyle = '#222222';
      g.fillText(label, w - 166, ly);
      ly += 18;
    }
  }
  let drag = null;
  canvas.addEventListener('mousedown', e => { drag = [e.clientX, e.clientY]; });
  window.addEventListener('mouseup', () => { drag = null; });
  window.addEventListener('mousemove', e => {
    if (!drag) return;
    yaw += (e.clientX - drag[0]) * 0.01;
    pitch = Math.max(-Math.PI / 2, Math.min(Math.PI / 2, pitch + (e.clientY - drag[1]) * 0.01));
    drag = [e.clientX, e.clientY];
    draw();
  });
  canvas.addEventListener('wheel', e => {
    e.preventDefault();
    zoom = Math.max(0.05, Math.min(200, zoom * Math.exp(-e.deltaY * 0.001)));
    draw();
  }, {passive: false});
  for (const name of Object.keys(views))
    document.getElementById('view-' + name).addEventListener('click', () => {
      [yaw, pitch] = views[name];
      zoom = 1;
      draw();
    });
  draw();
  return draw;
})();
)JS";

std::string jsString(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'' || c == '\\') out += '\\';
        if (c == '<') {
            out += "\\x3c";
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20) continue;
        out += c;
    }
    return out + "'";
}

// The points of every program's path for the 3-D view, thinned to kMaxPoints.
PointList pointsOf(const PictureInput& input, const PictureBoxes& boxes, std::size_t& step) {
    const bool compared = input.programs.size() == 2;
    PointList points(boxes.all);
    std::size_t moves = 0;
    for (const ShownProgram& p : input.programs) moves += p.path->moves().size();
    points.reserve(2 * moves);  // a straight move's end, and its start where the pen jumps
    for (std::size_t i = 0; i < input.programs.size(); ++i)
        for (const PathMove& m : input.programs[i].path->moves()) {
            // The code of a step that ends at depth z from depth `fromZ`.
            const auto code = [&](double fromZ, double z) {
                if (m.kind == PathMove::Rapid) return i == 0 ? 1 : 9;
                if (compared) return i == 0 ? kDepthBands + 1 : 8;
                return 2 + depthBand((fromZ + z) / 2, boxes.feed.low.z, boxes.feed.high.z);
            };
            points.moveTo(m.from);
            if (m.kind != PathMove::Arc) {
                points.drawTo(m.to, code(m.from.z, m.to.z));
                continue;
            }
            const ArcGeometry arc(m.arcEvent());
            const int chords = chordCount(arc.sweep(), 0.2, 64);
            double z = m.from.z;
            for (int c = 1; c <= chords; ++c) {
                const PathPoint p = arc.at(static_cast<double>(c) / chords);
                points.drawTo(p, code(z, p.z));
                z = p.z;
            }
        }
    step = points.thin();
    return points;
}

// The colours of the point codes and the legend of the 3-D view, as script constants.
std::string viewConstants(const PictureInput& input, const Box& feed) {
    const bool compared = input.programs.size() == 2;
    std::string colours = "const COLOURS = [null, '" + std::string(kRapidColour) + "'";
    for (int band = 0; band < kDepthBands; ++band)
        colours += std::string(", '") + (compared && band == kDepthBands - 1 ? kFirstColour
                                          : compared                         ? ""
                                                                             : kDepthColours[band]) +
                   "'";
    colours += std::string(", '") + kSecondColour + "', '" + kSecondColour + "'];\n";
    std::string legend = "const LEGEND = [";
    if (compared) {
        legend += "['" + std::string(kFirstColour) + "', " + jsString("1: " + input.programs[0].file) +
                  "], ['" + kSecondColour + "', " + jsString("2: " + input.programs[1].file) + "]";
    } else {
        for (int band = kDepthBands - 1; band >= 0; --band) {
            const double from = feed.low.z + (feed.high.z - feed.low.z) * band / kDepthBands;
            const double to = feed.low.z + (feed.high.z - feed.low.z) * (band + 1) / kDepthBands;
            legend += std::string(band < kDepthBands - 1 ? ", " : "") + "['" +
                      kDepthColours[band] + "', " +
                      jsString("Z " + millimetres(from) + " .. " + millimetres(to)) + "]";
        }
    }
    return colours + legend + "];\n";
}

// The page up to its pictures: the canvas, the view buttons, the figures and the differences.
std::string pageTop(const PictureInput& input, std::size_t step) {
    std::string title;
    for (const ShownProgram& p : input.programs) title += (title.empty() ? "" : " / ") + p.file;
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                       escapeXml(title) + " - morvane show</title>\n";
    page +=
        "<style>body{font-family:sans-serif;margin:0;background:#fff;color:#222}"
        "#view3d{display:block;border-bottom:1px solid #ccc;cursor:grab}"
        "nav{padding:6px}nav button{margin-right:6px}p{margin:4px 8px;font-size:13px}"
        "#errors{color:#c00}</style>\n";
    page += "<script>window.addEventListener('error', e => {"
            " document.getElementById('errors').textContent += 'script error: ' + e.message + '\\n';"
            " });</script>\n</head>\n<body>\n";
    page += "<canvas id=\"view3d\" width=\"800\" height=\"560\"></canvas>\n<nav>";
    for (const char* name : {"top", "front", "side", "iso"})
        page += std::string("<button id=\"view-") + name + "\">" + name + "</button>";
    page += "</nav>\n<pre id=\"errors\"></pre>\n";
    for (const ShownProgram& p : input.programs)
        page += "<p><b>" + escapeXml(p.file) + "</b>: " + escapeXml(p.summary) + "</p>\n";
    if (step > 1)
        page += "<p>3-D view: one point in " + std::to_string(step) +
                " of this long path is drawn; the picture below has every move.</p>\n";
    if (input.programs.size() == 2) {
        page += "<p>" + std::to_string(input.comparison.count) + " differences beyond " +
                millimetres(input.tolerance) + " mm</p>\n<ol>\n";
        for (const PathDifference& d : input.comparison.differences)
            page += "<li>move " + std::to_string(d.move) + " (lines " +
                    std::to_string(d.firstLine) + " and " + std::to_string(d.secondLine) +
                    "): " + escapeXml(d.what) + "</li>\n";
        page += "</ol>\n";
    }
    return page;
}

}  // namespace

std::string htmlPicture(const PictureInput& input, View view) {
    const PictureBoxes boxes = boxesOf(input);
    std::size_t step = 1;
    const PointList points = pointsOf(input, boxes, step);
    std::string page = pageTop(input, step);
    page += svgPicture(input, view);
    page += "<script type=\"application/octet-stream\" id=\"points\">\n" + points.base64() +
            "\n</script>\n<script>\n" + viewConstants(input, boxes.feed) + kScript +
            "</script>\n</body>\n</html>\n";
    return page;
}

}  // namespace morvane::cli

// The pictures of `morvane show`: one SVG view, or a self-contained HTML page with that view and
// an interactive 3-D view drawn on a canvas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nci/path_compare.h"
#include "path_drawing.h"
#include "path_figures.h"
#include "view_options.h"

namespace morvane::cli {

struct ShownProgram {
    std::string file;
    std::string summary;  // the figures of check, one line
    const MovePath* path = nullptr;
    PathFigures figures;
};

struct PictureInput {
    std::vector<ShownProgram> programs;  // one, or two compared
    PathComparison comparison;           // with two programs
    double tolerance = 0.0;
};

inline constexpr int kPictureWidth = 1000;
inline constexpr int kPictureHeight = 800;

struct PictureBoxes {
    Box all, feed;  // of every program shown
};
PictureBoxes boxesOf(const PictureInput& input);

std::string svgPicture(const PictureInput& input, View view);
std::string htmlPicture(const PictureInput& input, View view);

// `text` with &, <, > and " escaped for XML and HTML.
std::string escapeXml(std::string_view text);

}  // namespace morvane::cli

#include "view_options.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace morvane::cli {

namespace {

bool number(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && std::isfinite(value);
}

std::optional<View> viewNamed(const std::string& name) {
    if (name == "top") return View::Top;
    if (name == "front") return View::Front;
    if (name == "side") return View::Side;
    if (name == "iso") return View::Iso;
    return std::nullopt;
}

// What the options must give together: a program, and for show an output and at most two.
bool checkViewOptions(const ViewOptions& options, bool show, const std::string& command,
                      std::string& error) {
    if (options.inputs.empty()) {
        error = "no program to " + command + " (see morvane " + command + " --help)";
        return false;
    }
    if (show && !options.output) {
        error = "show needs -o FILE.svg or -o FILE.html";
        return false;
    }
    if (show && options.inputs.size() > 2) {
        error = "show draws one program, or two to compare";
        return false;
    }
    return true;
}

}  // namespace

bool parseViewOptions(const std::vector<std::string>& arguments, bool show, ViewOptions& options,
                      std::string& error) {
    const std::string command = show ? "show" : "check";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool valued = a == "--from" || a == "-f" || a == "--rapid" ||
                            (show && (a == "-o" || a == "--output" || a == "--view" ||
                                      a == "--tolerance"));
        if (valued && i + 1 == arguments.size()) {
            error = a + " needs a value (see morvane " + command + " --help)";
            return false;
        }
        const std::string value = valued ? arguments[++i] : std::string();
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--from" || a == "-f") {
            options.from = formatNamed(value);
            if (!options.from) {
                error = "unknown format '" + value + "' (see morvane formats)";
                return false;
            }
        } else if (a == "--rapid") {
            if (!number(value, options.rapid) || options.rapid <= 0) {
                error = "--rapid takes the rapid traverse in mm/min, a number above 0, not '" +
                        value + "'";
                return false;
            }
        } else if (a == "--exact") {
            options.exact = true;
        } else if (!show && a == "--json") {
            options.json = true;
        } else if (!show && a == "--strict") {
            options.strict = true;
        } else if (a == "-o" || a == "--output") {
            options.output = value;
        } else if (a == "--view") {
            const std::optional<View> view = viewNamed(value);
            if (!view) {
                error = "--view is top, front, side or iso, not '" + value + "'";
                return false;
            }
            options.view = *view;
        } else if (a == "--tolerance") {
            if (!number(value, options.tolerance) || options.tolerance < 0) {
                error = "--tolerance takes a distance in mm, 0 or more, not '" + value + "'";
                return false;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option '" + a + "' for " + command + " (see morvane " + command +
                    " --help)";
            return false;
        } else {
            options.inputs.push_back(a);
        }
    }
    return options.help || checkViewOptions(options, show, command, error);
}

std::optional<ExitStatus> startViewCommand(const std::vector<std::string>& arguments, bool show,
                                           ViewOptions& options) {
    std::string error;
    if (!parseViewOptions(arguments, show, options, error)) {
        std::fprintf(stderr, "morvane: %s\n", error.c_str());
        return ExitStatus::Usage;
    }
    if (!options.help) return std::nullopt;
    std::fputs((show ? showHelp() : checkHelp()).c_str(), stdout);
    return ExitStatus::Done;
}

std::string checkHelp() {
    return R"(usage: morvane check FILE... [--from FORMAT] [--exact] [--rapid MM_PER_MIN] [--json] [--strict]

Reads each program through the conversion, writes nothing, and reports: the format, the lines,
the moves by kind, the feed and rapid path lengths, an estimated machining time (feed moves at
their feed, rapids at --rapid, default 5000 mm/min, dwells counted), the bounding box of the feed
moves and of all moves, the lowest Z, the tools with their time, and every diagnostic with its
line. Cycles are expanded into moves. The corrected semantics unless --exact.

  --json     one JSON document per program (schema morvane-check/1, docs/cli.md)
  --strict   exit status 1 when a diagnostic is a warning

Exit status: 0 done, 1 a conversion failed (or a warning with --strict), 2 usage, 3 a file that
cannot be read or whose format is not recognised.
)";
}

std::string showHelp() {
    return R"(usage: morvane show FILE [FILE2] -o OUT.svg|OUT.html [--view top|front|side|iso]
                    [--tolerance MM] [--from FORMAT] [--exact] [--rapid MM_PER_MIN]

Draws the tool path of a program: rapids dashed, feed moves coloured by depth with a legend,
arcs as arcs, the bounding box with its dimensions, and the figures of `morvane check` in the
caption. OUT.svg is one view (--view, default top); OUT.html is a self-contained page with the
same and an interactive 3-D view (drag to rotate, wheel to zoom, buttons for the four views).

With two programs (a program and its conversion read back) both paths are drawn one over the
other, and the places where they lie more than --tolerance apart (default 0.01 mm) are marked
and listed on standard output; the exit status is then 1.

Exit status: 0 done (and the same path), 1 a conversion failed or the paths differ, 2 usage,
3 a file that cannot be read or written.
)";
}

}  // namespace morvane::cli

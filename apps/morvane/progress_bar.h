// A progress bar on standard error while the plug-in reads a long program: the host sees which
// line the plug-in asks for. Drawn only when standard error is a terminal, redrawn only when
// the shown value changes, and erased when the conversion ends.
#pragma once

#include <cstdint>
#include <string>

namespace morvane::cli {

// Below this many lines a conversion is over before a bar could tell anything.
inline constexpr std::int32_t kProgressMinLines = 10000;

class ProgressBar {
  public:
    // `fd` is the descriptor drawn on; `enabled` false draws nothing at all.
    ProgressBar(int fd, bool enabled) : fd_(fd), enabled_(enabled) {}
    ~ProgressBar() { finish(); }

    // Names the next conversion (the input file).
    void setLabel(std::string label) { label_ = std::move(label); }
    // The plug-in counted the lines it is about to read.
    void start(std::int32_t totalLines);
    // The plug-in asked for line `index`. A read that starts over from the top is a new pass
    // over the program (the parsers look for labels first).
    void lineAsked(std::int32_t index);
    // Erases the bar.
    void finish();

    // The bar's text for `width` columns (no control characters), e.g.
    // "square.nc [#####.....]  50%" with " pass 2" once the program is read again.
    static std::string render(const std::string& label, int percent, int pass, int width);

  private:
    void draw();

    int fd_;
    bool enabled_;
    bool active_ = false;
    std::string label_;
    std::int32_t total_ = 0;
    std::int32_t last_ = -1;
    int percent_ = -1;
    int pass_ = 1;
};

}  // namespace morvane::cli

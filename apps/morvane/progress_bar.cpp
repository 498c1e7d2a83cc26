#include "progress_bar.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace morvane::cli {

namespace {

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

int terminalWidth(int fd) {
    struct winsize size {};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

}  // namespace

void ProgressBar::start(std::int32_t totalLines) {
    finish();
    total_ = totalLines;
    last_ = -1;
    percent_ = -1;
    pass_ = 1;
    active_ = enabled_ && totalLines >= kProgressMinLines;
}

void ProgressBar::lineAsked(std::int32_t index) {
    if (!active_ || index < 0) return;
    // A jump back to the first lines after reading far is the next pass.
    if (index < last_ && last_ - index > total_ / 2) ++pass_;
    last_ = index;
    // Line `index` asked for means index + 1 lines read.
    const auto percent =
        static_cast<int>(std::min<std::int64_t>(100, (std::int64_t{index} + 1) * 100 / total_));
    if (percent != percent_) {
        percent_ = percent;
        draw();
    }
}

void ProgressBar::finish() {
    if (!active_) return;
    active_ = false;
    if (percent_ >= 0) writeAll(fd_, "\r\033[K");
}

void ProgressBar::draw() {
    writeAll(fd_, "\r" + render(label_, percent_, pass_, terminalWidth(fd_) - 1) + "\033[K");
}

std::string ProgressBar::render(const std::string& label, int percent, int pass, int width) {
    percent = std::clamp(percent, 0, 100);
    std::string tail = " " +
                       std::string(percent < 10    ? "  "
                                   : percent < 100 ? " "
                                                   : "") +
                       std::to_string(percent) + "%";
    if (pass > 1) tail += " pass " + std::to_string(pass);
    const int barWidth = std::clamp(width / 3, 10, 40);
    std::string text = label;
    const int room = width - barWidth - 3 - static_cast<int>(tail.size());
    if (room < static_cast<int>(text.size()))
        text =
            room > 3 ? "..." + text.substr(text.size() - static_cast<std::size_t>(room - 3)) : "";
    const int filled = barWidth * percent / 100;
    text.append(text.empty() ? "[" : " [")
        .append(static_cast<std::size_t>(filled), '#')
        .append(static_cast<std::size_t>(barWidth - filled), '.')
        .append("]")
        .append(tail);
    return text;
}

}  // namespace morvane::cli

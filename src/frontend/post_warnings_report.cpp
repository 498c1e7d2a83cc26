#include "frontend/post_warnings_report.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <string_view>

namespace morvane {

namespace {

// The post library keeps 1000 warnings and a count line; more text than this is not its file.
constexpr std::size_t kMaxSideFileBytes = std::size_t{4} << 20;

void reportLine(std::string_view line, Diagnostics& diagnostics) {
    std::uint64_t nciLine = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), nciLine);
    if (error != std::errc() || end == line.data() + line.size() || *end != ':') return;
    std::string_view text = line.substr(static_cast<std::size_t>(end - line.data()) + 1);
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) return;
    std::string message = "the post-processor: ";
    message += text;
    if (nciLine != 0) message += " (NCI line " + std::to_string(nciLine) + ")";
    diagnostics.reportAt(diagnostic::kPostWarning, diagnostics.nciLines().programLine(nciLine),
                         message);
}

}  // namespace

void reportPostWarnings(const std::string& resultPath, Diagnostics& diagnostics) {
    const std::string path = resultPath + ".warnings";
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (file == nullptr) return;
    if (diagnostics.wanted()) {
        std::string text(kMaxSideFileBytes, '\0');
        text.resize(std::fread(text.data(), 1, text.size(), file.get()));
        std::string_view rest(text);
        while (!rest.empty()) {
            const std::size_t feed = rest.find('\n');
            std::string_view line = rest.substr(0, feed);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            reportLine(line, diagnostics);
            rest.remove_prefix(feed == std::string_view::npos ? rest.size() : feed + 1);
        }
    }
    file.reset();
    std::remove(path.c_str());
}

}  // namespace morvane

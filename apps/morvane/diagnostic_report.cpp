#include "diagnostic_report.h"

#include <charconv>

namespace morvane::cli {

HostDiagnostic parseDiagnostic(std::string_view text, std::int32_t firstServed,
                               Semantics semantics) {
    HostDiagnostic diagnostic;
    std::uint32_t line = 0;
    const char* const end = text.data() + text.size();
    const auto [afterLine, failed] = std::from_chars(text.data(), end, line);
    const std::string_view rest(afterLine, static_cast<std::size_t>(end - afterLine));
    const std::size_t codeEnd = rest.find(": ");
    if (failed != std::errc() || !rest.starts_with(':') || codeEnd == std::string_view::npos ||
        codeEnd == 1) {
        diagnostic.message = text;
        return diagnostic;
    }
    diagnostic.code = rest.substr(1, codeEnd - 1);
    diagnostic.message = rest.substr(codeEnd + 2);
    if (line > 0) diagnostic.line = line + static_cast<std::uint64_t>(firstServed);
    if (const DiagnosticCode* known = findDiagnosticCode(diagnostic.code))
        diagnostic.severity = severityIn(*known, semantics);
    return diagnostic;
}

std::string formatDiagnostic(const std::string& file, const HostDiagnostic& diagnostic) {
    std::string text = file;
    if (diagnostic.line > 0) text.append(":").append(std::to_string(diagnostic.line));
    text.append(": ").append(severityName(diagnostic.severity)).append(": ");
    text.append(diagnostic.message);
    if (!diagnostic.code.empty()) text.append(" [").append(diagnostic.code).append("]");
    return text;
}

void DiagnosticPrinter::print(const std::string& file, const HostDiagnostic& diagnostic) {
    if (quiet_ && diagnostic.severity != Severity::Error) return;
    std::fprintf(out_, "%s\n", formatDiagnostic(file, diagnostic).c_str());
    ++printed_[static_cast<std::size_t>(diagnostic.severity)];
}

void DiagnosticPrinter::count(const std::array<std::uint64_t, 3>& printed) {
    for (std::size_t i = 0; i < printed_.size(); ++i) printed_[i] += printed[i];
}

std::string DiagnosticPrinter::summary() const {
    constexpr const char* kNames[] = {"note", "warning", "error"};
    std::string parts[3];
    std::size_t count = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (printed_[i] == 0) continue;
        parts[count++] =
            std::to_string(printed_[i]) + " " + kNames[i] + (printed_[i] > 1 ? "s" : "");
    }
    if (count == 0) return {};
    std::string text = "morvane: " + parts[0];
    for (std::size_t i = 1; i < count; ++i)
        text.append(i + 1 == count ? " and " : ", ").append(parts[i]);
    return text;
}

}  // namespace morvane::cli

// The library's conversions (include/morvane/convert.hpp): a program in memory served line by
// line to the conversion the plug-in runs (frontend/conversion_run.h), its NCI text handed on as
// it is written.
#include <algorithm>
#include <cctype>

#include "frontend/conversion_run.h"
#include "frontend/program_text.h"
#include "formats/source_formats.h"
#include "morvane/convert.hpp"
#include "nci/diagnostics.h"
#include "nci/nci_path_reader.h"

namespace morvane {

namespace {

class CallbackSink final : public NciSink {
  public:
    explicit CallbackSink(const std::function<bool(std::string_view)>& write) : write_(write) {}
    bool take(std::string_view text) override { return write_(text); }

  private:
    const std::function<bool(std::string_view)>& write_;
};

// Hands each piece to the path reader, which needs the run's NCI line map.
class PathSink final : public NciSink {
  public:
    PathSink(const std::function<void(const PathEvent&)>& onEvent, const NciLineMap* lines)
        : reader_(onEvent, lines) {}
    bool take(std::string_view text) override {
        reader_.take(text);
        return true;
    }
    void finish() { reader_.finish(); }

  private:
    NciPathReader reader_;
};

void report(const Diagnostics& diagnostics, const ConvertOptions& options) {
    if (!options.onDiagnostic) return;
    for (const Diagnostics::Entry& entry : diagnostics.entries()) {
        ConversionDiagnostic d;
        d.line = entry.line;
        d.code = entry.code->name;
        d.severity = severityName(severityIn(*entry.code, diagnostics.semantics()));
        d.message = entry.message;
        d.count = entry.count;
        options.onDiagnostic(d);
    }
}

// Converts `program` into `sink`; a program of the format NCI goes to the sink as it is.
ConvertResult run(std::string_view program, ProgramFormat format, const ConvertOptions& options,
                  NciSink& sink, Diagnostics& diagnostics) {
    ConvertResult result;
    if (format == ProgramFormat::Nci) {
        result.programLines = static_cast<std::uint32_t>(
            std::count(program.begin(), program.end(), '\n') +
            (!program.empty() && program.back() != '\n'));
        result.ok = sink.take(program);
        result.nciBytes = program.size();
        if (!result.ok) result.failure = "the reader of the NCI text stopped the conversion";
        return result;
    }
    const ProgramText text(program);
    result.programLines = static_cast<std::uint32_t>(text.lineCount());
    SupportedCycleList cycles;
    if (!options.longhandCycles)
        cycles.assign(options.supportedCycles.begin(), options.supportedCycles.end());
    ConversionRun conversion;
    conversion.lines = text.source();
    conversion.formatPosition = formatPosition(format);
    conversion.cycles = &cycles;
    if (options.maxNciBytes > 0) conversion.limits = RunLimits::forOutput(options.maxNciBytes);
    conversion.sink = &sink;
    const RunEnd end = runConversion(conversion, diagnostics);
    result.ok = end == RunEnd::Written;
    if (end == RunEnd::NoParser) result.failure = "the format has no parser";
    if (end == RunEnd::Failed) result.failure = diagnostics.failure();
    return result;
}

class CountingSink final : public NciSink {
  public:
    explicit CountingSink(NciSink& next) : next_(next) {}
    bool take(std::string_view text) override {
        bytes += text.size();
        return next_.take(text);
    }
    std::uint64_t bytes = 0;

  private:
    NciSink& next_;
};

Semantics semanticsOf(const ConvertOptions& options) {
    return options.corrected ? Semantics::Corrected : Semantics::Exact;
}

}  // namespace

std::string_view formatName(ProgramFormat format) {
    return formatInfo(format).option;
}

std::optional<ProgramFormat> formatNamed(std::string_view name) {
    for (const InputFormatInfo& info : kInputFormats)
        if (std::equal(name.begin(), name.end(), info.option.begin(), info.option.end(),
                       [](char a, char b) {
                           return std::tolower(static_cast<unsigned char>(a)) == b;
                       }))
            return info.format;
    return std::nullopt;
}

std::optional<ProgramFormat> detectFormat(std::string_view fileName, std::string_view text,
                                          std::string* why) {
    std::vector<std::string_view> head;
    while (head.size() < 200 && !text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        head.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    const Detection detection = detectFormat(fileName, head);
    if (why != nullptr) *why = detection.reason;
    if (!detection.format) return std::nullopt;
    return *detection.format;
}

ConvertResult convertToNci(std::string_view program, ProgramFormat format,
                           const ConvertOptions& options,
                           const std::function<bool(std::string_view)>& write) {
    Diagnostics diagnostics(static_cast<bool>(options.onDiagnostic), semanticsOf(options));
    CallbackSink callback(write);
    CountingSink sink(callback);
    ConvertResult result = run(program, format, options, sink, diagnostics);
    result.nciBytes = sink.bytes;
    report(diagnostics, options);
    return result;
}

ConvertResult convertToNci(std::string_view program, ProgramFormat format,
                           const ConvertOptions& options, std::string& nci) {
    nci.clear();
    return convertToNci(program, format, options, [&nci](std::string_view text) {
        nci.append(text);
        return true;
    });
}

ConvertResult convertToPath(std::string_view program, ProgramFormat format,
                            const ConvertOptions& options,
                            const std::function<void(const PathEvent&)>& onEvent) {
    // Diagnostics are kept in any case: their NCI line map names each event's program line.
    Diagnostics diagnostics(true, semanticsOf(options));
    PathSink path(onEvent, format == ProgramFormat::Nci ? nullptr : &diagnostics.nciLines());
    CountingSink sink(path);
    ConvertResult result = run(program, format, options, sink, diagnostics);
    path.finish();
    result.nciBytes = sink.bytes;
    report(diagnostics, options);
    return result;
}

}  // namespace morvane

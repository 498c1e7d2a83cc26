#include "convert_command.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>
#include <utility>

#include "config_store.h"
#include "convert_session.h"
#include "converter_catalog.h"
#include "diagnostic_report.h"
#include "dialog_script.h"
#include "editor_host.h"
#include "failure_report.h"
#include "file_kind.h"
#include "host_paths.h"
#include "output_file.h"
#include "parallel_batch.h"
#include "platform/file_system.h"
#include "plugin_session.h"
#include "progress_bar.h"
#include "result_placement.h"

namespace morvane::cli {

namespace {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
    struct stat x {
    }, y{};
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

// The input as messages name it.
std::string inputName(const std::string& input) {
    return input == kStandardInput ? "<stdin>" : input;
}

// -d names each result after its input: two inputs of one name would give one file, the
// second conversion replacing the first.
std::optional<Failure> checkResultNames(const ConvertOptions& o) {
    if (!o.directory) return std::nullopt;
    std::map<std::string, std::string> inputOfName;
    for (const std::string& input : o.inputs) {
        const std::string stem = fs::path(input).stem().string();
        const auto [first, added] = inputOfName.emplace(stem, input);
        if (!added)
            return Failure{ExitStatus::Usage,
                           first->second + " and " + input + " would both be written as " +
                               (fs::path(*o.directory) / stem).string() +
                               ".*; nothing is converted: convert them into different directories"};
    }
    return std::nullopt;
}

// The selection as zero-based lines of the document.
std::optional<Failure> selectionOf(const ConvertOptions& options, const InputDocument& document,
                                   std::optional<LineRange>& selection) {
    if (!options.lines) return std::nullopt;
    const std::int32_t count = document.lineCount();
    const std::int32_t last = options.lines->last.value_or(count);
    if (options.lines->first > count || last > count)
        return Failure{ExitStatus::Usage,
                       "--lines goes beyond the last line (" + std::to_string(count) + ")"};
    selection = LineRange{options.lines->first - 1, last - options.lines->first + 1};
    return std::nullopt;
}

// The file name extension of a result written with -d.
std::string resultExtension(const std::string& input, const std::optional<std::string>& config) {
    const ConfigSummary used = summarizeConfig(config.value_or(""));
    if (used.outputToNci) return ".nci";
    if (!used.converterPath.empty()) {
        const std::string output = describeConverter(used.converterPath).output;
        if (output == "iso") return ".nc";
        if (output == "heidenhain") return ".H";
    }
    return fs::path(input).extension().string();
}

class Conversion {
  public:
    Conversion(ConvertSession& session, std::string input) : s_(session), input_(std::move(input)) {}
    std::optional<Failure> run();
    // What the run reported about the program, in file lines, for the user.
    const std::vector<HostDiagnostic>& diagnostics() const { return diagnostics_; }

  private:
    // Reads the program, checks the selection, settles the format (or leaves it to the user).
    std::optional<Failure> prepareInput();
    std::optional<Failure> chooseFormat();
    // The action, scripted from the options; in the terminal when asked or when the options
    // chose nothing to produce. `error` is set when the options cannot be scripted.
    RunContext converse(EditorHost& host, std::FILE* spool, std::string& error);
    // Writes the output where it goes.
    std::optional<Failure> place(const EditorHost& host, OutputFile& spool);
    DialogChoices dialogChoices() const;
    // The host checks "Use longhand cycles" for the run, not as the user's choice.
    bool hostChoosesLonghand() const;
    std::optional<Failure> destinationForSpool(std::string& spoolPath);
    void act(EditorHost& host, std::FILE* spool, const std::optional<std::string>& script);
    // The host's reports on the lines it served, then the plug-in's, in file lines.
    void collectDiagnostics(const EditorHost& host);
    // With --strict, the failure of a run that reported a warning.
    std::optional<Failure> refuseWarnings() const;

    ConvertSession& s_;
    std::string input_;
    InputDocument document_;
    std::optional<LineRange> selection_;
    std::optional<SourceFormat> format_;
    bool interactive_ = false;
    Destination destination_;
    std::vector<HostDiagnostic> diagnostics_;
};

// Lines with a NUL byte reported one by one up to this many, then counted.
constexpr std::size_t kMaxNulByteReports = 200;

void Conversion::collectDiagnostics(const EditorHost& host) {
    const Observations& seen = host.observations();
    if (!seen.selectionOnlySent) return;
    const LineRange served = host.servedLines();
    std::size_t total = 0;
    for (const NulByteLine& nul : document_.nulByteLines(served, kMaxNulByteReports, total))
        diagnostics_.push_back({static_cast<std::uint64_t>(nul.line) + 1,
                                std::string(diagnostic::kNulByte.name),
                                diagnostic::kNulByte.severity,
                                "a NUL byte at column " + std::to_string(nul.column) +
                                    ": the rest of the line is not converted"});
    if (total > kMaxNulByteReports)
        diagnostics_.push_back(
            {0, std::string(diagnostic::kNulByte.name), diagnostic::kNulByte.severity,
             std::to_string(total - kMaxNulByteReports) + " more lines hold a NUL byte"});
    for (const std::string& text : seen.diagnostics) {
        HostDiagnostic received = parseDiagnostic(
            text, served.first, s_.options.exact ? Semantics::Exact : Semantics::Corrected);
        if (s_.options.allowTruncated && received.code == diagnostic::kLimitReached.name)
            received.severity = Severity::Warning;
        diagnostics_.push_back(std::move(received));
    }
}

std::optional<Failure> Conversion::chooseFormat() {
    if (s_.options.from) {
        format_ = s_.options.from;
        return std::nullopt;
    }
    const Detection detection = detectFormat(input_, document_.head(200));
    format_ = detection.format;
    if (format_) {
        if (s_.options.verbose)
            say(inputName(input_), "format " + std::string(formatInfo(*format_).dialogEntry) + " (" +
                            detection.reason + ")");
        return std::nullopt;
    }
    if (s_.canInteract) {
        interactive_ = true;
        return std::nullopt;
    }
    return Failure{ExitStatus::Usage, "cannot tell the format: " + detection.reason +
                                          "; give --from (see morvane formats)"};
}

// Without a converter no cycle can be written natively: NCI alone means every cycle expanded.
bool Conversion::hostChoosesLonghand() const {
    const ConvertOptions& o = s_.options;
    return o.nci && !s_.converter && !o.longhand &&
           !platform::isRegularFile(summarizeConfig(s_.config.value_or("")).converterPath);
}

DialogChoices Conversion::dialogChoices() const {
    const ConvertOptions& o = s_.options;
    DialogChoices choices;
    choices.format = format_.value_or(SourceFormat::Fanuc);
    if (o.nci) choices.convertToNci = true;
    if (s_.converter) {
        choices.converterPath = s_.converter->path;
        if (!o.nci) choices.convertToNci = false;
    }
    const ConfigSummary remembered = summarizeConfig(s_.config.value_or(""));
    // The dialog restores "Convert to NCI format" but not the OK it needs: choose it again.
    if (!o.nci && !s_.converter && remembered.outputToNci) choices.convertToNci = true;
    choices.longhandCycles = o.longhand;
    if (hostChoosesLonghand()) choices.longhandCycles = true;
    choices.selectionOnly = o.lines.has_value();
    choices.resultInNewWindow = o.resultOnly;
    return choices;
}

std::optional<Failure> Conversion::destinationForSpool(std::string& spoolPath) {
    const ConvertOptions& o = s_.options;
    destination_ = Destination();
    std::string path;
    if (o.output && *o.output != "-") {
        path = *o.output;
    } else if (o.inPlace) {
        path = input_;
    } else if (o.directory) {
        std::error_code made;
        fs::create_directories(*o.directory, made);
        if (!platform::isDirectory(*o.directory))
            return Failure{ExitStatus::FileError,
                           "no directory " + *o.directory + (made ? ": " + made.message() : "")};
        // The name is settled after the run; the spool only needs the directory.
        path = *o.directory + "/" + fs::path(input_).filename().string();
    }
    if (!path.empty()) {
        std::string error;
        const std::optional<Destination> destination = destinationAt(path, error);
        if (!destination) return Failure{ExitStatus::FileError, error};
        destination_ = *destination;
    }
    // The result lines wait beside a file destination, so that they can simply become it.
    spoolPath = destination_.kind == Destination::Kind::File ? destination_.path
                                                             : s_.scratch.path() + "/result";
    return std::nullopt;
}

void Conversion::act(EditorHost& host, std::FILE* spool, const std::optional<std::string>& script) {
    ActionSetup setup;
    setup.hasSelection = s_.options.lines.has_value();
    setup.config = s_.config;
    setup.script = script;
    setup.maxOutput = s_.options.maxOutput;
    setup.exact = s_.options.exact;
    const bool remembersLonghand = summarizeConfig(s_.config.value_or("")).longhandCycles;
    const bool longhandForTheRun = !interactive_ && hostChoosesLonghand();
    s_.progress.setLabel(fs::path(input_).filename().string());
    performAction(s_.plugin.exports(), host, setup, spool);
    s_.progress.finish();
    const Observations& seen = host.observations();
    if (!seen.config) return;
    // Only what the user chose is remembered: a later run with a converter writes its cycles.
    s_.config = longhandForTheRun ? withSetting(*seen.config, MORVANE_CONFIG_USE_LONGHAND_CYCLES,
                                                remembersLonghand ? MORVANE_CONFIG_TRUE
                                                                  : MORVANE_CONFIG_FALSE)
                                  : *seen.config;
    std::string error;
    if (s_.configPath && !storeConfig(*s_.configPath, *s_.config, error))
        say("", "cannot keep the configuration: " + error);
}

std::optional<Failure> Conversion::prepareInput() {
    std::string error;
    const bool read = input_ == kStandardInput
                          ? document_.readStream(STDIN_FILENO, inputName(input_), error)
                          : document_.read(input_, error);
    if (!read) return Failure{ExitStatus::FileError, "cannot read it: " + error};
    if (document_.lineCount() == 0)
        return Failure{ExitStatus::ConversionFailed, "it is empty: nothing to convert"};
    if (!s_.options.from && looksBinary(document_.sample()))
        return Failure{ExitStatus::FileError,
                       "cannot read it: " + binaryMessage(document_.sample())};
    if (auto failure = selectionOf(s_.options, document_, selection_)) return failure;
    if (s_.options.interactive && !s_.canInteract)
        return Failure{ExitStatus::Usage, "--interactive needs a terminal"};
    interactive_ = s_.options.interactive;
    return chooseFormat();
}

RunContext Conversion::converse(EditorHost& host, std::FILE* spool, std::string& error) {
    const ConfigSummary remembered = summarizeConfig(s_.config.value_or(""));
    const DialogChoices choices = dialogChoices();
    RunContext context;
    context.format = format_.value_or(SourceFormat::Fanuc);
    context.converterPath = choices.converterPath.value_or(remembered.converterPath);
    context.longhandCycles = choices.longhandCycles.value_or(remembered.longhandCycles);
    if (!interactive_) {
        const auto script = buildDialogScript(choices, error);
        if (!script) return context;
        if (s_.options.verbose) say(inputName(input_), "dialog: " + *script);
        act(host, spool, script);
        // OK stayed greyed: nothing to produce is chosen. Let the user choose on a terminal.
        if (!host.observations().selectionOnlySent && s_.canInteract) interactive_ = true;
        if (interactive_) say(inputName(input_), "nothing to produce is chosen yet: choose it in the dialog");
    }
    if (interactive_) {
        // The dialog does not restore the format: it opens on the one recognised.
        if (!format_) say(inputName(input_), "choose its format in the dialog");
        act(host, spool,
            format_ ? std::optional("select " + std::string(formatInfo(*format_).dialogEntry) +
                                    "; terminal")
                    : std::nullopt);
    }
    context.interactive = interactive_;
    return context;
}

std::optional<Failure> Conversion::place(const EditorHost& host, OutputFile& spool) {
    const Observations& seen = host.observations();
    std::string error;
    if (s_.options.directory) {
        const std::string path = *s_.options.directory + "/" + fs::path(input_).stem().string() +
                                 resultExtension(input_, seen.config);
        const std::optional<Destination> destination = destinationAt(path, error);
        if (!destination) return Failure{ExitStatus::FileError, error};
        destination_ = *destination;
        if (sameFile(destination_.path, input_))
            return Failure{ExitStatus::Usage,
                           "-d would replace the input itself; use --in-place for that"};
    }
    const Placement placement = decidePlacement(seen, host.servedLines(), document_);
    if (!writeResult(document_, placement, spool, destination_, error))
        return Failure{ExitStatus::FileError, error};
    if (destination_.kind == Destination::Kind::StandardOutput) s_.wroteStandardOutput = true;
    if (s_.options.verbose)
        say(inputName(input_), std::to_string(seen.resultLines) + " result lines" +
                        (destination_.kind == Destination::Kind::StandardOutput
                             ? ""
                             : " written to " + destination_.path));
    return std::nullopt;
}

std::optional<Failure> Conversion::run() {
    if (auto failure = prepareInput()) return failure;
    std::string spoolPath, error;
    if (auto failure = destinationForSpool(spoolPath)) return failure;
    OutputFile spool;
    if (!spool.open(spoolPath, error)) return Failure{ExitStatus::FileError, error};
    // Whatever a plug-in left of its last action goes (this one removes its working files).
    s_.scratch.empty();
    EditorHost host(document_, selection_, s_.localised ? &s_.locale : nullptr, &s_.progress);
    RunContext context = converse(host, spool.stream(), error);
    if (!error.empty()) return Failure{ExitStatus::Usage, error};
    collectDiagnostics(host);
    context.resultFile = spool.path();
    context.temporaryDirectory = platform::directoryOf(s_.scratch.path());
    context.workingFileSystemFull = s_.scratch.fileSystemFull();
    if (auto failure = explainRun(host.observations(), diagnostics_, context)) return failure;
    if (auto failure = refuseWarnings()) return failure;
    return place(host, spool);
}

// Programs converted at once: one when there is one, or when the dialog may have to open (it
// needs the terminal to itself); else -j, by default one per core.
unsigned jobsFor(const ConvertSession& s) {
    const ConvertOptions& o = s.options;
    const bool dialogMayOpen = o.interactive || (s.canInteract && !o.nci && !o.converter);
    if (o.inputs.size() < 2 || dialogMayOpen) return 1;
    return o.jobs != 0 ? o.jobs : std::max(std::thread::hardware_concurrency(), 1U);
}

std::optional<Failure> Conversion::refuseWarnings() const {
    if (!s_.options.strict) return std::nullopt;
    const auto warnings =
        std::count_if(diagnostics_.begin(), diagnostics_.end(),
                      [](const HostDiagnostic& d) { return d.severity == Severity::Warning; });
    if (warnings == 0) return std::nullopt;
    return Failure{ExitStatus::ConversionFailed,
                   "nothing written: --strict, and the conversion reported " +
                       std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings") +
                       (s_.options.quiet ? " (not shown with -q)" : "")};
}

// Converts one input and prints what it reported.
WorkerResult convertOne(ConvertSession& session, const std::string& input) {
    Conversion conversion(session, input);
    const std::optional<Failure> failure = conversion.run();
    WorkerResult result;
    bool cutShort = false;
    for (const HostDiagnostic& diagnostic : conversion.diagnostics()) {
        session.diagnostics.print(inputName(input), diagnostic);
        cutShort = cutShort || (diagnostic.code == diagnostic::kLimitReached.name &&
                                diagnostic.severity == Severity::Error);
    }
    if (!failure) return result;
    if (!failure->message.empty()) say(inputName(input), failure->message);
    result.status = failure->status;
    result.cutShort = cutShort;
    return result;
}

// A worker of a batch (parallel_batch.h): converts the inputs whose numbers arrive on standard
// input, each followed by its counts line.
void serveBatch(ConvertSession& session) {
    char line[32];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::size_t index = 0;
        const auto [end, ec] = std::from_chars(line, line + std::strlen(line), index);
        if (ec != std::errc() || *end != '\n' || index >= session.options.inputs.size()) return;
        const auto before = session.diagnostics.printed();
        WorkerResult result = convertOne(session, session.options.inputs[index]);
        for (std::size_t i = 0; i < before.size(); ++i)
            result.printed[i] = session.diagnostics.printed()[i] - before[i];
        std::fputs(countsLine(index, result).c_str(), stderr);
    }
}

}  // namespace

ExitStatus runConvert(const ConvertOptions& options) {
    installInterruptCleanup();
    // A reader that goes away (| head) makes the write fail with EPIPE, which ends the run
    // as any failed write does, with the working files removed.
    ::signal(SIGPIPE, SIG_IGN);
    if (auto failure = checkResultNames(options)) {
        say("", failure->message);
        return failure->status;
    }
    ConvertSession session(options);
    if (auto failure = prepareSession(session)) {
        say("", failure->message);
        return failure->status;
    }
    ExitStatus status = ExitStatus::Done;
    const auto report = [&](const WorkerResult& result) {
        status = std::max(status, result.status);
        if (result.cutShort && !std::exchange(session.limitHintGiven, true)) say("", kLimitHint);
    };
    const bool worker = std::getenv(kBatchWorkerVariable) != nullptr;
    if (worker) {
        serveBatch(session);
    } else if (const unsigned jobs = jobsFor(session); jobs > 1) {
        convertInParallel(options, jobs, [&](const std::string&, const WorkerResult& result) {
            std::fputs(result.messages.c_str(), stderr);
            session.diagnostics.count(result.printed);
            report(result);
        });
    } else {
        for (const std::string& input : options.inputs) report(convertOne(session, input));
    }
    if (const std::string summary = session.diagnostics.summary(); !summary.empty() && !worker)
        std::fprintf(stderr, "%s\n", summary.c_str());
    // Closing can still report a write that failed (a full disk, a network file system).
    if (session.wroteStandardOutput && std::fclose(stdout) != 0) {
        say("", std::string("cannot write the standard output: ") + std::strerror(errno));
        if (status == ExitStatus::Done) status = ExitStatus::FileError;
    }
    return status;
}

}  // namespace morvane::cli

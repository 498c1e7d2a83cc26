#include "support/memory_program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "nci/cycle_errors.h"
#include "parsers/program_parser.h"

namespace morvane::test {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

MemoryProgram::MemoryProgram(std::vector<std::string> lines)
    : lines_(std::move(lines)), source_{this, &MemoryProgram::count, &MemoryProgram::line} {}

std::int32_t MemoryProgram::count(void* context, std::int32_t* n) {
    *n = static_cast<std::int32_t>(static_cast<MemoryProgram*>(context)->lines_.size());
    return 1;
}

std::int32_t MemoryProgram::line(void* context, std::int32_t index, const char** text) {
    auto* self = static_cast<MemoryProgram*>(context);
    self->requested_.push_back(index);
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < self->lines_.size();
    *text = inside ? self->lines_[static_cast<std::size_t>(index)].c_str() : nullptr;
    return 1;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string convertToNci(int format, std::string_view program, const SupportedCycleList& cycles,
                         const RunLimits& limits, Diagnostics* diagnostics) {
    return convertLinesToNci(format, splitLines(program), cycles, limits, diagnostics);
}

std::string diagnosticLines(const Diagnostics& diagnostics) {
    std::string text;
    for (const Diagnostics::Entry& entry : diagnostics.entries())
        text += Diagnostics::hostText(entry) + "\n";
    return text;
}

std::string convertLinesToNci(int format, std::vector<std::string> lines,
                              const SupportedCycleList& cycles, const RunLimits& limits,
                              Diagnostics* diagnostics) {
    MemoryProgram source(std::move(lines));
    const char* dir = std::getenv("TMPDIR");
    std::string path =
        std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/morvane-test-XXXXXX";
    int fd = ::mkstemp(path.data());
    if (fd < 0) {
        ADD_FAILURE() << "cannot create a temporary file";
        return {};
    }
    ::close(fd);
    auto parser = makeParser(format, source.source(), path, cycles);
    if (parser == nullptr) {
        ADD_FAILURE() << "format " << format << " has no parser";
    } else {
        parser->setLimits(limits);
        if (diagnostics != nullptr) parser->setDiagnostics(*diagnostics);
        try {
            parser->run();
        } catch (const CycleWrongValue&) {  // ends the program there, as in the plug-in
        } catch (const CycleWrongCode&) {
        }
        parser.reset();
    }
    std::string nci = readFile(path);
    std::remove(path.c_str());
    return nci;
}

MovePath toolPathOf(std::string_view program, ProgramFormat format) {
    MovePath path;
    convertToPath(program, format, {}, [&path](const PathEvent& e) { path.take(e); });
    return path;
}

}  // namespace morvane::test

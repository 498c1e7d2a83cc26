// The post-processor on arbitrary bytes taken as an NCI file: the record reader and the engine,
// once with each shipped converter. Whatever the NCI holds, the NC code is a whole program (the
// converter's first and last lines, or BEGIN PGM and END PGM), ends with a line feed, and no
// word holds a non-number.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "converter_file.h"
#include "fuzz_support.h"
#include "post_session.h"
#include "post_settings.h"

#ifndef MORVANE_CONVERTERS_DIR
#error "MORVANE_CONVERTERS_DIR names the folder of the shipped converter files"
#endif

namespace {

using namespace morvane;

// Every shipped converter file, read once.
const std::vector<post::PostSettings>& shippedConverters() {
    static const std::vector<post::PostSettings> settings = [] {
        std::vector<std::string> paths;
        for (const auto& entry : std::filesystem::directory_iterator(MORVANE_CONVERTERS_DIR))
            if (entry.path().extension() == ".conv") paths.push_back(entry.path().string());
        std::sort(paths.begin(), paths.end());
        std::vector<post::PostSettings> all;
        for (const std::string& path : paths) {
            std::string error;
            const auto converter = post::readConverterFile(path.c_str(), &error);
            if (!converter) fuzz::fail("a shipped converter does not read: " + error, path);
            all.push_back(post::settingsFrom(*converter));
        }
        if (all.empty()) fuzz::fail("no shipped converter", MORVANE_CONVERTERS_DIR);
        return all;
    }();
    return settings;
}

bool holdsNonNumber(std::string_view words) {
    return words.find("nan") != std::string_view::npos ||
           words.find("inf") != std::string_view::npos;
}

void checkProgram(const std::string& code, const post::PostSettings& settings) {
    if (code.empty() || code.back() != '\n') fuzz::fail("the NC code ends inside a line", code);
    const bool heidenhain = settings.family == post::OutputFamily::Heidenhain;
    const std::string_view text(code.data(), code.size() - 1);
    const std::string_view first = text.substr(0, text.find('\n'));
    const std::size_t lastBreak = text.rfind('\n');
    const std::string_view last =
        lastBreak == std::string_view::npos ? text : text.substr(lastBreak + 1);
    if (heidenhain) {
        if (first.rfind("0 BEGIN PGM ", 0) != 0) fuzz::fail("no BEGIN PGM first", code);
        if (last.find(" END PGM ") == std::string_view::npos) fuzz::fail("no END PGM last", code);
    } else {
        if (!settings.programStart.empty() && first != settings.programStart.front())
            fuzz::fail("the program does not open with the converter's first line", code);
        if (!settings.programEnd.empty() && last != settings.programEnd.back())
            fuzz::fail("the program does not end with the converter's last line", code);
    }
    // Words are what comes before a comment; a program name may hold any text.
    const char commentMark = heidenhain ? ';' : '(';
    for (std::size_t start = 0; start < code.size();) {
        const std::size_t end = code.find('\n', start);
        const std::string_view line(code.data() + start, end - start);
        start = end + 1;
        if (heidenhain && line.find(" PGM ") != std::string_view::npos) continue;
        if (holdsNonNumber(line.substr(0, line.find(commentMark))))
            fuzz::fail("a word holds a non-number", line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view nci(reinterpret_cast<const char*>(data), size);
    for (const post::PostSettings& settings : shippedConverters())
        checkProgram(post::postProcessText(nci, settings), settings);
    return 0;
}

#include "post_settings.h"

#include <initializer_list>
#include <string_view>

#include "converter_schema.h"

namespace morvane::post {

namespace {

// Lines written when a converter file has no section of that name.
struct DefaultLines {
    std::initializer_list<const char*> start;
    std::initializer_list<const char*> end;
    std::initializer_list<const char*> referenceReturn;
};
// A Fanuc control returns Z to the reference point incrementally (no intermediate point); a
// Heidenhain control moves to the machine datum with M91.
const DefaultLines kIsoLines{{"%"}, {"M30", "%"}, {"G91 G28 {axes}", "G90"}};
const DefaultLines kHeidenhainLines{{}, {"L M30"}, {"L {axes} R0 FMAX M91"}};

void readWholeSetting(const ConverterFile& file, std::string_view key, std::int32_t& target) {
    if (const std::string* value = file.find("format", key)) readWhole(*value, target);
}

void readFlag(const ConverterFile& file, std::string_view key, bool& target) {
    if (const std::string* value = file.find("format", key)) target = *value == "yes";
}

std::vector<std::string> readLines(const ConverterFile& file, std::string_view section,
                                   std::initializer_list<const char*> defaults) {
    std::vector<std::string> lines;
    if (!file.hasSection(section)) {
        for (const char* line : defaults)
            lines.emplace_back(line);
        return lines;
    }
    for (std::string_view line : file.findAll(section, "line"))
        lines.emplace_back(line);
    return lines;
}

}  // namespace

PostSettings settingsFrom(const ConverterFile& file) {
    PostSettings s;
    if (const std::string* output = file.find("converter", "output"))
        s.family = *output == "heidenhain" ? OutputFamily::Heidenhain : OutputFamily::Iso;
    std::int32_t decimals = s.decimals;
    std::int32_t feedDecimals = s.feedDecimals;
    std::int32_t angleDecimals = s.angleDecimals;
    readWholeSetting(file, "decimals", decimals);
    readWholeSetting(file, "feed-decimals", feedDecimals);
    readWholeSetting(file, "angle-decimals", angleDecimals);
    s.decimals = decimals;
    s.feedDecimals = feedDecimals;
    s.angleDecimals = angleDecimals;
    readFlag(file, "trailing-zeros", s.trailingZeros);
    readFlag(file, "line-numbers", s.lineNumbers);
    readWholeSetting(file, "line-number-start", s.lineNumberStart);
    readWholeSetting(file, "line-number-step", s.lineNumberStep);
    readWholeSetting(file, "line-number-max", s.lineNumberMax);
    if (const std::string* arcs = file.find("format", "arcs"))
        s.arcs = *arcs == "r" ? ArcFormat::Radius : ArcFormat::Centre;
    if (const std::string* peck = file.find("format", "peck-cycle"))
        s.peckCycle = *peck == "G73" ? 73 : 83;
    if (const std::string* units = file.find("format", "units")) s.inch = *units == "inch";
    std::int32_t defaultFeed = 0;
    readWholeSetting(file, "default-feed", defaultFeed);
    if (defaultFeed > 0) s.defaultFeed = defaultFeed;
    if (const std::string* name = file.find("format", "program-name")) s.programName = *name;

    const DefaultLines& defaults =
        s.family == OutputFamily::Heidenhain ? kHeidenhainLines : kIsoLines;
    s.programStart = readLines(file, "program-start", defaults.start);
    s.programEnd = readLines(file, "program-end", defaults.end);
    s.referenceReturn = readLines(file, "reference-return", defaults.referenceReturn);
    return s;
}

}  // namespace morvane::post

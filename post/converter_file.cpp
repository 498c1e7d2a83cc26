#include "converter_file.h"

#include <charconv>
#include <cstdio>
#include <memory>

#include "converter_schema.h"
#include "text/blank_text.h"

namespace morvane::post {

namespace {

constexpr std::string_view kConverterSection = "converter";
constexpr std::string_view kCyclesSection = "cycles";

constexpr bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

bool isName(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!isNameChar(c)) return false;
    return true;
}

// 29 numbers separated by blanks, each one of the values a pattern field may hold.
bool parsePattern(std::string_view text, CyclePattern& pattern) {
    std::size_t n = 0;
    while (true) {
        text = trimBlanks(text);
        if (text.empty()) break;
        if (n == kPatternFields) return false;
        std::int32_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || (end != text.data() + text.size() && !isBlank(*end))) return false;
        if (value != 0 && value != 1 && value != 2 && value != 7) return false;
        pattern.fields[n++] = value;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    }
    return n == kPatternFields;
}

bool fail(std::string* error, std::size_t line, std::string_view why) {
    if (error != nullptr) {
        *error =
            line == 0 ? std::string(why) : "line " + std::to_string(line) + ": " + std::string(why);
    }
    return false;
}

// Reads one line into `file`; false (with the reason) when the line is wrong.
bool parseLine(std::string_view line, std::size_t number, std::string& section, ConverterFile& file,
               std::string* error) {
    line = trimBlanks(line);
    if (line.empty() || line.front() == '#') return true;
    if (line.front() == '[') {
        if (line.back() != ']' || !isName(line.substr(1, line.size() - 2)))
            return fail(error, number, "a section header is [name]");
        section.assign(line.substr(1, line.size() - 2));
        file.sections.push_back(section);
        return true;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return fail(error, number, "expected key = value");
    const std::string_view key = trimBlanks(line.substr(0, equals));
    const std::string_view value = trimBlanks(line.substr(equals + 1));
    if (!isName(key)) return fail(error, number, "a key is made of letters, digits, '_', '-', '.'");
    if (section.empty()) return fail(error, number, "a setting outside any section");
    if (section != kCyclesSection) {
        std::string reason;
        if (!checkSetting(section, key, value, reason)) return fail(error, number, reason);
        file.settings.push_back({section, std::string(key), std::string(value)});
        return true;
    }
    if (file.cycles.size() == kMaxCyclePatterns)
        return fail(error, number, "too many cycle patterns");
    CyclePattern pattern;
    pattern.name.assign(key);
    if (!parsePattern(value, pattern))
        return fail(error, number, "a cycle pattern is 29 numbers, each 0, 1, 2 or 7");
    file.cycles.push_back(std::move(pattern));
    return true;
}

}  // namespace

const std::string* ConverterFile::find(std::string_view section, std::string_view key) const {
    const std::string* found = nullptr;
    for (const ConverterSetting& setting : settings)
        if (setting.section == section && setting.key == key) found = &setting.value;
    return found;
}

std::vector<std::string_view> ConverterFile::findAll(std::string_view section,
                                                     std::string_view key) const {
    std::vector<std::string_view> values;
    for (const ConverterSetting& setting : settings)
        if (setting.section == section && setting.key == key) values.emplace_back(setting.value);
    return values;
}

bool ConverterFile::hasSection(std::string_view name) const {
    for (const std::string& section : sections)
        if (section == name) return true;
    return false;
}

std::optional<ConverterFile> parseConverterText(std::string_view text, std::string* error) {
    if (text.find('\0') != std::string_view::npos) {
        fail(error, 0, "binary data");
        return std::nullopt;
    }
    ConverterFile file;
    std::string section;
    bool sawConverter = false;
    std::size_t number = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        if (end == std::string_view::npos) end = text.size();
        if (!parseLine(text.substr(0, end), ++number, section, file, error)) return std::nullopt;
        sawConverter = sawConverter || section == kConverterSection;
        text.remove_prefix(end == text.size() ? end : end + 1);
    }
    if (!sawConverter) {
        fail(error, 0, "no [converter] section");
        return std::nullopt;
    }
    return file;
}

std::optional<ConverterFile> readConverterFile(const char* path, std::string* error) {
    if (path == nullptr || *path == '\0') {
        fail(error, 0, "no converter file given");
        return std::nullopt;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path, "rb"), &std::fclose);
    if (in == nullptr) {
        fail(error, 0, "cannot open the converter file");
        return std::nullopt;
    }
    // Read one byte past the limit to tell a full-sized file from a too large one.
    std::string text(kMaxConverterFileSize + 1, '\0');
    const std::size_t got = std::fread(text.data(), 1, text.size(), in.get());
    if (got > kMaxConverterFileSize) {
        fail(error, 0, "the converter file is too large");
        return std::nullopt;
    }
    if (std::ferror(in.get())) {
        fail(error, 0, "cannot read the converter file");
        return std::nullopt;
    }
    text.resize(got);
    return parseConverterText(text, error);
}

}  // namespace morvane::post

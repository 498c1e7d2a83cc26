// Converter files (*.conv): what a post-processor is told to produce, as sections of
// `key = value` lines. The [cycles] section lists the native cycle patterns, one a line:
// a name, "=", and 29 numbers, each 0 (field not supported), 1 (supported), 2 (either) or 7.
// The other sections tell the post-processor what to write (converter_schema.h).
// The layout is described in docs/converters.md.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::post {

// A larger file is not a converter file; nobody writes a megabyte of settings.
inline constexpr std::size_t kMaxConverterFileSize = 1 << 20;
// More patterns than this are refused: no post-processor has that many native cycles.
inline constexpr std::size_t kMaxCyclePatterns = 256;
inline constexpr std::size_t kPatternFields = 29;

struct ConverterSetting {
    std::string section;
    std::string key;
    std::string value;
};

struct CyclePattern {
    std::string name;  // the key, e.g. "G81" or "200"
    std::array<std::int32_t, kPatternFields> fields{};
};

struct ConverterFile {
    std::vector<ConverterSetting> settings;  // every setting outside [cycles], in file order
    std::vector<CyclePattern> cycles;        // [cycles], in file order
    std::vector<std::string> sections;       // section headers, in file order

    // The value of `key` in `section`; null when absent (the last one wins when repeated).
    const std::string* find(std::string_view section, std::string_view key) const;
    // Every value of `key` in `section`, in file order (the lines of a program-start section).
    std::vector<std::string_view> findAll(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view name) const;
};

// Parses converter text. On a fault returns nothing and, when `error` is given, says which line
// is wrong and why ("line 7: decimals is a whole number from 0 to 6"). A file without a
// [converter] section is not a converter file; a known setting with a wrong value
// (converter_schema.h) rejects the file.
std::optional<ConverterFile> parseConverterText(std::string_view text,
                                                std::string* error = nullptr);
// Reads and parses the file at `path`; nothing when it cannot be read, is too large or is wrong.
std::optional<ConverterFile> readConverterFile(const char* path, std::string* error = nullptr);

}  // namespace morvane::post

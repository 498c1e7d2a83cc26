#include "converter_catalog.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "converter_file.h"
#include "platform/file_system.h"

namespace morvane::cli {

namespace fs = std::filesystem;

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

}  // namespace

ConverterEntry describeConverter(const std::string& path) {
    ConverterEntry entry;
    entry.path = absolutePath(path);
    entry.fileName = fs::path(entry.path).filename().string();
    std::string error;
    const auto file = post::readConverterFile(entry.path.c_str(), &error);
    if (!file) {
        entry.fault = error;
        return entry;
    }
    const auto value = [&file](std::string_view key) {
        const std::string* found = file->find("converter", key);
        return found != nullptr ? *found : std::string();
    };
    entry.name = value("name");
    entry.description = value("description");
    entry.output = value("output");
    return entry;
}

std::vector<ConverterEntry> listConverters(const std::string& directory) {
    std::vector<ConverterEntry> converters;
    std::error_code error;
    for (const fs::directory_entry& item : fs::directory_iterator(directory, error)) {
        const fs::path& path = item.path();
        if (path.extension() == ".conv" && platform::isRegularFile(path.string()))
            converters.push_back(describeConverter(path.string()));
    }
    std::sort(
        converters.begin(), converters.end(),
        [](const ConverterEntry& a, const ConverterEntry& b) { return a.fileName < b.fileName; });
    return converters;
}

std::optional<ConverterEntry> findConverter(const std::string& argument,
                                            const std::string& directory) {
    if (platform::isRegularFile(argument)) return describeConverter(argument);
    if (argument.find('/') != std::string::npos) return std::nullopt;
    for (ConverterEntry& entry : listConverters(directory)) {
        const std::string stem = fs::path(entry.fileName).stem().string();
        if (sameIgnoringCase(argument, entry.fileName) || sameIgnoringCase(argument, stem) ||
            (!entry.name.empty() && sameIgnoringCase(argument, entry.name)))
            return std::move(entry);
    }
    return std::nullopt;
}

std::string converterListing(const std::vector<ConverterEntry>& converters) {
    std::size_t width = 0;
    for (const ConverterEntry& entry : converters)
        width = std::max(width, entry.fileName.size());
    std::string text;
    for (const ConverterEntry& entry : converters) {
        text.append("  ").append(entry.fileName).append(width - entry.fileName.size() + 2, ' ');
        if (!entry.fault.empty()) {
            text.append("(not usable: ").append(entry.fault).append(")");
        } else {
            text.append(entry.description.empty() ? entry.name : entry.description);
        }
        text += '\n';
    }
    return text;
}

}  // namespace morvane::cli

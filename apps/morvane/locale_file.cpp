#include "locale_file.h"

#include <fstream>
#include <iterator>

#include "text/blank_text.h"
#include "platform/file_system.h"
#include "text/text_encoding.h"

namespace morvane::cli {

namespace {

// A translation file is a few dozen lines; anything much larger is not one.
constexpr std::size_t kMaxLocaleFileSize = 1 << 20;

}  // namespace

bool LocaleTable::read(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string text;
    text.resize(kMaxLocaleFileSize + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxLocaleFileSize) {
        error = path + " is too large for a translation file";
        return false;
    }
    if (!parse(text, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool LocaleTable::parse(std::string_view text, std::string& error) {
    std::size_t number = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimBlanks(text.substr(0, end));
        text.remove_prefix(end == text.size() ? end : end + 1);
        ++number;
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        const std::string_view key = equals == std::string_view::npos
                                         ? std::string_view()
                                         : trimBlanks(line.substr(0, equals));
        if (key.empty()) {
            error = "line " + std::to_string(number) + ": expected KEY = text";
            return false;
        }
        texts_.insert_or_assign(std::string(key), utf8ToWide(trimBlanks(line.substr(equals + 1))));
    }
    return true;
}

const wchar_t* LocaleTable::find(std::string_view key) const {
    const auto it = texts_.find(key);
    return it != texts_.end() ? it->second.c_str() : nullptr;
}

std::string resolveLocale(const std::string& argument, const std::string& localeDirectory) {
    if (platform::isRegularFile(argument)) return argument;
    if (argument.find('/') != std::string::npos) return {};
    const std::string shipped = localeDirectory + "/" + argument + ".conf";
    return platform::isRegularFile(shipped) ? shipped : std::string();
}

}  // namespace morvane::cli

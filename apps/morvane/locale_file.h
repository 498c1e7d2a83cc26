// Translations of the dialog's texts for the host's localisation source: a UTF-8 text file of
// `KEY = text` lines; blank lines and lines starting with '#' are skipped.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace morvane::cli {

class LocaleTable {
  public:
    // Reads the file at `path`; false with the reason in `error` (the line that is wrong).
    bool read(const std::string& path, std::string& error);
    bool parse(std::string_view text, std::string& error);

    // The text for `key`, NUL-terminated and valid as long as the table; null when absent.
    const wchar_t* find(std::string_view key) const;
    std::size_t size() const { return texts_.size(); }

  private:
    std::map<std::string, std::wstring, std::less<>> texts_;
};

// A --locale argument as a file: an existing file as given, else NAME.conf in `localeDirectory`
// (so `--locale de` finds the German texts shipped with the host). Empty when neither exists.
std::string resolveLocale(const std::string& argument, const std::string& localeDirectory);

}  // namespace morvane::cli

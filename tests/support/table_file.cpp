#include "support/table_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/memory_program.h"

namespace morvane::test {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    std::string field = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return field;
}

}  // namespace

const std::string& TableRow::at(std::size_t i) const {
    static const std::string kNone;
    return i < fields.size() ? fields[i] : kNone;
}

std::vector<TableRow> readTable(const std::string& name) {
    std::vector<TableRow> rows;
    std::istringstream text(readFile(std::string(MORVANE_SOURCE_DIR) + "/tests/" + name));
    int number = 0;
    for (std::string line; std::getline(text, line);) {
        ++number;
        if (line.empty() || line.front() == '#') continue;
        TableRow row{name + ":" + std::to_string(number), {}};
        std::size_t start = 0;
        for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
            row.fields.push_back(trimmed(line.substr(start, bar - start)));
        row.fields.push_back(trimmed(line.substr(start)));
        rows.push_back(std::move(row));
    }
    EXPECT_FALSE(rows.empty()) << name << ": no case";
    return rows;
}

std::string unescaped(const std::string& field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const char next = field[++i];
        if (next == 'x' && i + 2 < field.size()) {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
            i += 2;
            continue;
        }
        text += next == 'n'   ? '\n'
                : next == 'r' ? '\r'
                : next == 't' ? '\t'
                : next == '0' ? '\0'
                              : next;
    }
    return text;
}

std::string replaced(std::string text, const std::string& name, const std::string& value) {
    for (std::size_t at = 0; (at = text.find(name, at)) != std::string::npos; at += value.size())
        text.replace(at, name.size(), value);
    return text;
}

bool matches(const std::string& text, const std::string& pattern) {
    const std::string any = "…";
    std::size_t at = 0, from = 0;
    for (std::size_t gap; (gap = pattern.find(any, from)) != std::string::npos;
         from = gap + any.size()) {
        const std::string part = pattern.substr(from, gap - from);
        const std::size_t found =
            from == 0 ? (text.starts_with(part) ? 0 : std::string::npos) : text.find(part, at);
        if (found == std::string::npos) return false;
        at = found + part.size();
    }
    const std::string last = pattern.substr(from);
    return from == 0 ? text == pattern : text.size() >= at + last.size() && text.ends_with(last);
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

}  // namespace morvane::test

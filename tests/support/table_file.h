// Test support: the case tables under tests/ (one case a row, fields separated by "|").
// A line starting with "#" is a comment, a blank line separates groups. Each field is trimmed;
// a field in double quotes keeps its blanks ("  " is two blanks, "" is empty).
#pragma once

#include <string>
#include <vector>

namespace morvane::test {

struct TableRow {
    std::string where;  // "file:line", for failure messages
    std::vector<std::string> fields;

    // Field `i`, or "" when the row is shorter.
    const std::string& at(std::size_t i) const;
};

// The rows of the table `name` under tests/ (e.g. "parsers/blocks.txt"). Fails the current test
// when the file cannot be read or holds no row.
std::vector<TableRow> readTable(const std::string& name);

// `field` with its escapes made bytes: \n a line feed, \r a carriage return, \t a tab, \0 a
// NUL byte, \xHH the byte HH; a backslash before any other character stands for that character.
std::string unescaped(const std::string& field);

// `text` with every `name` in it replaced by `value` (for the placeholders of a table).
std::string replaced(std::string text, const std::string& name, const std::string& value);

// `text` is `pattern`, in which "…" stands for any text (an expected text given in part).
bool matches(const std::string& text, const std::string& pattern);

// `text` split at blanks.
std::vector<std::string> splitWords(const std::string& text);

}  // namespace morvane::test

// Test support: composing expected NCI text line by line.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace morvane::test {

// The lines joined, each ended by a line feed.
inline std::string nciLines(std::initializer_list<std::string_view> text) {
    std::string all;
    for (std::string_view line : text)
        (all += line) += '\n';
    return all;
}

}  // namespace morvane::test

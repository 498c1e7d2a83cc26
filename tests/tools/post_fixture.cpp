#include "post_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "converter_file.h"
#include "post_session.h"

namespace morvane::test {

std::string nciOf(std::initializer_list<Record> records) {
    std::string text;
    for (const auto& [code, parameters] : records) {
        text += code;
        text += '\n';
        text += parameters;
        text += '\n';
    }
    return text;
}

post::PostSettings converter(std::string_view text) {
    std::string error;
    const auto file = post::parseConverterText(text, &error);
    EXPECT_TRUE(file.has_value()) << error;
    return file ? post::settingsFrom(*file) : post::PostSettings{};
}

std::string postWith(std::string_view sections, std::string_view nci) {
    return post::postProcessText(nci, converter("[converter]\n" + std::string(sections)));
}

namespace {

// A record line of a case: "code | parameters  # comment", or one raw line.
void appendRecord(std::string& nci, std::string_view line) {
    const std::size_t comment = line.find("  #");
    if (comment != std::string_view::npos) line = line.substr(0, comment);
    while (!line.empty() && line.back() == ' ')
        line.remove_suffix(1);
    const std::size_t bar = line.find(" |");
    if (bar == std::string_view::npos) {
        nci.append(line).append("\n");
        return;
    }
    std::string_view parameters = line.substr(bar + 2);
    if (!parameters.empty() && parameters.front() == ' ') parameters.remove_prefix(1);
    nci.append(line.substr(0, bar)).append("\n").append(parameters).append("\n");
}

}  // namespace

PostCase loadCase(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in.good()) << file;
    std::ostringstream whole;
    whole << in.rdbuf();
    const std::string text = whole.str();
    const std::size_t nciStart = text.find("--- nci\n");
    const std::size_t codeStart = text.find("--- nc\n");
    EXPECT_TRUE(nciStart != std::string::npos && codeStart > nciStart) << file;
    if (nciStart == std::string::npos || codeStart == std::string::npos) return {};
    PostCase c;
    c.code = text.substr(codeStart + 7);
    std::istringstream head(text.substr(0, codeStart));
    bool records = false;
    for (std::string line; std::getline(head, line);) {
        if (line == "--- nci") {
            records = true;
        } else if (!line.empty() && line.front() == '#') {
            continue;
        } else if (records) {
            appendRecord(c.nci, line);
        } else {
            c.converter += line + '\n';
        }
    }
    return c;
}

}  // namespace morvane::test

#include "post_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

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
    PostCase c;
    const std::string* part = &c.converter;
    for (std::string line; std::getline(in, line);) {
        if (part == &c.code) {
            c.code += line + '\n';
        } else if (line == "--- nci" || line == "--- nc") {
            part = line == "--- nci" ? &c.nci : &c.code;
        } else if (!line.empty() && line.front() != '#') {
            if (part == &c.nci)
                appendRecord(c.nci, line);
            else
                c.converter += line + '\n';
        }
    }
    EXPECT_TRUE(part == &c.code) << file << ": no \"--- nc\" line";
    return c;
}

}  // namespace morvane::test

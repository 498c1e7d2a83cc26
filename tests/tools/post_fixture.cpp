#include "post_fixture.h"

#include <gtest/gtest.h>

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

post::PostSettings converter(std::string_view sections) {
    std::string error;
    const auto file = post::parseConverterText("[converter]\n" + std::string(sections), &error);
    EXPECT_TRUE(file.has_value()) << error;
    return file ? post::settingsFrom(*file) : post::PostSettings{};
}

std::string postWith(std::string_view sections, std::string_view nci) {
    return post::postProcessText(nci, converter(sections));
}

}  // namespace morvane::test

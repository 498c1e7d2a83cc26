// The option store and the configuration string: insertion rules, escaping, parsing and the
// length limit of the encoded text.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "frontend/plugin_state.h"

namespace morvane {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const OptionMap& map) {
    return Entries(map.begin(), map.end());
}

OptionMap parsed(std::string_view text) {
    OptionMap config;
    parseConfigString(text, config);
    return config;
}

struct ParseCase {
    const char* text;
    Entries entries;
};

TEST(ConfigString, ParsesOnlyPiecesOfExactlyTwoParts) {
    const ParseCase cases[] = {
        {"", {}},
        {";", {}},
        {";;", {}},
        {"OutputToNCI=True;ResInNewWindow=False;",
         {{"OutputToNCI", "True"}, {"ResInNewWindow", "False"}}},
        {"A=1", {{"A", "1"}}},  // the last piece needs no separator
        {"A=1=2;B;C=;=D;", {{"", "D"}}},
        {"K=", {}},            // a key followed by "=" and nothing else is one part
        {"=", {}},             // likewise
        {"A==", {{"A", ""}}},  // two adjacent separators: "A" and an empty part
        {"==", {{"", ""}}},
        {"A=1;;B=2", {{"A", "1"}, {"B", "2"}}},
        {"A=1;A=2;", {{"A", "1"}}},  // a key already present keeps its value
        {"a\\EQb=c\\SCd;", {{"a=b", "c;d"}}},
        {"Path=C:\\a\\EQb\\SCc.conv;", {{"Path", "C:\\a=b;c.conv"}}},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(entriesOf(parsed(c.text)), c.entries) << c.text;
}

TEST(ConfigString, ParsingNeverReplacesAnExistingEntry) {
    OptionMap config{{"OutputToNCI", "True"}};
    parseConfigString("OutputToNCI=False;SelectionOnly=False;", config);
    EXPECT_EQ(entriesOf(config), (Entries{{"OutputToNCI", "True"}, {"SelectionOnly", "False"}}));
}

TEST(ConfigString, EscapesEqualsThenSemicolonAndNothingElse) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {"C:\\a=b;c.conv", "C:\\a\\EQb\\SCc.conv"},
        {"==;;", "\\EQ\\EQ\\SC\\SC"},
        {"\\", "\\"},
        {"\\EQ", "\\EQ"},  // an escape sequence in the text is left as it is ...
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(escapeConfigText(text), escaped) << text;
    // ... and so reads back as the character it stands for.
    EXPECT_EQ(unescapeConfigText("x\\EQy"), "x=y");
    EXPECT_EQ(unescapeConfigText("\\SC\\EQ"), ";=");
    EXPECT_EQ(unescapeConfigText("\\\\EQ"), "\\=");
    EXPECT_EQ(unescapeConfigText("\\S\\EQC"), "\\S=C");  // no "\SC" arises from an unescaped "="
}

TEST(ConfigString, WritesEntriesInKeyOrderEachEndedBySemicolon) {
    const OptionMap config{{"b", "2"}, {"A", ""}, {"a", "x=y"}, {"", "v"}};
    EXPECT_EQ(buildConfigString(config), "=v;A=;a=x\\EQy;b=2;");
    EXPECT_EQ(buildConfigString({}), "");
}

TEST(ConfigString, RoundTripsEveryByteValueExceptNul) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const OptionMap config{{"k" + one, one + "v" + one}, {"all", all}};
        EXPECT_EQ(entriesOf(parsed(buildConfigString(config))), entriesOf(config)) << "byte " << b;
    }
    const OptionMap tricky{{"p", "\\;=\\=;\\E=Q"}, {"\\", "\\"}, {"x;y", "=a="}};
    EXPECT_EQ(entriesOf(parsed(buildConfigString(tricky))), entriesOf(tricky));
}

TEST(ConfigString, LeavesOutAPieceThatWouldCrossTheLimit) {
    // "a=...;" has 5998 characters, "b=...;" 6003 (together past 12000), "c=z;" 4.
    const OptionMap config{
        {"a", std::string(5995, 'x')}, {"b", std::string(6000, 'y')}, {"c", "z"}};
    const std::string text = buildConfigString(config);
    EXPECT_EQ(text.size(), 5998u + 4u);
    EXPECT_EQ(text.substr(0, 2), "a=");
    EXPECT_EQ(text.substr(text.size() - 4), "c=z;");

    // A piece that fills the text exactly to the limit is kept.
    const OptionMap exact{{"a", std::string(kConfigStringLimit - 3, 'x')}, {"b", "1"}};
    EXPECT_EQ(buildConfigString(exact).size(), kConfigStringLimit);
    // Escaping counts: "=" takes three characters once escaped.
    const OptionMap escaped{{"a", std::string(4000, '=')}};
    EXPECT_EQ(buildConfigString(escaped), "");
    // A single enormous entry is left out whole.
    EXPECT_EQ(buildConfigString({{"huge", std::string(1 << 20, 'h')}}), "");
}

TEST(ConfigString, AHugeConfigurationFromTheHostStillWritesBackWithinTheLimit) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "Key" + std::to_string(i) + "=Value;";
    text += "Long=" + std::string(1 << 20, 'v') + ";";
    PluginState state;
    setOption(state, "PLUGIN_CONFIG", text);
    EXPECT_EQ(state.config.size(), 100001u);
    const std::string written = buildConfigString(state.config);
    EXPECT_LE(written.size(), kConfigStringLimit);
    EXPECT_GT(written.size(), kConfigStringLimit - 20);  // later short pieces fill the rest
    OptionMap back;
    parseConfigString(written, back);
    for (const auto& [key, value] : back)
        EXPECT_EQ(state.config.at(key), value);
}

TEST(OptionStore, SetOptionKeepsTheFirstValueUntilCleared) {
    PluginState state;
    setOption(state, "SELECTION", "False");
    setOption(state, "SELECTION", "True");
    setOption(state, "PLUGIN_CONFIG", "OutputToNCI=True;ResInNewWindow=False;");
    setOption(state, "PLUGIN_CONFIG", "OutputToNCI=False;");
    setOption(state, "PLUGIN_CONFIGX", "A=1;");  // not the configuration: an ordinary option
    EXPECT_EQ(entriesOf(state.options),
              (Entries{{"PLUGIN_CONFIGX", "A=1;"}, {"SELECTION", "False"}}));
    EXPECT_EQ(entriesOf(state.config),
              (Entries{{"OutputToNCI", "True"}, {"ResInNewWindow", "False"}}));

    clearOptions(state);
    EXPECT_TRUE(state.options.empty());
    EXPECT_TRUE(state.config.empty());
    setOption(state, "PLUGIN_CONFIG", "OutputToNCI=False;");
    EXPECT_EQ(entriesOf(state.config), (Entries{{"OutputToNCI", "False"}}));
}

}  // namespace
}  // namespace morvane

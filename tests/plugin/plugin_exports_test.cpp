// The plug-in driven through its nine exports by a recording host, as a host editor drives it:
// libmorvane.so with the post-processor libraries and converter files of this build (the test
// program lives in bin/, beside Dll/ and Converters/).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "recording_host.h"

namespace morvane::testhost {
namespace {

const std::string kConverters = std::string(MORVANE_BINARY_DIR) + "/bin/Converters/";

// Scripts of the usual runs.
constexpr const char* kNciToNci =
    "select NCI; check IDC_CONVERT_NCI; check IDC_LONGHAND_CYCLES; click IDOK";

class PluginExports : public testing::Test {
  protected:
    void SetUp() override { TeskPlugin_ClearOptions(); }
    void TearDown() override { TeskPlugin_ClearOptions(); }
};

TEST_F(PluginExports, NciLinesComeBackUnchangedThenTheConfiguration) {
    const std::vector<std::string> program = {"1005", "",     "first comment", "",
                                              "",     "1003", "0 0 0 "};
    RecordingHost host(program);
    host.attach();
    ASSERT_EQ(host.perform(kNciToNci), 1);

    std::vector<HostEvent> expected = {propertyEvent("SELECTION_ONLY", "true"),
                                       propertyEvent("UseLonghandCycles", "true")};
    for (const std::string& line : program)
        expected.push_back(lineEvent(line));
    expected.push_back(propertyEvent(
        "PLUGIN_CONFIG",
        "OutputToNCI=True;ResInNewWindow=False;SelectionOnly=True;UseLonghandCycles=True;"));
    EXPECT_EQ(host.events(), expected);
    EXPECT_EQ(host.badLengths(), 0);
    EXPECT_EQ(host.lineCountRequests(), 1);
    EXPECT_EQ(host.lineRequests(), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(PluginExports, PostProcessingThroughThePostProcessorLibraries) {
    RecordingHost host({"1050", "0 0 0 0 0 0 0 0 1", "0", "0 1 2 3 -2 0", "1003", "0 0 0"});
    host.attach();
    host.perform("file " + kConverters + "Fanuc.conv; click IDC_BROWSE; select NCI; click IDOK");
    EXPECT_EQ(host.resultLines(),
              (std::vector<std::string>{"%", "O1000 (NCI)", "N10 G90 G17 G40 G80 G21", "N20 G0 X1. Y2. Z3.", "M30", "%"}));
    EXPECT_EQ(host.property("PLUGIN_CONFIG"),
              "OutputToNCI=False;PostProcessor=" + kConverters +
                  "Fanuc.conv;ResInNewWindow=False;SelectionOnly=True;UseLonghandCycles=False;");
    EXPECT_FALSE(host.property("UseLonghandCycles").has_value());
}

TEST_F(PluginExports, CancelSendsNothing) {
    const char* scripts[] = {"", "click IDCANCEL", "check IDC_CONVERT_NCI", "click IDOK",
                             "check IDC_CONVERT_NCI; click IDCANCEL; click IDOK"};
    for (const char* script : scripts) {
        RecordingHost host({"1003", "0 0 0"});
        host.attach();
        EXPECT_EQ(host.perform(script), 1);
        EXPECT_TRUE(host.events().empty()) << script;
        EXPECT_EQ(host.lineCountRequests(), 0) << script;
    }
}

TEST_F(PluginExports, ASecondLineSourceReplacesTheFirst) {
    RecordingHost first({"first"});
    RecordingHost second({"second"});
    first.attach();
    TeskPlugin_attatchLineSource(second.lineSource());
    first.perform(kNciToNci);
    EXPECT_EQ(first.resultLines(), (std::vector<std::string>{"second"}));
    EXPECT_EQ(second.lineCountRequests(), 1);
    EXPECT_EQ(first.lineCountRequests(), 0);
}

TEST_F(PluginExports, SelectionOptionDisablesSelectionOnly) {
    RecordingHost host({"x"});
    host.attach();
    TeskPlugin_SetOption("SELECTION", "False");
    TeskPlugin_SetOption("PLUGIN_CONFIG", "SelectionOnly=True;");
    // The disabled box ignores the check.
    host.perform("check IDC_SELECTION_ONLY; " + std::string(kNciToNci));
    EXPECT_EQ(host.property("SELECTION_ONLY"), "false");
}

TEST_F(PluginExports, LocalisationAsksForEveryKeyOfTheDialog) {
    RecordingHost host({"x"});
    host.setTranslations({{"OK", L"Weiter"}});
    host.attach(true);
    host.perform("click IDCANCEL");
    EXPECT_EQ(host.translationRequests(),
              (std::vector<std::string>{
                  "NCTESKPLUGIN_MORVANE_TITLE", "NCTESKPLUGIN_MORVANE_CHOOSE_FORMAT",
                  "NCTESKPLUGIN_MORVANE_CHOOSE_CONVERTER", "NCTESKPLUGIN_MORVANE_CONVERT_NCI",
                  "QUORLAB_TONEWWINDOW", "OK", "CANCEL", "NCTESKPLUGIN_MORVANE_SELECTION_ONLY",
                  "NCTESKPLUGIN_MORVANE_USELONGHANDCYCLES"}));
}

TEST_F(PluginExports, ANonAsciiConverterPathSurvivesTheConfiguration) {
    // The converter is chosen in one action and restored from the configuration in the next.
    const std::string dir = std::string(MORVANE_BINARY_DIR) + "/test-converters";
    // A script cannot carry ";" (it separates actions); "=" is escaped in the configuration.
    const std::string path = dir + "/Fräse Ø6 =.conv";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(kConverters + "Fanuc-longhand.conv", path,
                               std::filesystem::copy_options::overwrite_existing);
    RecordingHost host({"1003", "0 0 0"});
    host.attach();
    host.perform("file " + path + "; click IDC_BROWSE; click IDCANCEL");
    EXPECT_TRUE(host.events().empty());  // browsing alone tells the host nothing
    host.perform("select NCI; click IDOK");
    const auto config = host.property("PLUGIN_CONFIG");
    ASSERT_TRUE(config.has_value());
    EXPECT_NE(config->find("PostProcessor=" + dir + "/Fräse Ø6 \\EQ.conv;"), std::string::npos);
    const std::vector<std::string> program{"%", "O1000 (NCI)", "N10 G90 G17 G40 G80 G21", "M30", "%"};
    EXPECT_EQ(host.resultLines(), program);

    TeskPlugin_ClearOptions();
    TeskPlugin_SetOption("PLUGIN_CONFIG", config->c_str());
    host.clearEvents();
    host.perform("select NCI; click IDOK");  // OK is enabled only by the restored converter
    EXPECT_EQ(host.resultLines(), program);
    EXPECT_EQ(host.property("PLUGIN_CONFIG"), config);
}

}  // namespace
}  // namespace morvane::testhost

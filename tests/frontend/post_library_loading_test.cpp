// The driver's failure rows with real libraries loaded from a host directory of the test's own
// (<scratch>/Dll), through the platform's services.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_services.h"
#include "frontend/conversion_driver.h"
#include "host_recorder.h"
#include "platform/platform_services.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;
using testhost::HostEvent;
using testhost::HostRecorder;
using testhost::lineEvent;
using testhost::propertyEvent;

struct LoadingCase {
    const char* situation;
    const char* reader;  // the file installed as Dll/MorvaneNCIReader.so; null for none
    const char* post;    // the file installed as Dll/MorvanePost.so; null for none
    bool toNci;
    std::vector<HostEvent> events;
};

TEST(PostLibraryLoading, FailureRowsWithRealLibraries) {
    const HostEvent selection = propertyEvent("SELECTION_ONLY", "true");
    const HostEvent newWindow = propertyEvent("RESULT_IN_NEW_WINDOW", "true");
    const auto config = [](const char* text) { return propertyEvent("PLUGIN_CONFIG", text); };
    const char* const finished = "OutputToNCI=;ResInNewWindow=True;SelectionOnly=True;";
    const LoadingCase cases[] = {
        {"no Dll directory", nullptr, nullptr, true, {selection, newWindow, config(finished)}},
        {"post library missing",
         STAND_IN_READER,
         nullptr,
         true,
         {selection, newWindow, config(finished)}},
        {"reader is not a library",
         TEXT_FILE,
         STAND_IN_POST,
         true,
         {selection, newWindow, config(finished)}},
        {"reader without entry points",
         ODD_NO_ENTRIES,
         STAND_IN_POST,
         true,
         {selection, lineEvent("1003"), lineEvent("0 0 0"), newWindow,
          config(
              "OutputToNCI=True;ResInNewWindow=True;SelectionOnly=True;UseLonghandCycles=False;")}},
        {"null table", ODD_NULL_TABLE, STAND_IN_POST, true, {selection}},
        {"NCIConverter missing",
         ODD_NO_CONVERTER,
         STAND_IN_POST,
         false,
         {selection, newWindow,
          config("OutputToNCI=False;ResInNewWindow=True;SelectionOnly=True;UseLonghandCycles="
                 "False;")}},
        {"post-processor libraries (an ISO program: start, end)",
         STAND_IN_READER,
         STAND_IN_POST,
         false,
         {selection, lineEvent("%"), lineEvent("M30"), lineEvent("%"), newWindow,
          config("OutputToNCI=False;ResInNewWindow=True;SelectionOnly=True;UseLonghandCycles="
                 "False;")}},
    };
    for (const LoadingCase& c : cases) {
        SCOPED_TRACE(c.situation);
        ScratchDirectory hostDir;
        ScratchDirectory tmp;
        ::setenv("TMPDIR", tmp.path().c_str(), 1);
        if (c.reader != nullptr) {
            fs::create_directories(hostDir.path() / "Dll");
            fs::copy_file(c.reader, hostDir.path() / "Dll" / "MorvaneNCIReader.so");
        }
        if (c.post != nullptr) fs::copy_file(c.post, hostDir.path() / "Dll" / "MorvanePost.so");
        const std::string converter =
            hostDir.write("Converters/Longhand.conv", "[converter]\n[cycles]\n");

        HostRecorder host({"1003", "0 0 0"});
        PluginState state;
        state.config = {{"OutputToNCI", ""}};
        state.lineSource = host.lineSource();
        state.resultStream = host.resultStream();
        platform::PlatformServices services(hostDir.path().string());
        PostEntryPoints entries;
        ConversionChoices choices;
        choices.formatPosition = kNciFormatPosition;
        choices.convertToNci = c.toNci;
        choices.resultInNewWindow = true;
        choices.converterPath = converter;
        ConversionDriver(state, services, entries).run(choices);
        EXPECT_EQ(host.events(), c.events);

        // Nothing but the two temporary files was written, both in the temporary directory.
        std::vector<std::string> made;
        for (const auto& entry : fs::directory_iterator(tmp.path()))
            made.push_back(entry.path().filename().string());
        EXPECT_EQ(made.size(), 2u);
        for (const std::string& name : made) {
            EXPECT_TRUE(name.starts_with("NEW") && name.ends_with(".tmp")) << name;
            const auto perms = fs::status(tmp.path() / name).permissions();
            EXPECT_EQ(perms & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
        }
        ::unsetenv("TMPDIR");
    }
}

}  // namespace
}  // namespace morvane::test

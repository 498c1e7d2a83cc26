// What the plug-in tells the host during a conversion: properties, result lines and the
// configuration string, all through the host's result stream.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"
#include "frontend/plugin_state.h"

namespace morvane {

class SystemServices;

// Null-safe: with no stream, or a stream without the function needed, a call does nothing.
class HostOutput {
  public:
    explicit HostOutput(ResultStream* stream) : stream_(stream) {}

    void setProperty(std::string_view name, std::string_view value);
    // One result line, without terminator.
    void writeLine(std::string_view text);
    // Sends the lines of the file at `path`, one writeLine per line: a carriage return before a
    // line feed is dropped, a last line without a line feed counts, an empty file sends nothing.
    // Nothing is sent when no file exists at `path`.
    void sendFile(SystemServices& services, const std::string& path);
    // The "PLUGIN_CONFIG" property with the configuration string built from `config`.
    void sendConfiguration(const OptionMap& config);

  private:
    // Hands a NUL-terminated line to the host; the stream and its writeLine are present.
    void sendLine(const char* text, std::size_t size);

    ResultStream* stream_;
    std::string scratch_;           // NUL-terminated copies handed to the host
    std::vector<char> readBuffer_;  // sendFile's reads, reused
};

}  // namespace morvane

// The host's side of the plug-in interface, for tests and tools: serves a program held in memory,
// records every line and property the plug-in sends, and optionally translates keys. It calls
// nothing of the plug-in (see RecordingHost for that), so the front end's tests can hand its
// records to a PluginState directly.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"

namespace morvane::testhost {

struct HostEvent {
    enum class Kind { Line, Property };
    Kind kind;
    std::string name;  // property name; empty for a line
    std::string text;  // the line, or the property's value
    bool operator==(const HostEvent&) const = default;
    // "line: TEXT" or "property: NAME = VALUE", as test failures print it.
    friend std::ostream& operator<<(std::ostream& out, const HostEvent& event) {
        if (event.kind == Kind::Line) return out << "line: " << event.text;
        return out << "property: " << event.name << " = " << event.text;
    }
};

HostEvent lineEvent(std::string text);
HostEvent propertyEvent(std::string name, std::string value);

// Splits a program text into lines: at line feeds, a carriage return before a line feed
// dropped, a last line without a line feed kept, no empty line after a final line feed.
std::vector<std::string> splitProgramLines(std::string_view text);

class HostRecorder {
  public:
    explicit HostRecorder(std::vector<std::string> lines = {});
    HostRecorder(const HostRecorder&) = delete;
    HostRecorder& operator=(const HostRecorder&) = delete;

    void setLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
    // Keys the localisation source answers (others get a null text).
    void setTranslations(std::map<std::string, std::wstring, std::less<>> texts) {
        translations_ = std::move(texts);
    }

    // The host records; they stay valid as long as the recorder.
    LineSource* lineSource() { return &lineSource_; }
    ResultStream* resultStream() { return &resultStream_; }
    LocalizeSource* localizeSource() { return &localizeSource_; }

    const std::vector<HostEvent>& events() const { return events_; }
    void clearEvents() { events_.clear(); }
    // The result lines received, in order.
    std::vector<std::string> resultLines() const;
    // The last value received for `name`.
    std::optional<std::string> property(std::string_view name) const;
    // Every key the plug-in asked to translate, in order.
    const std::vector<std::string>& translationRequests() const { return translationRequests_; }
    // Every line index the plug-in asked for, in order, and how often it asked for the count.
    const std::vector<std::int32_t>& lineRequests() const { return lineRequests_; }
    int lineCountRequests() const { return lineCountRequests_; }
    // Lines whose text was null or not NUL-terminated at the length given.
    int badLengths() const { return badLengths_; }

    // The events as text, one a line: "line: TEXT" or "property: NAME = VALUE".
    std::string report() const;

  private:
    static std::int32_t getLineCount(void* context, std::int32_t* count);
    static std::int32_t getLine(void* context, std::int32_t index, const char** text);
    static std::int32_t writeLine(void* context, const char* text, std::int32_t length);
    static std::int32_t setProperty(void* context, const char* name, const char* value);
    static std::int32_t translate(void* context, const char* key, const wchar_t** text);

    std::vector<std::string> lines_;
    std::map<std::string, std::wstring, std::less<>> translations_;
    std::vector<HostEvent> events_;
    std::vector<std::string> translationRequests_;
    std::vector<std::int32_t> lineRequests_;
    int lineCountRequests_ = 0;
    int badLengths_ = 0;
    LineSource lineSource_;
    ResultStream resultStream_;
    LocalizeSource localizeSource_;
};

}  // namespace morvane::testhost

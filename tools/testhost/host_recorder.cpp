#include "host_recorder.h"

namespace morvane::testhost {

HostEvent lineEvent(std::string text) {
    return {HostEvent::Kind::Line, {}, std::move(text)};
}

HostEvent propertyEvent(std::string name, std::string value) {
    return {HostEvent::Kind::Property, std::move(name), std::move(value)};
}

std::vector<std::string> splitProgramLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

HostRecorder::HostRecorder(std::vector<std::string> lines)
    : lines_(std::move(lines)),
      lineSource_{this, &getLineCount, &getLine},
      resultStream_{this, &writeLine, &setProperty},
      localizeSource_{this, &translate} {}

std::vector<std::string> HostRecorder::resultLines() const {
    std::vector<std::string> lines;
    for (const HostEvent& event : events_)
        if (event.kind == HostEvent::Kind::Line) lines.push_back(event.text);
    return lines;
}

std::optional<std::string> HostRecorder::property(std::string_view name) const {
    std::optional<std::string> value;
    for (const HostEvent& event : events_)
        if (event.kind == HostEvent::Kind::Property && event.name == name) value = event.text;
    return value;
}

std::string HostRecorder::report() const {
    std::string text;
    for (const HostEvent& event : events_) {
        if (event.kind == HostEvent::Kind::Line) {
            text.append("line: ").append(event.text);
        } else {
            text.append("property: ").append(event.name).append(" = ").append(event.text);
        }
        text += '\n';
    }
    return text;
}

std::int32_t HostRecorder::getLineCount(void* context, std::int32_t* count) {
    auto* self = static_cast<HostRecorder*>(context);
    ++self->lineCountRequests_;
    if (count != nullptr) *count = static_cast<std::int32_t>(self->lines_.size());
    return 1;
}

std::int32_t HostRecorder::getLine(void* context, std::int32_t index, const char** text) {
    auto* self = static_cast<HostRecorder*>(context);
    self->lineRequests_.push_back(index);
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < self->lines_.size();
    if (text != nullptr)
        *text = inside ? self->lines_[static_cast<std::size_t>(index)].c_str() : nullptr;
    return 1;
}

std::int32_t HostRecorder::writeLine(void* context, const char* text, std::int32_t length) {
    auto* self = static_cast<HostRecorder*>(context);
    if (text == nullptr || length < 0 || text[length] != '\0') ++self->badLengths_;
    const std::size_t size = text == nullptr || length < 0 ? 0 : static_cast<std::size_t>(length);
    self->events_.push_back(lineEvent(std::string(text == nullptr ? "" : text, size)));
    return 1;
}

std::int32_t HostRecorder::setProperty(void* context, const char* name, const char* value) {
    auto* self = static_cast<HostRecorder*>(context);
    self->events_.push_back(
        propertyEvent(name != nullptr ? name : "", value != nullptr ? value : ""));
    return 1;
}

std::int32_t HostRecorder::translate(void* context, const char* key, const wchar_t** text) {
    auto* self = static_cast<HostRecorder*>(context);
    self->translationRequests_.emplace_back(key != nullptr ? key : "");
    const auto it = key != nullptr ? self->translations_.find(key) : self->translations_.end();
    if (text != nullptr) *text = it != self->translations_.end() ? it->second.c_str() : nullptr;
    return 1;
}

}  // namespace morvane::testhost

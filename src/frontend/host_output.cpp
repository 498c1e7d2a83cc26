#include "frontend/host_output.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>

#include "frontend/system_services.h"

namespace morvane {

void HostOutput::setProperty(std::string_view name, std::string_view value) {
    if (stream_ == nullptr || stream_->setProperty == nullptr) return;
    const std::string nameText(name);
    const std::string valueText(value);
    stream_->setProperty(stream_->context, nameText.c_str(), valueText.c_str());
}

void HostOutput::writeLine(std::string_view text) {
    if (stream_ == nullptr || stream_->writeLine == nullptr) return;
    scratch_.assign(text);
    // A line is never near 2 GiB in practice; the length field cannot say more.
    constexpr std::size_t kMaxLength = std::numeric_limits<std::int32_t>::max();
    const auto length = static_cast<std::int32_t>(std::min(scratch_.size(), kMaxLength));
    stream_->writeLine(stream_->context, scratch_.c_str(), length);
}

void HostOutput::sendFile(SystemServices& services, const std::string& path) {
    if (!services.fileExists(path)) return;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (file == nullptr) return;
    std::string line;
    char chunk[1 << 16];
    const auto flushLine = [this, &line] {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        writeLine(line);
        line.clear();
    };
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        std::string_view rest(chunk, got);
        for (std::size_t feed = rest.find('\n'); feed != std::string_view::npos;
             feed = rest.find('\n')) {
            line.append(rest.substr(0, feed));
            flushLine();
            rest.remove_prefix(feed + 1);
        }
        line.append(rest);
    }
    // Only a carriage return that stands before a line feed is dropped.
    if (!line.empty()) writeLine(line);
}

void HostOutput::sendConfiguration(const OptionMap& config) {
    setProperty(kPluginConfigName, buildConfigString(config));
}

}  // namespace morvane

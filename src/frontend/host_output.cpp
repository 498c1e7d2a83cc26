#include "frontend/host_output.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "frontend/system_services.h"
#include "nci/line_feeds.h"

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
    sendLine(scratch_.c_str(), scratch_.size());
}

void HostOutput::sendFile(SystemServices& services, const std::string& path) {
    if (!services.fileExists(path)) return;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (file == nullptr || stream_ == nullptr || stream_->writeLine == nullptr) return;
    // Large reads into one buffer; each line is handed to the host in place, its line feed (or
    // the carriage return before it) overwritten by the NUL that ends the host's text. A line
    // cut by the end of the buffer moves to its front before the next read; a line longer than
    // the buffer doubles it.
    constexpr std::size_t kInitialBuffer = std::size_t{1} << 20;
    if (readBuffer_.size() < kInitialBuffer) readBuffer_.resize(kInitialBuffer);
    std::size_t filled = 0;  // bytes in the buffer, the first of them the start of a line
    for (;;) {
        if (filled + 1 >= readBuffer_.size()) readBuffer_.resize(readBuffer_.size() * 2);
        // One byte stays free for the NUL of a last line without a line feed.
        const std::size_t got =
            std::fread(readBuffer_.data() + filled, 1, readBuffer_.size() - filled - 1, file.get());
        if (got == 0) break;
        char* const data = readBuffer_.data();
        const std::size_t end = filled + got;
        std::size_t start = 0;
        // The search goes on from the new bytes: the old ones hold no line feed.
        forEachLineFeed(data + filled, got, [&](std::size_t offset) {
            char* const feed = data + filled + offset;
            char* stop = feed;
            if (stop > data + start && stop[-1] == '\r') --stop;
            *stop = '\0';
            sendLine(data + start, static_cast<std::size_t>(stop - (data + start)));
            start = static_cast<std::size_t>(feed + 1 - data);
        });
        filled = end - start;
        std::memmove(data, data + start, filled);
    }
    // Only a carriage return that stands before a line feed is dropped.
    if (filled > 0) {
        readBuffer_[filled] = '\0';
        sendLine(readBuffer_.data(), filled);
    }
}

void HostOutput::sendLine(const char* text, std::size_t size) {
    // A line is never near 2 GiB in practice; the length field cannot say more.
    constexpr std::size_t kMaxLength = std::numeric_limits<std::int32_t>::max();
    stream_->writeLine(stream_->context, text,
                       static_cast<std::int32_t>(std::min(size, kMaxLength)));
}

void HostOutput::sendConfiguration(const OptionMap& config) {
    setProperty(kPluginConfigName, buildConfigString(config));
}

}  // namespace morvane

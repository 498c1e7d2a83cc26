// The post library (Dll/MorvanePost.so): turns the records the reader library hands over into
// the NC code of the control its converter file describes.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "morvane/plugin_api.h"
#include "post_interface.h"
#include "post_session.h"
#include "record_transfer.h"

namespace {

using morvane::post::NciRecord;
using morvane::post::OutputBuffer;
using morvane::post::PostSession;
using morvane::post::PostSettings;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Everything one conversion owns, released by MorvanePost_End.
struct Session {
    Session(PostSettings s, std::FILE* f, std::string result)
        : settings(std::move(s)), file(f), out(f), post(settings, out),
          resultPath(std::move(result)) {}
    PostSettings settings;
    std::unique_ptr<std::FILE, FileCloser> file;
    OutputBuffer out;
    PostSession post;
    NciRecord record;
    std::string resultPath;
};

// The warnings beside the result (result path + ".warnings"), for Morvane's conversion to report;
// none when there are none.
bool writeWarnings(const Session& s) {
    if (s.post.warnings().empty()) return true;
    const std::string text = s.post.warnings().sideFileText();
    const std::string path = s.resultPath + ".warnings";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

extern "C" {

MORVANE_EXPORT void* MorvanePost_Begin(const char* resultPath, const char* converterPath) {
    try {
        if (resultPath == nullptr) return nullptr;
        const auto converter = morvane::post::readConverterFile(converterPath);
        if (!converter) return nullptr;
        std::FILE* file = std::fopen(resultPath, "wb");
        if (file == nullptr) return nullptr;
        return new Session(morvane::post::settingsFrom(*converter), file, resultPath);
    } catch (...) {
        return nullptr;
    }
}

MORVANE_EXPORT int32_t MorvanePost_Record(void* session, const MorvaneNciRecord* record) {
    if (session == nullptr || record == nullptr) return 0;
    try {
        auto* s = static_cast<Session*>(session);
        morvane::post::fromTransfer(*record, s->record);
        s->post.record(s->record);
        return 1;
    } catch (...) {
        return 0;
    }
}

MORVANE_EXPORT int32_t MorvanePost_End(void* session) {
    if (session == nullptr) return 0;
    std::unique_ptr<Session> s(static_cast<Session*>(session));
    try {
        s->post.finish();
        s->out.flush();
        // The result is whole only when its last bytes reached the file: closing flushes them.
        const bool closed = std::fclose(s->file.release()) == 0;
        return !s->out.failed() && closed && writeWarnings(*s) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"

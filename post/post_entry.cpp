// The post library (Dll/MorvanePost.so): turns the records the reader library hands over into
// the NC code of the control its converter file describes.
#include <cstdint>
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

// Everything one conversion owns, released by MorvanePost_End.
struct Session {
    Session(PostSettings s, std::string result)
        : settings(std::move(s)), out(file), post(settings, out), resultPath(std::move(result)) {}
    PostSettings settings;
    morvane::BufferedFile file;
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
    morvane::BufferedFile file;
    if (!file.open(path)) return false;
    file.write(text);
    return file.close();
}

}  // namespace

extern "C" {

MORVANE_EXPORT void* MorvanePost_Begin(const char* resultPath, const char* converterPath) {
    try {
        if (resultPath == nullptr) return nullptr;
        const auto converter = morvane::post::readConverterFile(converterPath);
        if (!converter) return nullptr;
        auto s = std::make_unique<Session>(morvane::post::settingsFrom(*converter), resultPath);
        if (!s->file.open(resultPath)) return nullptr;
        return s.release();
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
        // The result is whole only when its last bytes reached the file: closing writes them.
        const bool closed = s->file.close();
        return closed && writeWarnings(*s) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"

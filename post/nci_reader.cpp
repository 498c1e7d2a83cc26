// The reader library (Dll/MorvaneNCIReader.so): answers the plug-in's questions about a
// converter file, and converts an NCI program by reading it record by record and handing each
// record to the post library it is given.
#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "converter_file.h"
#include "line_reader.h"
#include "morvane/post_api.h"
#include "nci_record_reader.h"
#include "post_interface.h"
#include "record_transfer.h"

namespace {

using morvane::post::kMaxCyclePatterns;

// The answer of the last GetSupportedCycles; it stays valid until the next call. A fixed table
// so that even a converter with no native cycle gets a non-null answer.
std::array<PostCycleRecord, kMaxCyclePatterns> gTable{};
std::int32_t gCount = 0;

PostCycleRecord toRecord(const morvane::post::CyclePattern& pattern) {
    PostCycleRecord record{};
    record.first = pattern.fields.front();
    for (std::size_t i = 0; i < std::size(record.values); ++i)
        record.values[i] = pattern.fields[i + 1];
    record.second = pattern.fields.back();
    return record;
}

// The post library by its absolute path (a bare name would be searched along the library path).
// The post-processor is a product of its own: it loads its sibling itself, without Morvane's
// platform layer.
void* loadPostLibrary(const char* path) {
    if (path[0] != '/') return nullptr;
    return ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

template <typename Fn>
Fn entryPoint(void* library, const char* name) {
    void* entry = library != nullptr ? ::dlsym(library, name) : nullptr;
    Fn fn = nullptr;
    static_assert(sizeof fn == sizeof entry);
    if (entry != nullptr) std::memcpy(&fn, &entry, sizeof fn);
    return fn;
}

struct PostEntries {
    MorvanePostBeginFn begin = nullptr;
    MorvanePostRecordFn record = nullptr;
    MorvanePostEndFn end = nullptr;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Ends the post library's session however the conversion leaves, so that its result file is
// closed and its memory freed.
class PostRun {
  public:
    PostRun(const PostEntries& post, void* session) : post_(post), session_(session) {}
    ~PostRun() {
        if (session_ != nullptr) post_.end(session_);
    }
    PostRun(const PostRun&) = delete;
    PostRun& operator=(const PostRun&) = delete;

    void record(const MorvaneNciRecord& record) { post_.record(session_, &record); }
    std::int32_t finish() {
        void* session = session_;
        session_ = nullptr;
        return post_.end(session);
    }

  private:
    const PostEntries& post_;
    void* session_;
};

}  // namespace

extern "C" {

MORVANE_EXPORT int32_t MORVANE_CALL GetSupportedCycles(const char* converterPath,
                                                       const char* /*postLibraryPath*/,
                                                       PostCycleRecord** table, int32_t** count) {
    try {
        gCount = 0;
        if (table != nullptr) *table = nullptr;
        if (count != nullptr) *count = &gCount;
        const auto converter = morvane::post::readConverterFile(converterPath);
        if (!converter) return 0;
        for (const auto& pattern : converter->cycles)
            gTable[static_cast<std::size_t>(gCount++)] = toRecord(pattern);
        if (table != nullptr) *table = gTable.data();
        return 1;
    } catch (...) {
        return 0;
    }
}

MORVANE_EXPORT int32_t MORVANE_CALL NCIConverter(const char* nciPath, const char* resultPath,
                                                 const char* converterPath,
                                                 const char* postLibraryPath) {
    try {
        if (nciPath == nullptr || resultPath == nullptr || postLibraryPath == nullptr) return 0;
        if (!morvane::post::readConverterFile(converterPath)) return 0;
        void* library = loadPostLibrary(postLibraryPath);
        PostEntries post;
        post.begin = entryPoint<MorvanePostBeginFn>(library, MORVANE_POST_BEGIN_ENTRY);
        post.record = entryPoint<MorvanePostRecordFn>(library, MORVANE_POST_RECORD_ENTRY);
        post.end = entryPoint<MorvanePostEndFn>(library, MORVANE_POST_END_ENTRY);
        if (post.begin == nullptr || post.record == nullptr || post.end == nullptr) return 0;

        std::unique_ptr<std::FILE, FileCloser> nci(std::fopen(nciPath, "rb"));
        if (nci == nullptr) return 0;
        void* session = post.begin(resultPath, converterPath);
        if (session == nullptr) return 0;
        PostRun run(post, session);
        morvane::post::LineReader lines(nci.get());
        morvane::post::NciRecordReader reader(lines);
        morvane::post::NciRecord record;
        while (reader.next(record))
            run.record(morvane::post::toTransfer(record));
        return run.finish() != 0 && !lines.failed() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"

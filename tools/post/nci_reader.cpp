// The reader library (Dll/MorvaneNCIReader.so): answers the plug-in's questions about a
// converter file and hands conversions on to the post library it is given.
#include <array>
#include <cstdint>
#include <cstring>

#include "converter_file.h"
#include "morvane/post_api.h"
#include "platform/shared_library.h"
#include "post_interface.h"

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
        void* post = morvane::platform::loadLibrary(postLibraryPath);
        void* entry = morvane::platform::findSymbol(post, MORVANE_POST_CONVERT_ENTRY);
        if (entry == nullptr) return 0;
        MorvanePostConvertFn convert = nullptr;
        static_assert(sizeof convert == sizeof entry);
        std::memcpy(&convert, &entry, sizeof convert);
        return convert(nciPath, resultPath, converterPath);
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
